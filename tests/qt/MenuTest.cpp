// The menu commands of the main window, the About box, switching the language and start-up
// around the new-game dialog, on the offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QDeadlineTimer>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "qt/Application.h"
#include "qt/MainWindow.h"
#include "qt/ScoreGrid.h"
#include "qt/UiText.h"
#include "tests/qt/TestSupport.h"

namespace quintaro {
namespace {

using testing::MessageBoxWatcher;
using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;
using testing::TestGame;

const std::string bom = "\xEF\xBB\xBF\r\n";

QString text(const char* file, const char* key) {
    return QString::fromStdString(testing::languageText(file, key));
}

void clickRow(MainWindow& window, int row) {
    ScoreGrid* card = window.scoreCard();
    QTest::mouseClick(card->viewport(), Qt::LeftButton, {},
                      card->visualRect(card->model()->index(row, 1)).center());
}

void rollTwiceAndBook(MainWindow& window, int row) {
    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    clickRow(window, row);
}

QWidget* topLevel(const char* objectName) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == objectName && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

// Runs `action` once the named top-level window is on screen (polling, within 5 s).
void whenShown(const char* objectName, std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (QWidget* widget = topLevel(objectName)) {
            timer->stop();
            timer->deleteLater();
            action(widget);
        } else if (started->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << objectName << " never appeared";
        }
    });
    timer->start(5);
}

struct MenuTest : ::testing::Test {
    ~MenuTest() override { useToolkitLanguage("en"); }
    ScratchFolder folder;
    RepeatRandom random{{}, 21};
    RandomScope scope{random};
};

TEST_F(MenuTest, SwitchingTheLanguageMidTurnKeepsTheGame) {
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    window.show();
    rollTwiceAndBook(window, 2);
    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    QTest::mouseClick(window.die(4), Qt::LeftButton);
    const QString dice = window.die(1)->text() + window.die(4)->text();
    const QString booked = window.scoreCard()->item(2, 1)->text();

    window.menuAction(GermanItem)->trigger();

    EXPECT_EQ(state.languageFile, "de.lang");
    EXPECT_EQ(window.windowTitle(), text("de.lang", "Title"));
    EXPECT_EQ(window.rollButton()->text(), text("de.lang", "roll"));
    EXPECT_EQ(window.menuAction(NewGameItem)->text(), text("de.lang", "MenuNewGame"));
    EXPECT_EQ(window.menuAction(ExitItem)->text(), text("de.lang", "MenuExit"));
    EXPECT_EQ(window.menuAction(OptionsItem)->text(), text("de.lang", "MenuOptions"));
    EXPECT_EQ(window.menuAction(RulesItem)->text(), text("de.lang", "MenuTitleHelp"));
    EXPECT_EQ(window.menuAction(AboutItem)->text(), text("de.lang", "MenuAbout"));
    const char* rowKeys[] = {"Nines",    "Tens",  "Jacks", "Queens",  "Kings",
                             "Aces",     "Bonus", "Pair",  "TwoPair", "Trips",
                             "Straight", "FH",    "4K",    "5K",      "Total"};
    for (int row = 0; row < rowCount; ++row) {
        EXPECT_EQ(window.scoreCard()->item(row, 0)->text(), text("de.lang", rowKeys[row]));
    }
    // Untouched: the language names, the players, the dice, the holds, the scores, the turn.
    EXPECT_EQ(window.languageMenu()->title(), "Language");
    EXPECT_EQ(window.menuAction(BulgarianItem)->text(), "Bulgarian");
    EXPECT_EQ(window.scoreCard()->horizontalHeaderItem(1)->text(), "Ann");
    EXPECT_EQ(window.turnLabel()->text(), "Bob");
    EXPECT_EQ(window.die(1)->text() + window.die(4)->text(), dice);
    EXPECT_TRUE(window.die(4)->isChecked());
    EXPECT_EQ(game.turnFlow().rollCount(), 1);
    EXPECT_EQ(window.scoreCard()->item(2, 1)->text(), booked);
    EXPECT_TRUE(window.board().cellColourSet(2, 1));
    EXPECT_EQ(folder.read("settings.ini"), bom + "lang = de\r\n");

    // The second roll names the hand in the new language.
    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    EXPECT_EQ(window.die(4)->text(), dice.right(dice.size() - window.die(1)->text().size()));
    EXPECT_FALSE(window.handLabel()->text().isEmpty());
    bool german = false;
    for (int c = 0; c <= 7; ++c) {
        german |=
            window.handLabel()->text() == text("de.lang", ("hands" + std::to_string(c)).c_str());
    }
    EXPECT_TRUE(german);
}

TEST_F(MenuTest, TheHandLabelKeepsItsLanguageUntilTheNextSecondRoll) {
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    const QString name = window.handLabel()->text();
    window.menuAction(BulgarianItem)->trigger();
    EXPECT_EQ(window.handLabel()->text(), name);
    EXPECT_EQ(window.rollButton()->text(), text("bg.lang", "roll"));
    EXPECT_EQ(folder.read("settings.ini"), bom + "lang = bg\r\n");
}

TEST_F(MenuTest, MessageBoxButtonsFollowTheLanguage) {
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    const auto yes = [] {
        QMessageBox box(QMessageBox::NoIcon, "", "", QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    EXPECT_EQ(yes(), "&Yes");
    window.menuAction(GermanItem)->trigger();
    EXPECT_EQ(yes(), "&Ja");
    window.menuAction(BulgarianItem)->trigger();
    EXPECT_EQ(yes(), QString::fromUtf8("&Да"));
    window.menuAction(EnglishItem)->trigger();
    EXPECT_EQ(yes(), "&Yes");
}

TEST_F(MenuTest, AMissingLanguageFileEmptiesEveryTextButTheTitle) {
    GameState state = testing::gameState(2);
    state.languageFiles[1] = "xx.lang";
    TestGame game(state);
    MainWindow& window = game.window();
    window.menuAction(GermanItem)->trigger();
    EXPECT_EQ(window.windowTitle(), "Quintaro");
    EXPECT_EQ(window.rollButton()->text(), "");
    EXPECT_EQ(window.menuAction(NewGameItem)->text(), "");
    EXPECT_EQ(window.menuAction(AboutItem)->text(), "");
    for (int row = 0; row < rowCount; ++row) {
        EXPECT_EQ(window.scoreCard()->item(row, 0)->text(), "") << row;
    }
    EXPECT_EQ(folder.read("settings.ini"), bom + "lang = xx\r\n");
}

TEST_F(MenuTest, GermanAndBackToEnglish) {
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    EXPECT_EQ(window.menuAction(AboutItem)->text(), text("en.lang", "MenuAbout") + "...");
    window.menuAction(GermanItem)->trigger();
    window.menuAction(EnglishItem)->trigger();
    EXPECT_EQ(folder.read("settings.ini"), bom + "lang = en\r\n");
    EXPECT_EQ(window.menuAction(AboutItem)->text(), text("en.lang", "MenuAbout"));
    EXPECT_EQ(window.rollButton()->text(), text("en.lang", "roll"));
}

TEST_F(MenuTest, OptionsThenGermanWriteTheSettingsFile) {
    GameState state = testing::gameState(2, 1);
    TestGame game(state);
    MainWindow& window = game.window();
    window.show();
    bool seen = false;
    whenShown("optionsDialog", [&](QWidget* dialog) {
        seen = true;
        EXPECT_FALSE(window.isEnabled());
        EXPECT_EQ(dialog->windowTitle(), "Options");
        auto* up = dialog->findChild<QToolButton*>("secondsUp");
        ASSERT_NE(up, nullptr);
        for (int i = 0; i < 3; ++i) {
            up->click();
        }
        dialog->findChild<QCheckBox*>("strongerBox")->setChecked(true);
        QTest::mouseClick(dialog->findChild<QPushButton*>("applyButton"), Qt::LeftButton);
    });
    window.menuAction(OptionsItem)->trigger();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(state.delayMs, 3000);
    EXPECT_EQ(state.strongerCPU, 1);
    window.menuAction(GermanItem)->trigger();
    EXPECT_EQ(folder.read("settings.ini"),
              bom + "delay = 3000\r\nstrongerCPU = 1\r\nlang = de\r\n");
}

TEST_F(MenuTest, CancelledOptionsChangeNothing) {
    GameState state = testing::gameState(2, 1);
    state.delayMs = 2000;
    TestGame game(state);
    MainWindow& window = game.window();
    window.show();
    whenShown("optionsDialog", [&](QWidget* dialog) {
        dialog->findChild<QToolButton*>("secondsUp")->click();
        dialog->findChild<QCheckBox*>("strongerBox")->setChecked(true);
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    window.menuAction(OptionsItem)->trigger();
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(state.delayMs, 2000);
    EXPECT_EQ(state.strongerCPU, 0);
    EXPECT_FALSE(folder.exists("settings.ini"));
}

TEST_F(MenuTest, TheAboutBox) {
    for (const char* language : {"en.lang", "de.lang", "bg.lang"}) {
        GameState state = testing::gameState(2);
        state.languageFile = language;
        TestGame game(state);
        MainWindow& window = game.window();
        window.show();
        MessageBoxWatcher watcher;
        window.menuAction(AboutItem)->trigger();
        ASSERT_EQ(watcher.seen().size(), 1u);
        EXPECT_EQ(watcher.seen()[0].title, text(language, "MenuAbout") + " Quintaro");
        EXPECT_TRUE(watcher.seen()[0].text.startsWith("Quintaro "));
        EXPECT_TRUE(watcher.seen()[0].text.contains("MIT"));
    }
}

TEST_F(MenuTest, NewGameAnsweredNoChangesNothing) {
    GameState state = testing::gameState(2);
    Application app(state);
    app.startGame();
    MainWindow* window = app.window();
    rollTwiceAndBook(*window, 5);
    const QString before = window->scoreCard()->item(5, 1)->text();
    MessageBoxWatcher watcher(QMessageBox::No);
    window->menuAction(NewGameItem)->trigger();
    QApplication::processEvents();
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].title, text("en.lang", "NewGame"));
    EXPECT_EQ(watcher.seen()[0].text, text("en.lang", "NewGameDesc"));
    EXPECT_EQ(app.window(), window);
    EXPECT_EQ(window->scoreCard()->item(5, 1)->text(), before);
    EXPECT_TRUE(window->board().cellColourSet(5, 1));
    EXPECT_EQ(app.state().playerProgress[1][1], 1);
    EXPECT_EQ(window->turnLabel()->text(), "Bob");
}

TEST_F(MenuTest, NewGameAnsweredYesStartsAfreshWithTheSamePlayers) {
    for (int computerMode : {0, 1}) {
        GameState state = testing::gameState(computerMode ? 2 : 3, computerMode);
        Application app(state);
        app.startGame();
        rollTwiceAndBook(*app.window(), 5);
        if (!computerMode) {
            rollTwiceAndBook(*app.window(), 5);
        }
        MessageBoxWatcher watcher(QMessageBox::Yes);
        app.window()->menuAction(NewGameItem)->trigger();
        QApplication::processEvents();
        QApplication::processEvents();
        MainWindow* fresh = app.window();
        ASSERT_NE(fresh, nullptr);
        EXPECT_TRUE(fresh->isVisible());
        const int players = computerMode ? 2 : 3;
        ASSERT_EQ(fresh->scoreCard()->columnCount(), players + 1);
        for (int p = 1; p <= players; ++p) {
            EXPECT_EQ(fresh->scoreCard()->horizontalHeaderItem(p)->text().toStdString(),
                      app.state().playerNames[std::size_t(p)]);
            EXPECT_EQ(app.state().playerProgress[std::size_t(p)][1], 0);
            for (int row = 0; row < rowCount; ++row) {
                EXPECT_EQ(fresh->board().cellText(row, p), "");
                EXPECT_EQ(fresh->board().cellColourSet(row, p), row == bonusRow || row == totalRow);
            }
        }
        EXPECT_EQ(fresh->turnLabel()->text(), "Ann");
        EXPECT_EQ((*app.shell().turnFlow()).currentPlayer(), 1);
        EXPECT_TRUE(fresh->rollButton()->isEnabled());
        if (computerMode) {
            // The computer still answers every booking as player 2.
            rollTwiceAndBook(*fresh, 0);
            EXPECT_EQ(app.state().playerProgress[2][1], 1);
        }
    }
}

TEST_F(MenuTest, ExitEndsTheLoopWithCodeZero) {
    GameState state = testing::gameState(2);
    Application app(state);
    app.startGame();
    QTimer::singleShot(0, app.window(), [&] { app.window()->menuAction(ExitItem)->trigger(); });
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.window(), nullptr);
}

TEST_F(MenuTest, TheCloseBoxEndsTheLoopToo) {
    GameState state = testing::gameState(2);
    Application app(state);
    app.startGame();
    QTimer::singleShot(0, app.window(), [&] { app.window()->close(); });
    EXPECT_EQ(app.run(), 0);
}

TEST_F(MenuTest, ClosingTheNewGameDialogEndsBeforeAnyGame) {
    whenShown("newGameDialog", [](QWidget* dialog) { dialog->close(); });
    GameState state;
    Application app(state);
    app.startUp();
    // The close box quits the loop the program then runs.
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.window(), nullptr);
    EXPECT_FALSE(folder.exists("settings.ini"));
}

TEST_F(MenuTest, StartUpReadsTheSettingsAndOpensTheWindowInTheDialogsPlace) {
    folder.write("settings.ini", "lang = de\r\ndelay = 1500\r\nstrongerCPU = 1\r\n");
    const std::string before = folder.read("settings.ini");
    whenShown("newGameDialog", [](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), text("de.lang", "gameMode"));
        whenShown("inputBox", [](QWidget* box) {
            box->findChild<QLineEdit*>("text")->setText("Zoe");
            QTest::keyClick(box->findChild<QLineEdit*>("text"), Qt::Key_Return);
        });
        QTest::mouseClick(dialog->findChild<QAbstractButton*>("computerButton"), Qt::LeftButton);
    });
    GameState state;
    Application app(state);
    app.startUp();
    QDeadlineTimer deadline(20000);
    while (app.window() == nullptr && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(app.window(), nullptr) << "the main window did not open within 20 s";
    EXPECT_EQ(app.state().delayMs, 1500);
    EXPECT_EQ(app.state().strongerCPU, 1);
    EXPECT_EQ(app.state().languageFile, "de.lang");
    EXPECT_EQ(app.state().playerNames[1], "Zoe");
    EXPECT_EQ(app.state().playerNames[2], "Computer");
    ASSERT_NE(app.window(), nullptr);
    EXPECT_TRUE(app.window()->isVisible());
    EXPECT_EQ(app.window()->windowTitle(), text("de.lang", "Title"));
    EXPECT_EQ(topLevel("newGameDialog"), nullptr);
    EXPECT_EQ(folder.read("settings.ini"), before);
}

}  // namespace
}  // namespace quintaro
