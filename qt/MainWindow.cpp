#include "qt/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
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

}  // namespace

MainWindow::MainWindow(const GameState& state, const WindowTexts& texts, WindowEvents& events,
                       QWidget* parent)
    : QMainWindow(parent), events_(events) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    setWindowTitle(toQString(texts.title));
    buildMenuBar(texts);

    auto* client = new QWidget(this);
    setCentralWidget(client);

    scoreCard_ = new ScoreGrid(state.playerCount, client);
    scoreCard_->setGeometry(5, 5, 305, 245);
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
    rollButton_->setGeometry(330, 200, 120, 40);
    rollButton_->setAutoDefault(false);

    turnLabel_ = new QLabel(toQString(state.playerNames[1]), client);
    turnLabel_->setFont(guiFont());
    turnLabel_->setTextFormat(Qt::PlainText);
    turnLabel_->setGeometry(330, 10, 100, 20);

    for (int number = 1; number <= 5; ++number) {
        auto* button = new QPushButton(client);
        button->setFont(diceFont());
        button->setCheckable(true);
        button->setAutoDefault(false);
        // A held die must be told apart at a glance from one that will be rolled again.
        button->setStyleSheet(QStringLiteral(
            "QPushButton:checked { background-color: #c6d6ee; border: 2px solid #3d5f92;"
            " border-radius: 3px; }"));
        button->setGeometry(330 + 50 * (number - 1), 45, 40, 40);
        dice_[std::size_t(number - 1)] = button;
    }
    handLabel_ = new QLabel(client);
    handLabel_->setFont(diceFont());
    handLabel_->setTextFormat(Qt::PlainText);
    handLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    handLabel_->setGeometry(330, 150, 120, 40);

    board_ = std::make_unique<WidgetBoard>(
        WidgetBoard::Widgets{this, scoreCard_, dice_, rollButton_, turnLabel_, handLabel_});

    connect(rollButton_, &QPushButton::clicked, this, [this] { events_.roll(); });
    connect(scoreCard_, &ScoreGrid::rowClicked, this, [this](int row) { events_.book(row); });

    setFixedSize(clientWidth, clientHeight);
    centreOnScreen(this);
}

MainWindow::~MainWindow() {
    if (pausing_) {
        qApp->removeEventFilter(this);
    }
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
    loop.exec();
    qApp->removeEventFilter(this);
    pausing_ = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (pausing_ && watched->isWidgetType() && isUserInput(event->type())) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (pausing_ || !events_.closeRequested()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace quintaro
