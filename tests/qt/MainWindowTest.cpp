// The main window on the offscreen platform: its layout, and whole games clicked through
// with the mouse, checked step by step against the same game on the in-memory board.
#include "qt/MainWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "qt/ScoreGrid.h"
#include "qt/UiText.h"
#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "rules/Scoring.h"
#include "tests/qt/TestSupport.h"

namespace quintaro {
namespace {

using testing::MessageBoxWatcher;
using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;
using testing::TestGame;

void clickRow(MainWindow& window, int row) {
    ScoreGrid* card = window.scoreCard();
    const QRect cell = card->visualRect(card->model()->index(row, 1));
    QTest::mouseClick(card->viewport(), Qt::LeftButton, {}, cell.center());
}

void clickRoll(MainWindow& window) {
    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
}

struct MainWindowTest : ::testing::Test {
    ScratchFolder folder;
};

TEST_F(MainWindowTest, LayoutForTwoThreeAndFourPlayers) {
    for (int players : {2, 3, 4}) {
        const MainWindowLayout layout = mainWindowLayout(players);
        GameState state = testing::gameState(players);
        TestGame game(state);
        MainWindow& window = game.window();
        window.show();
        QApplication::processEvents();
        EXPECT_EQ(window.size(), toQSize(layout.client));
        EXPECT_EQ(window.windowTitle(), "Quintaro");
        ScoreGrid* card = window.scoreCard();
        EXPECT_EQ(card->geometry(), toQRect(layout.scoreCard));
        ASSERT_EQ(card->columnCount(), layout.columns);
        for (int p = 0; p <= players; ++p) {
            EXPECT_EQ(card->columnWidth(p), layout.columnWidths[std::size_t(p)]) << players;
        }
        for (int p = 1; p <= players; ++p) {
            EXPECT_EQ(card->horizontalHeaderItem(p)->text().toStdString(),
                      state.playerNames[std::size_t(p)]);
        }
        ASSERT_EQ(card->rowCount(), 15);
        // All fifteen rows fit without a scroll bar.
        EXPECT_EQ(card->verticalScrollBar()->maximum(), 0);
        EXPECT_LE(card->visualRect(card->model()->index(14, 0)).bottom(),
                  card->viewport()->height());
        EXPECT_EQ(card->horizontalScrollBar()->maximum(), 0);
        for (int row : {6, 14}) {
            for (int column = 0; column <= players; ++column) {
                EXPECT_EQ(card->item(row, column)->background().color(), QColor(102, 255, 255));
            }
        }
        EXPECT_FALSE(card->isEnabled());
        EXPECT_EQ(window.rollButton()->geometry(), toQRect(layout.rollButton));
        EXPECT_EQ(window.turnLabel()->geometry(), toQRect(layout.turnLabel));
        EXPECT_EQ(window.handLabel()->geometry(), toQRect(layout.handLabel));
        for (int die = 1; die <= 5; ++die) {
            EXPECT_EQ(window.die(die)->geometry(), toQRect(layout.dice[std::size_t(die - 1)]));
            EXPECT_TRUE(window.die(die)->isCheckable());
        }
        // The lowest control edge sits above the window's bottom, under the menu bar.
        EXPECT_LE(window.centralWidget()->y() + layout.scoreCard.bottom(), layout.client.height);
    }
}

TEST_F(MainWindowTest, StartsWithTextsFromTheLanguageFile) {
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    const auto text = [](const char* key) {
        return QString::fromStdString(testing::languageText("en.lang", key));
    };
    EXPECT_EQ(window.rollButton()->text(), text("roll"));
    EXPECT_EQ(window.turnLabel()->text(), "Ann");
    EXPECT_EQ(window.menuAction(NewGameItem)->text(), text("MenuNewGame"));
    EXPECT_EQ(window.menuAction(RulesItem)->text(), text("MenuTitleHelp"));
    EXPECT_EQ(window.menuAction(AboutItem)->text(), text("MenuAbout") + "...");
    EXPECT_EQ(window.menuAction(GermanItem)->text(), "German");
    EXPECT_EQ(window.languageMenu()->title(), "Language");
    EXPECT_EQ(window.scoreCard()->item(11, 0)->text(), text("FH"));
}

TEST_F(MainWindowTest, MissingLanguageFileGivesDefaults) {
    GameState state = testing::gameState(2, 0, "xx.lang");
    TestGame game(state);
    MainWindow& window = game.window();
    EXPECT_EQ(window.windowTitle(), "Quintaro");
    EXPECT_EQ(window.rollButton()->text(), "");
    EXPECT_EQ(window.menuAction(AboutItem)->text(), "...");
    EXPECT_EQ(window.scoreCard()->item(6, 0)->text(), "15+ BONUS (3)");
    EXPECT_EQ(window.scoreCard()->item(13, 0)->text(), "5 of a Kind (5)");
}

TEST_F(MainWindowTest, RollingHoldingAndTheHandNameInEachLanguage) {
    for (const char* language : {"en.lang", "de.lang", "bg.lang"}) {
        RepeatRandom random({}, 11);
        RandomScope scope(random);
        GameState state = testing::gameState(2, 0, language);
        TestGame game(state);
        MainWindow& window = game.window();
        window.show();
        clickRoll(window);
        EXPECT_FALSE(window.scoreCard()->isEnabled());
        // The card takes no clicks before the second roll.
        clickRow(window, 0);
        EXPECT_FALSE(window.board().cellColourSet(0, 1));
        QTest::mouseClick(window.die(2), Qt::LeftButton);
        QTest::mouseClick(window.die(5), Qt::LeftButton);
        EXPECT_TRUE(window.board().dieHeld(2));
        EXPECT_TRUE(window.board().dieHeld(5));
        const QString second = window.die(2)->text(), fifth = window.die(5)->text();
        const int before = random.draws();
        clickRoll(window);
        EXPECT_EQ(random.draws() - before, 3);
        EXPECT_EQ(window.die(2)->text(), second);
        EXPECT_EQ(window.die(5)->text(), fifth);
        EXPECT_FALSE(window.rollButton()->isEnabled());
        EXPECT_TRUE(window.scoreCard()->isEnabled());
        const std::string name =
            testing::languageText(language, "hands" + std::to_string(classifyHand(window.board())));
        EXPECT_EQ(window.handLabel()->text().toStdString(), name) << language;
        EXPECT_FALSE(name.empty());
    }
}
TEST_F(MainWindowTest, ClicksThatBookNothing) {
    RepeatRandom random({}, 3);
    RandomScope scope(random);
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    window.show();
    clickRoll(window);
    clickRoll(window);
    const std::string before = testing::snapshot(window.board(), 2);
    for (int row : {6, 14}) {
        clickRow(window, row);
    }
    // Below the last row no row is selected.
    ScoreGrid* card = window.scoreCard();
    QTest::mouseClick(card->viewport(), Qt::LeftButton, {},
                      QPoint(40, card->viewport()->height() - 2));
    // A right click books nothing either.
    QTest::mouseClick(card->viewport(), Qt::RightButton, {},
                      card->visualRect(card->model()->index(0, 1)).center());
    EXPECT_EQ(testing::snapshot(window.board(), 2), before);
    clickRow(window, 4);
    EXPECT_TRUE(window.board().cellColourSet(4, 1));
    EXPECT_EQ(window.turnLabel()->text(), "Bob");
    // Bob may book the row Ann took, then Ann cannot book it again.
    clickRoll(window);
    clickRoll(window);
    clickRow(window, 4);
    EXPECT_TRUE(window.board().cellColourSet(4, 2));
    clickRoll(window);
    clickRoll(window);
    const std::string again = testing::snapshot(window.board(), 2);
    clickRow(window, 4);
    EXPECT_EQ(testing::snapshot(window.board(), 2), again);
    EXPECT_TRUE(window.scoreCard()->isEnabled());
}

// Plays a whole game with the mouse on the window and through TurnFlow on the in-memory
// board, from the same random sequence, comparing the two after every step.
void playAlongside(GameState stateForWindow, GameState stateForMemory, unsigned seed,
                   std::vector<int> repeatedDraws, std::vector<MessageBoxWatcher::Seen>* seen) {
    const int players = stateForWindow.playerCount;
    MemoryBoard memory(players);
    memory.setControlText(RollButton, testing::languageText(stateForWindow.languageFile, "roll"));
    std::vector<std::string> steps;
    {
        RepeatRandom random(repeatedDraws, seed);
        RandomScope scope(random);
        TurnFlow flow(memory, stateForMemory);
        const int turns = stateForMemory.computerMode ? 13 : 13 * players;
        for (int turn = 0; turn < turns; ++turn) {
            flow.roll();
            memory.setDieHeld(1 + turn % 5, true);
            flow.roll();
            int row = (turn * 7) % rowCount;
            while (memory.cellColourSet(row, flow.currentPlayer()))
                row = (row + 1) % rowCount;
            flow.book(row);
            steps.push_back(testing::snapshot(memory, players));
        }
    }
    ASSERT_EQ(memory.messages().size(), 1u);

    RepeatRandom random(repeatedDraws, seed);
    RandomScope scope(random);
    MessageBoxWatcher watcher;
    TestGame game(stateForWindow);
    MainWindow& window = game.window();
    window.show();
    const int turns = stateForWindow.computerMode ? 13 : 13 * players;
    for (int turn = 0; turn < turns; ++turn) {
        EXPECT_TRUE(watcher.seen().empty()) << turn;
        clickRoll(window);
        QTest::mouseClick(window.die(1 + turn % 5), Qt::LeftButton);
        clickRoll(window);
        const int player = game.turnFlow().currentPlayer();
        int row = (turn * 7) % rowCount;
        while (window.board().cellColourSet(row, player))
            row = (row + 1) % rowCount;
        clickRow(window, row);
        ASSERT_EQ(testing::snapshot(window.board(), players), steps[std::size_t(turn)])
            << "turn " << turn;
    }
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].title, "");
    EXPECT_EQ(watcher.seen()[0].text.toStdString(), memory.messages()[0].second);
    for (int p = 1; p <= players; ++p) {
        EXPECT_EQ(stateForWindow.playerProgress[std::size_t(p)][1], 13);
    }
    // After the end the roll button still works, but nothing more can be booked.
    clickRoll(window);
    clickRoll(window);
    for (int row = 0; row < rowCount; ++row) {
        clickRow(window, row);
    }
    EXPECT_EQ(watcher.seen().size(), 1u);
    *seen = watcher.seen();
}

TEST_F(MainWindowTest, AWholeThreePlayerGameNamesTheWinner) {
    std::vector<MessageBoxWatcher::Seen> seen;
    playAlongside(testing::gameState(3), testing::gameState(3), 2024, {}, &seen);
    ASSERT_EQ(seen.size(), 1u);
    const std::string win = testing::languageText("en.lang", "win");
    EXPECT_TRUE(seen[0].text.endsWith(QString::fromStdString(" " + win)));
    EXPECT_TRUE(seen[0].text.startsWith("Ann ") || seen[0].text.startsWith("Bob ") ||
                seen[0].text.startsWith("Cid "));
}

TEST_F(MainWindowTest, EqualDiceAndEqualChoicesEndInATie) {
    // Every turn throws the same dice (ten draws per turn: nothing is held), and both players
    // book the rows from the top down, so the totals are equal.
    GameState state = testing::gameState(2);
    const std::vector<int> sameEveryTurn = {0, 0, 1, 1, 2, 0, 3, 1, 2, 5};
    RepeatRandom random(sameEveryTurn);
    RandomScope scope(random);
    MessageBoxWatcher watcher;
    TestGame game(state);
    MainWindow& window = game.window();
    window.show();
    for (int turn = 0; turn < 26; ++turn) {
        clickRoll(window);
        clickRoll(window);
        const int player = game.turnFlow().currentPlayer();
        int row = 0;
        while (window.board().cellColourSet(row, player))
            ++row;
        clickRow(window, row);
    }
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(window.board().cellText(totalRow, 1), window.board().cellText(totalRow, 2));
    EXPECT_EQ(watcher.seen()[0].text.toStdString(), testing::languageText("en.lang", "tie"));
    EXPECT_EQ(watcher.seen()[0].title, "");
}

TEST_F(MainWindowTest, AWholeGameAgainstTheComputer) {
    std::vector<MessageBoxWatcher::Seen> seen;
    playAlongside(testing::gameState(2, 1), testing::gameState(2, 1), 77, {}, &seen);
    ASSERT_EQ(seen.size(), 1u);
}

TEST_F(MainWindowTest, AfterThePersonsBookingTheComputerHasPlayed) {
    RepeatRandom random({}, 5);
    RandomScope scope(random);
    GameState state = testing::gameState(2, 1);
    TestGame game(state);
    MainWindow& window = game.window();
    window.show();
    clickRoll(window);
    clickRoll(window);
    clickRow(window, 13);
    EXPECT_EQ(window.turnLabel()->text(), "Ann");
    int computerBooked = 0;
    for (int row = 0; row < rowCount; ++row) {
        if (row != bonusRow && row != totalRow && window.board().cellColourSet(row, 2)) {
            ++computerBooked;
            EXPECT_EQ(window.scoreCard()->item(row, 2)->background().color(), QColor(255, 102, 51));
        }
    }
    EXPECT_EQ(computerBooked, 1);
    for (int die = 1; die <= 5; ++die) {
        EXPECT_EQ(window.die(die)->text(), "");
        EXPECT_FALSE(window.die(die)->isChecked());
    }
    EXPECT_TRUE(window.rollButton()->isEnabled());
    EXPECT_FALSE(window.scoreCard()->isEnabled());
}
// The pause is a timer the window runs for the shell: the window shows the computer's hand,
// takes nothing from the player meanwhile, and the person's turn comes when it is over. The
// close box ends even the longest pause at once.
TEST_F(MainWindowTest, ThePauseRunsOnATimerAndTheCloseBoxEndsIt) {
    for (const int delay : {300, 2147483647}) {
        SCOPED_TRACE(delay);
        RepeatRandom random({}, 9);
        RandomScope scope(random);
        GameState state = testing::gameState(2, 1);
        state.delayMs = delay;
        MessageBoxWatcher watcher;
        TestGame game(state);
        MainWindow& window = game.window();
        window.show();
        clickRoll(window);
        clickRoll(window);
        clickRow(window, 0);
        ASSERT_TRUE(game.app().shell().pausing());
        EXPECT_EQ(window.turnLabel()->text(), "Computer");
        QTest::mouseClick(window.die(3), Qt::LeftButton);
        EXPECT_FALSE(window.die(3)->isChecked());
        if (delay > 1000) {
            EXPECT_TRUE(window.close());
            EXPECT_FALSE(window.isVisible());
            continue;
        }
        QDeadlineTimer deadline(20000);
        while (game.app().shell().pausing() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
        }
        ASSERT_FALSE(game.app().shell().pausing()) << "the pause did not end within 20 s";
        EXPECT_EQ(window.turnLabel()->text(), "Ann");
        EXPECT_TRUE(window.rollButton()->isEnabled());
    }
}

}  // namespace
}  // namespace quintaro
