#include "qt/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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

// A die's button does not flip by itself: the shell presses and releases it.
class DieButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void nextCheckState() override {}
};

unsigned portableModifiers(Qt::KeyboardModifiers modifiers) {
    unsigned portable = NoModifier;
    portable |= modifiers.testFlag(Qt::ShiftModifier) ? ShiftModifier : 0u;
    portable |= modifiers.testFlag(Qt::ControlModifier) ? ControlModifier : 0u;
    portable |= modifiers.testFlag(Qt::AltModifier) ? AltModifier : 0u;
    portable |= modifiers.testFlag(Qt::MetaModifier) ? MetaModifier : 0u;
    portable |= modifiers.testFlag(Qt::KeypadModifier) ? KeypadModifier : 0u;
    return portable;
}

// The green frame of a die the coach's hint says to hold; the style sheet draws it.
void setHintFrame(QPushButton* button, bool framed) {
    button->setProperty("hint", framed);
    button->style()->unpolish(button);
    button->style()->polish(button);
    button->update();
}

}  // namespace

MainWindow::MainWindow(const WindowSetup& setup, WindowEvents& events, QWidget* parent)
    : QMainWindow(parent), events_(events) {
    const WindowTexts& texts = setup.texts;
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowFlags(closeBoxOnly);

    setWindowTitle(toQString(texts.title));
    buildMenuBar(texts);

    auto* client = new QWidget(this);
    setCentralWidget(client);

    const MainWindowLayout layout = mainWindowLayout(setup.playerCount);
    scoreCard_ = new ScoreGrid(layout, client);
    scoreCard_->setGeometry(toQRect(layout.scoreCard));
    for (int p = 1; p <= setup.playerCount; ++p) {
        scoreCard_->setHorizontalHeaderItem(
            p, new QTableWidgetItem(toQString(setup.playerNames[std::size_t(p)])));
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

    turnLabel_ = new QLabel(toQString(setup.turnText), client);
    turnLabel_->setFont(guiFont());
    turnLabel_->setTextFormat(Qt::PlainText);
    turnLabel_->setGeometry(toQRect(layout.turnLabel));

    for (int number = 1; number <= 5; ++number) {
        auto* button = new DieButton(client);
        button->setFont(diceFont());
        button->setCheckable(true);
        button->setAutoDefault(false);
        // A held die must be told apart at a glance from one that will be rolled again.
        // The coach's hint frames the dice to hold in green.
        button->setStyleSheet(
            QStringLiteral(
                "QPushButton:checked { background-color: #c6d6ee; border: 2px solid #3d5f92;"
                " border-radius: 3px; }"
                "QPushButton[hint=\"true\"] { border: %1px solid #%2; border-radius: 3px; }"
                "QPushButton[hint=\"true\"]:checked { background-color: #c6d6ee; }")
                .arg(layout.hintFrameWidth)
                .arg(hintFrameRgb, 6, 16, QLatin1Char('0')));
        button->setGeometry(toQRect(layout.dice[std::size_t(number - 1)]));
        dice_[std::size_t(number - 1)] = button;
    }
    handLabel_ = new QLabel(client);
    handLabel_->setFont(diceFont());
    handLabel_->setTextFormat(Qt::PlainText);
    handLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    handLabel_->setGeometry(toQRect(layout.handLabel));

    board_ = std::make_unique<WidgetBoard>(
        WidgetBoard::Widgets{this, scoreCard_, dice_, rollButton_, turnLabel_, handLabel_},
        events_);

    for (int number = 1; number <= 5; ++number) {
        connect(dice_[std::size_t(number - 1)], &QPushButton::clicked, this,
                [this, number] { events_.dieClicked(number); });
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
    connect(scoreCard_, &ScoreGrid::rowClicked, this, [this](int row) { events_.rowClicked(row); });
    pauseTimer_ = new QTimer(this);
    pauseTimer_->setSingleShot(true);
    connect(pauseTimer_, &QTimer::timeout, this, [this] { events_.pauseEnded(); });

    setFixedSize(toQSize(layout.client));
    centreOnScreen(this);
}

MainWindow::~MainWindow() {
    delete options_;
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

void MainWindow::askYesNo(const std::string& caption, const std::string& text) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, toQString(caption), toQString(text),
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Yes);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QDialog::finished, this, [this, box](int result) {
        const bool yes =
            result == QMessageBox::Yes || box->clickedButton() == box->button(QMessageBox::Yes);
        // The keys go back to the window, not to the box that has gone.
        activateWindow();
        events_.yesNoAnswered(yes);
    });
    box->show();
}

void MainWindow::showOptions(const OptionsTexts& texts, const OptionsView& view) {
    if (options_ == nullptr) {
        options_ = new OptionsDialog(this, texts, events_);
    }
    options_->show(view);
}

void MainWindow::closeOptions() {
    if (options_ != nullptr) {
        options_->close();
        options_->deleteLater();
        options_ = nullptr;
        activateWindow();
    }
}

void MainWindow::startPause(int milliseconds) {
    // The computer's dice and hand name are drawn before the pause; the shell takes no input
    // until it ends.
    repaint();
    pauseTimer_->start(milliseconds);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && handleKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::handleKey(const QKeyEvent& event) {
    PortableKey portable;
    const int key = event.key();
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
    return events_.keyPressed({portable, portableModifiers(event.modifiers()), focusedControl()});
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

void MainWindow::focusControl(int control) {
    QWidget* widget = control < 0 ? this : board_->control(control);
    if (widget != nullptr) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::showSelection(int row) {
    scoreCard_->showSelection(row);
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
    // The close box also ends the pause after the computer's turn, however long a hand-edited
    // delay made it: the program then shuts down as usual.
    if (!events_.closeRequested()) {
        event->ignore();
        return;
    }
    pauseTimer_->stop();
    event->accept();
}

}  // namespace quintaro
