#include "qt/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "qt/Document.h"
#include "qt/OptionsDialog.h"
#include "qt/ScoreGrid.h"
#include "qt/Sound.h"
#include "qt/UiText.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

struct RowLabel {
    const char* key;
    const char* defaultText;
};

// Score-card rows 0..14: language key and the label used when the key is missing.
constexpr std::array<RowLabel, rowCount> rowLabels = {{
    {"Nines", "Nines"},
    {"Tens", "Tens"},
    {"Jacks", "Jacks"},
    {"Queens", "Queens"},
    {"Kings", "Kings"},
    {"Aces", "Aces"},
    {"Bonus", "15+ BONUS (3)"},
    {"Pair", "Pair (1)"},
    {"TwoPair", "Two Pair (2)"},
    {"Trips", "Trips (3)"},
    {"Straight", "Straight (4)"},
    {"FH", "Full House (4)"},
    {"4K", "4 of a Kind (4)"},
    {"5K", "5 of a Kind (5)"},
    {"Total", "Total"},
}};

constexpr const char* aboutCredit =
    "Quintaro " QUINTARO_VERSION
    "\n\nA dice game for two to four players, or one player against the computer, with five "
    "dice showing 9, 10, J, Q, K and A.\n\nFree software under the MIT licence.";

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

MainWindow::MainWindow(GameState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    loadSound(0, "dice.wav");

    KeyValueFile texts;
    texts.open(state_.languageFile);
    setWindowTitle(readUiText(texts, "Title", "Quintaro"));
    buildMenuBar(texts);

    auto* client = new QWidget(this);
    setCentralWidget(client);

    scoreCard_ = new ScoreGrid(state_.playerCount, client);
    scoreCard_->setGeometry(5, 5, 305, 245);
    for (int p = 1; p <= state_.playerCount; ++p) {
        scoreCard_->setHorizontalHeaderItem(
            p, new QTableWidgetItem(toQString(state_.playerNames[std::size_t(p)])));
    }
    for (const RowLabel& row : rowLabels) {
        scoreCard_->appendRow(readUiText(texts, row.key, row.defaultText));
    }
    scoreCard_->setRowColour(totalRow, fixedRowColour);
    scoreCard_->setRowColour(bonusRow, fixedRowColour);

    rollButton_ = new QPushButton(readUiText(texts, "roll", ""), client);
    rollButton_->setFont(guiFont());
    rollButton_->setGeometry(330, 200, 120, 40);
    rollButton_->setAutoDefault(false);

    turnLabel_ = new QLabel(toQString(state_.playerNames[1]), client);
    turnLabel_->setFont(guiFont());
    turnLabel_->setTextFormat(Qt::PlainText);
    turnLabel_->setGeometry(330, 10, 100, 20);
    texts.close();

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

    turnFlow_ = std::make_unique<TurnFlow>(
        *this, state_,
        TurnFlow::Hooks{[] { playSound(0); }, [this](int milliseconds) { pause(milliseconds); }});
    scoreCard_->setEnabled(false);

    connect(rollButton_, &QPushButton::clicked, this, [this] { turnFlow_->roll(); });
    connect(scoreCard_, &ScoreGrid::rowClicked, this, [this](int row) { turnFlow_->book(row); });

    setFixedSize(clientWidth, clientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
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

void MainWindow::buildMenuBar(const KeyValueFile& texts) {
    QMenuBar* bar = menuBar();
    auto addItem = [this](QMenu* menu, int item, const QString& text) {
        QAction* action = menu->addAction(text);
        actions_[std::size_t(item)] = action;
        connect(action, &QAction::triggered, this, [this, item] { chooseMenuItem(item); });
    };

    gameMenu_ = bar->addMenu(readUiText(texts, "MenuTitleGame", ""));
    addItem(gameMenu_, NewGameItem, readUiText(texts, "MenuNewGame", ""));
    gameMenu_->addSeparator();
    addItem(gameMenu_, ExitItem, readUiText(texts, "MenuExit", ""));

    toolsMenu_ = bar->addMenu(readUiText(texts, "MenuTitleTools", ""));
    addItem(toolsMenu_, OptionsItem, readUiText(texts, "MenuOptions", ""));
    toolsMenu_->addSeparator();
    // The language names stay the same in every language.
    languageMenu_ = toolsMenu_->addMenu(QStringLiteral("Language"));
    addItem(languageMenu_, EnglishItem, QStringLiteral("English"));
    addItem(languageMenu_, GermanItem, QStringLiteral("German"));
    addItem(languageMenu_, BulgarianItem, QStringLiteral("Bulgarian"));

    // The rules item bears the Help menu's own title.
    helpMenu_ = bar->addMenu(readUiText(texts, "MenuTitleHelp", ""));
    addItem(helpMenu_, RulesItem, readUiText(texts, "MenuTitleHelp", ""));
    helpMenu_->addSeparator();
    addItem(helpMenu_, AboutItem, readUiText(texts, "MenuAbout", "") + QStringLiteral("..."));
}

QAction* MainWindow::menuAction(int item) const {
    return item >= 0 && item < int(actions_.size()) ? actions_[std::size_t(item)] : nullptr;
}

void MainWindow::chooseMenuItem(int item) {
    if (pausing_) {
        return;
    }
    switch (item) {
        case NewGameItem:
            askNewGame();
            break;
        case ExitItem:
            emit exitRequested();
            break;
        case RulesItem:
            openDocument("rules.txt");
            break;
        case AboutItem:
            showAbout();
            break;
        case OptionsItem:
            showOptions();
            break;
        case EnglishItem:
        case GermanItem:
        case BulgarianItem:
            switchLanguage(item - EnglishItem);
            break;
        default:
            break;
    }
}

void MainWindow::askNewGame() {
    KeyValueFile texts;
    texts.open(state_.languageFile);
    QMessageBox box(QMessageBox::NoIcon, readUiText(texts, "NewGame", ""),
                    readUiText(texts, "NewGameDesc", ""), QMessageBox::Yes | QMessageBox::No, this);
    texts.close();
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() == QMessageBox::Yes) {
        emit newGameRequested();
    }
}

void MainWindow::showAbout() {
    KeyValueFile texts;
    texts.open(state_.languageFile);
    QMessageBox box(QMessageBox::NoIcon, readUiText(texts, "MenuAbout", "") + " Quintaro",
                    QString::fromUtf8(aboutCredit), QMessageBox::Ok, this);
    texts.close();
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainWindow::showOptions() {
    setEnabled(false);
    runOptionsDialog(this, state_);
    setEnabled(true);
    activateWindow();
}

void MainWindow::switchLanguage(int index) {
    state_.languageFile = state_.languageFiles.at(std::size_t(index));
    KeyValueFile texts;
    texts.open(state_.languageFile);

    // The menu bar is kept from drawing while its texts change.
    menuBar()->setUpdatesEnabled(false);
    gameMenu_->setTitle(readUiText(texts, "MenuTitleGame", ""));
    actions_[NewGameItem]->setText(readUiText(texts, "MenuNewGame", ""));
    actions_[ExitItem]->setText(readUiText(texts, "MenuExit", ""));
    toolsMenu_->setTitle(readUiText(texts, "MenuTitleTools", ""));
    actions_[OptionsItem]->setText(readUiText(texts, "MenuOptions", ""));
    helpMenu_->setTitle(readUiText(texts, "MenuTitleHelp", ""));
    actions_[RulesItem]->setText(readUiText(texts, "MenuTitleHelp", ""));
    // After a switch the About item carries the text alone.
    actions_[AboutItem]->setText(readUiText(texts, "MenuAbout", ""));
    rollButton_->setText(readUiText(texts, "roll", ""));
    setWindowTitle(readUiText(texts, "Title", "Quintaro"));
    menuBar()->setUpdatesEnabled(true);

    // Labels missing from the new file come out empty, not in English.
    for (int row = 0; row < rowCount; ++row) {
        scoreCard_->setCellText(row, 0, readUiText(texts, rowLabels[std::size_t(row)].key, ""));
    }
    texts.close();

    const std::string code = state_.languageFile.substr(0, 2);
    useToolkitLanguage(code);

    KeyValueFile settings;
    settings.open(std::string(settingsFileName));
    settings.writeText("lang", code);
    settings.close();
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
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The pause holds back the player's input, not the wish to leave (a hand-edited delay may
    // be days long): the close box ends it at once and the program shuts down as usual.
    closing_ = true;
    if (pauseLoop_ != nullptr) {
        pauseLoop_->quit();
    }
    event->accept();
    emit exitRequested();
}

QWidget* MainWindow::control(int number) const {
    switch (number) {
        case ScoreCard:
            return scoreCard_;
        case RollButton:
            return rollButton_;
        case TurnLabel:
            return turnLabel_;
        case HandLabel:
            return handLabel_;
        default:
            if (number >= Die1 && number <= Die5) {
                return dice_[std::size_t(number - 1)];
            }
            return nullptr;
    }
}

std::string MainWindow::cellText(int row, int column) const {
    return toStdString(scoreCard_->cellText(row, column));
}

void MainWindow::setCellText(int row, int column, const std::string& text) {
    scoreCard_->setCellText(row, column, toQString(text));
}

bool MainWindow::cellColourSet(int row, int column) const {
    return scoreCard_->cellColourSet(row, column);
}

void MainWindow::setCellColour(int row, int column, Colour colour) {
    scoreCard_->setCellColour(row, column, colour);
}

void MainWindow::setRowColour(int row, Colour colour) {
    scoreCard_->setRowColour(row, colour);
}

bool MainWindow::dieHeld(int die) const {
    return this->die(die)->isChecked();
}

void MainWindow::setDieHeld(int die, bool held) {
    this->die(die)->setChecked(held);
}

std::string MainWindow::controlText(int control) const {
    QWidget* widget = this->control(control);
    if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return toStdString(button->text());
    }
    if (const auto* label = qobject_cast<QLabel*>(widget)) {
        return toStdString(label->text());
    }
    return {};
}

void MainWindow::setControlText(int control, const std::string& text) {
    QWidget* widget = this->control(control);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(toQString(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(toQString(text));
    }
}

bool MainWindow::controlEnabled(int control) const {
    const QWidget* widget = this->control(control);
    return widget && widget->isEnabled();
}

void MainWindow::setControlEnabled(int control, bool enabled) {
    if (QWidget* widget = this->control(control)) {
        widget->setEnabled(enabled);
    }
}

void MainWindow::showMessage(const std::string& caption, const std::string& text) {
    // The rest of a turn cut short by the close box shows no end-of-game message.
    if (closing_) {
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, toQString(caption), toQString(text), QMessageBox::Ok,
                    isActiveWindow() ? this : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace quintaro
