#include "qt/MainWindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include "qt/OptionsDialog.h"
#include "qt/ScoreGrid.h"
#include "qt/UiText.h"

namespace quintaro {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
    }
}

// The green frame of a die the coach's hint says to hold; the style sheet draws it.
void setHintFrame(QPushButton* button, bool framed) {
    button->setProperty("hint", framed);
    button->style()->unpolish(button);
    button->style()->polish(button);
    button->update();
}

}  // namespace

MainWindow::MainWindow(const GameState& state, const WindowTexts& texts, WindowEvents& events,
                       QWidget* parent)
    : QMainWindow(parent), events_(events) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowFlags(closeBoxOnly);

    setWindowTitle(toQString(texts.title));
    buildMenuBar(texts);

    auto* client = new QWidget(this);
    setCentralWidget(client);

    const MainWindowLayout layout = mainWindowLayout(state.playerCount);
    scoreCard_ = new ScoreGrid(layout, client);
    scoreCard_->setGeometry(toQRect(layout.scoreCard));
    for (int p = 1; p <= state.playerCount; ++p) {
        scoreCard_->setHorizontalHeaderItem(
            p, new QTableWidgetItem(toQString(state.playerNames[std::size_t(p)])));
    }
    for (const std::string& label : texts.rowLabels) {
        scoreCard_->appendRow(toQString(label));
    }
    scoreCard_->setRowColour(totalRow, fixedRowColour);
    scoreCard_->setRowColour(bonusRow, fixedRowColour);

    rollButton_ = new QPushButton(toQString(texts.roll), client);
    rollButton_->setFont(guiFont());
    rollButton_->setGeometry(toQRect(layout.rollButton));
    rollButton_->setAutoDefault(false);

    turnLabel_ = new QLabel(toQString(state.playerNames[1]), client);
    turnLabel_->setFont(guiFont());
    turnLabel_->setTextFormat(Qt::PlainText);
    turnLabel_->setGeometry(toQRect(layout.turnLabel));

    for (int number = 1; number <= 5; ++number) {
        auto* button = new QPushButton(client);
        button->setFont(diceFont());
        button->setCheckable(true);
        button->setAutoDefault(false);
        // A held die must be told apart at a glance from one that will be rolled again.
        // The coach's hint frames the dice to hold in green.
        button->setStyleSheet(
            QStringLiteral(
                "QPushButton:checked { background-color: #c6d6ee; border: 2px solid #3d5f92;"
                " border-radius: 3px; }"
                "QPushButton[hint=\"true\"] { border: %1px solid #1f8a3b; border-radius: 3px; }"
                "QPushButton[hint=\"true\"]:checked { background-color: #c6d6ee; }")
                .arg(layout.hintFrameWidth));
        button->setGeometry(toQRect(layout.dice[std::size_t(number - 1)]));
        dice_[std::size_t(number - 1)] = button;
    }
    handLabel_ = new QLabel(client);
    handLabel_->setFont(diceFont());
    handLabel_->setTextFormat(Qt::PlainText);
    handLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    handLabel_->setGeometry(toQRect(layout.handLabel));

    board_ = std::make_unique<WidgetBoard>(
        WidgetBoard::Widgets{this, scoreCard_, dice_, rollButton_, turnLabel_, handLabel_});
    board_->setAccessibleTexts(texts.accessible);

    for (int number = 1; number <= 5; ++number) {
        QPushButton* button = dice_[std::size_t(number - 1)];
        connect(button, &QPushButton::toggled, this, [this, number] {
            board_->refreshDie(number);
            clearHint();
        });
    }
    // Keys of play reach the game whichever control has the focus.
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(scoreCard_),
                            scoreCard_->viewport(), static_cast<QWidget*>(rollButton_)}) {
        widget->installEventFilter(this);
    }
    for (QPushButton* button : dice_) {
        button->installEventFilter(this);
    }

    connect(rollButton_, &QPushButton::clicked, this, [this] { events_.roll(); });
    connect(scoreCard_, &ScoreGrid::rowClicked, this, [this](int row) { events_.book(row); });

    setFixedSize(toQSize(layout.client));
    centreOnScreen(this);
}

MainWindow::~MainWindow() {
    if (pausing_) {
        qApp->removeEventFilter(this);
    }
    // The style keeps drawn button faces in Qt's pixmap cache under keys that include the
    // window's palette, which no later window shares: left there, every New Game would add
    // its own set until the cache's 10 MB limit.
    QPixmapCache::clear();
}

void MainWindow::buildMenuBar(const WindowTexts& texts) {
    QMenuBar* bar = menuBar();
    QMenu* menu = nullptr;
    QMenu* current = nullptr;
    for (const MenuEntry& entry : menuBarLayout) {
        const QString text = toQString(texts.menuText(entry.text));
        QAction* action = nullptr;
        switch (entry.kind) {
            case MenuEntryKind::Menu:
                menu = current = bar->addMenu(text);
                action = menu->menuAction();
                break;
            case MenuEntryKind::Submenu:
                current = menu->addMenu(text);
                languageMenu_ = current;
                action = current->menuAction();
                break;
            case MenuEntryKind::EndSubmenu:
                current = menu;
                break;
            case MenuEntryKind::Separator:
                current->addSeparator();
                break;
            case MenuEntryKind::Item: {
                action = current->addAction(text);
                if (!entry.key.empty()) {
                    action->setShortcut(QKeySequence(toQString(entry.key)));
                    action->setShortcutContext(Qt::WindowShortcut);
                }
                actions_[std::size_t(entry.item)] = action;
                const int item = entry.item;
                connect(action, &QAction::triggered, this,
                        [this, item] { events_.chooseMenuItem(item); });
                break;
            }
        }
        if (action != nullptr) {
            menuTexts_[std::size_t(entry.text)] = action;
        }
    }
}

QAction* MainWindow::menuAction(int item) const {
    return item >= 0 && item < int(actions_.size()) ? actions_[std::size_t(item)] : nullptr;
}

void MainWindow::setTitle(const std::string& title) {
    setWindowTitle(toQString(title));
}

void MainWindow::setMenuTexts(const std::array<std::string, menuTextCount>& texts) {
    // The menu bar is kept from drawing while its texts change.
    menuBar()->setUpdatesEnabled(false);
    for (int i = 0; i < menuTextCount; ++i) {
        if (QAction* action = menuTexts_[std::size_t(i)]) {
            action->setText(toQString(texts[std::size_t(i)]));
        }
    }
    menuBar()->setUpdatesEnabled(true);
}

bool MainWindow::askYesNo(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(caption), toQString(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool MainWindow::runOptionsDialog(const OptionsTexts& texts, int shownSeconds,
                                  OptionsChoice& choice) {
    const bool applied = quintaro::runOptionsDialog(this, texts, shownSeconds, choice);
    activateWindow();
    return applied;
}

void MainWindow::pause(int milliseconds) {
    // The computer's dice and hand name are drawn before the pause and repainted during it;
    // input and menu commands are swallowed until it ends.
    pausing_ = true;
    qApp->installEventFilter(this);
    repaint();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    pauseLoop_ = &loop;
    loop.exec();
    pauseLoop_ = nullptr;
    qApp->removeEventFilter(this);
    pausing_ = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (pausing_ && watched->isWidgetType() && isUserInput(event->type())) {
        event->ignore();
        return true;
    }
    if (!pausing_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (handleGameKey(key->key())) {
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::handleGameKey(int key) {
    switch (key) {
        case Qt::Key_1:
        case Qt::Key_2:
        case Qt::Key_3:
        case Qt::Key_4:
        case Qt::Key_5:
            events_.pressKey(GameKey(int(GameKey::Die1) + (key - Qt::Key_1)));
            return true;
        case Qt::Key_Space:
        case Qt::Key_R:
            events_.pressKey(GameKey::Roll);
            return true;
        case Qt::Key_Up:
            events_.pressKey(GameKey::Up);
            return true;
        case Qt::Key_Down:
            events_.pressKey(GameKey::Down);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            events_.pressKey(GameKey::Book);
            return true;
        default:
            return false;
    }
}

int MainWindow::selectedRow() const {
    return scoreCard_->selectedRow();
}

void MainWindow::selectRow(int row) {
    scoreCard_->selectRow(row);
    scoreCard_->setCurrentCell(row, 0);
}

void MainWindow::focusScoreCard() {
    scoreCard_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showHint(const HintView& hint) {
    clearHint();
    hintedDice_ = hint.holdDice;
    for (int number = 1; number <= 5; ++number) {
        QPushButton* button = dice_[std::size_t(number - 1)];
        setHintFrame(button, (hint.holdDice & (1u << (number - 1))) != 0);
    }
    if (hint.row >= 0) {
        selectRow(hint.row);
    }
    handTextBeforeHint_ = handLabel_->text();
    hintShown_ = true;
    handLabel_->setText(toQString(hint.label));
    handLabel_->setToolTip(toQString(hint.description));
    handLabel_->setAccessibleDescription(toQString(hint.description));
    QAccessibleEvent event(handLabel_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void MainWindow::clearHint() {
    if (!hintShown_) {
        return;
    }
    hintShown_ = false;
    hintedDice_ = 0;
    for (QPushButton* button : dice_) {
        setHintFrame(button, false);
    }
    handLabel_->setText(handTextBeforeHint_);
    handLabel_->setToolTip(QString());
    handLabel_->setAccessibleDescription(QString());
}

void MainWindow::setAccessibleTexts(const AccessibleTexts& texts) {
    board_->setAccessibleTexts(texts);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!events_.closeRequested()) {
        event->ignore();
        return;
    }
    // The close box also ends the pause after the computer's turn, however long a hand-edited
    // delay made it: the program then shuts down as usual.
    if (pauseLoop_ != nullptr) {
        pauseLoop_->quit();
    }
    event->accept();
}

}  // namespace quintaro
