#include "qt/MainWindow.h"

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

    // A die flips by itself when clicked; the shell hears of it.
    for (int number = 1; number <= 5; ++number) {
        connect(dice_[std::size_t(number - 1)], &QPushButton::clicked, this,
                [this, number] { events_.dieToggled(number); });
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
                if (const std::string key = menuKeyText(entry); !key.empty()) {
                    action->setShortcut(QKeySequence(toQString(key)));
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
    const bool yes = box.exec() == QMessageBox::Yes;
    // The keys go back to the window, not to the box that has gone.
    activateWindow();
    return yes;
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
    PortableKey portable;
    switch (key) {
        case Qt::Key_Up:
            portable = namedKey(NamedKey::Up);
            break;
        case Qt::Key_Down:
            portable = namedKey(NamedKey::Down);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            portable = namedKey(NamedKey::Enter);
            break;
        default:
            // Qt numbers the keys of digits, letters and Space by their character.
            if (key < Qt::Key_Space || key > Qt::Key_Z) {
                return false;
            }
            portable = characterKey(char(key));
            break;
    }
    return events_.keyPressed(portable, focusedControl());
}

int MainWindow::focusedControl() const {
    const QWidget* focus = QApplication::focusWidget();
    for (const int control : {int(ScoreCard), 1, 2, 3, 4, 5, int(RollButton)}) {
        if (focus != nullptr && focus == board_->control(control)) {
            return control;
        }
    }
    return -1;
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

void MainWindow::frameDice(unsigned dice) {
    hintedDice_ = dice;
    for (int number = 1; number <= 5; ++number) {
        setHintFrame(dice_[std::size_t(number - 1)], (dice & (1u << (number - 1))) != 0);
    }
}

void MainWindow::describeHint(const std::string& description) {
    handLabel_->setToolTip(toQString(description));
    handLabel_->setAccessibleDescription(toQString(description));
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
