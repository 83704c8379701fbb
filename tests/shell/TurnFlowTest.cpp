// The turn flow on the in-memory board: two rolls, one booking, the turn passing on, and the
// computer's turn with its pause.
#include "shell/TurnFlow.h"

#include <gtest/gtest.h>

#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "rules/Scoring.h"
#include "tests/support/GameSupport.h"

namespace quintaro {
namespace {

using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;

int firstFreeRow(const Board& board, int column) {
    for (int row = 0; row < rowCount; ++row) {
        if (!board.cellColourSet(row, column)) {
            return row;
        }
    }
    return -1;
}

int bookedCells(const Board& board, int column) {
    int booked = 0;
    for (int row = 0; row < rowCount; ++row) {
        if (row != bonusRow && row != totalRow && board.cellColourSet(row, column)) {
            ++booked;
        }
    }
    return booked;
}

struct TurnFlowTest : ::testing::Test {
    ScratchFolder folder;
    RepeatRandom random{{}, 7};
    RandomScope scope{random};
};

TEST_F(TurnFlowTest, ATurnIsTwoRollsThenTheCardOpens) {
    GameState state = testing::gameState(2);
    MemoryBoard board(2);
    TurnFlow flow(board, state);
    int sounds = 0;
    TurnFlow withSound(board, state, {[&] { ++sounds; }, {}});

    withSound.roll();
    EXPECT_EQ(sounds, 1);
    EXPECT_EQ(withSound.rollCount(), 1);
    EXPECT_TRUE(board.controlEnabled(RollButton));
    EXPECT_FALSE(board.controlEnabled(ScoreCard));
    for (int die = 1; die <= 5; ++die) {
        EXPECT_FALSE(board.controlText(die).empty());
    }
    EXPECT_EQ(board.controlText(HandLabel), "");

    withSound.roll();
    EXPECT_EQ(sounds, 2);
    EXPECT_EQ(withSound.rollCount(), 0);
    EXPECT_FALSE(board.controlEnabled(RollButton));
    EXPECT_TRUE(board.controlEnabled(ScoreCard));
    const std::string expected =
        testing::languageText("en.lang", "hands" + std::to_string(classifyHand(board)));
    EXPECT_EQ(board.controlText(HandLabel), expected);
    EXPECT_FALSE(expected.empty());
}

TEST_F(TurnFlowTest, HeldDiceKeepTheirFacesAndTakeNoDraw) {
    GameState state = testing::gameState(2);
    MemoryBoard board(2);
    TurnFlow flow(board, state);
    flow.roll();
    const std::string first = board.controlText(1), fourth = board.controlText(4);
    board.setDieHeld(1, true);
    board.setDieHeld(4, true);
    const int before = random.draws();
    flow.roll();
    EXPECT_EQ(random.draws() - before, 3);
    EXPECT_EQ(board.controlText(1), first);
    EXPECT_EQ(board.controlText(4), fourth);
}

TEST_F(TurnFlowTest, ClicksThatBookNothingKeepTheTurn) {
    GameState state = testing::gameState(2);
    MemoryBoard board(2);
    TurnFlow flow(board, state);
    flow.roll();
    flow.roll();
    ASSERT_EQ(flow.currentPlayer(), 1);
    for (int row : {-1, bonusRow, totalRow}) {
        flow.book(row);
        EXPECT_EQ(flow.currentPlayer(), 1) << row;
        EXPECT_TRUE(board.controlEnabled(ScoreCard)) << row;
        EXPECT_EQ(state.playerProgress[1][1], 0) << row;
    }
    flow.book(3);
    EXPECT_EQ(flow.currentPlayer(), 2);
    // Player 2 may book the row player 1 took, but not twice.
    flow.roll();
    flow.roll();
    flow.book(3);
    EXPECT_EQ(flow.currentPlayer(), 1);
    flow.roll();
    flow.roll();
    flow.book(3);
    EXPECT_EQ(flow.currentPlayer(), 1);
    EXPECT_TRUE(board.controlEnabled(ScoreCard));
}

TEST_F(TurnFlowTest, TheTurnGoesRoundAndTheDiceAreCleared) {
    GameState state = testing::gameState(3);
    MemoryBoard board(3);
    TurnFlow flow(board, state);
    const std::vector<std::pair<int, std::string>> order = {
        {2, "Bob"}, {3, "Cid"}, {1, "Ann"}, {2, "Bob"}};
    for (const auto& [next, name] : order) {
        flow.roll();
        board.setDieHeld(2, true);
        flow.roll();
        flow.book(firstFreeRow(board, flow.currentPlayer()));
        EXPECT_EQ(flow.currentPlayer(), next);
        EXPECT_EQ(board.controlText(TurnLabel), name);
        EXPECT_EQ(board.controlText(HandLabel), "");
        EXPECT_TRUE(board.controlEnabled(RollButton));
        EXPECT_FALSE(board.controlEnabled(ScoreCard));
        for (int die = 1; die <= 5; ++die) {
            EXPECT_EQ(board.controlText(die), "");
            EXPECT_FALSE(board.dieHeld(die));
        }
    }
    EXPECT_EQ(state.playerProgress[1][1], 2);
    EXPECT_EQ(state.playerProgress[2][1], 1);
    EXPECT_EQ(state.playerProgress[3][1], 1);
}

TEST_F(TurnFlowTest, ComputerPlaysRightAfterThePersonWithoutPause) {
    GameState state = testing::gameState(2, 1);
    MemoryBoard board(2);
    int pauses = 0;
    TurnFlow flow(board, state, {{}, [&](int) { ++pauses; }});
    flow.roll();
    flow.roll();
    flow.book(0);
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(flow.currentPlayer(), 1);
    EXPECT_EQ(board.controlText(TurnLabel), "Ann");
    EXPECT_EQ(bookedCells(board, 2), 1);
    EXPECT_EQ(state.playerProgress[2][1], 1);
    EXPECT_EQ(cellValue(board, totalRow, 2), [&] {
        int sum = 0;
        for (int row = 0; row < totalRow; ++row)
            sum += cellValue(board, row, 2);
        return sum;
    }());
    for (int die = 1; die <= 5; ++die) {
        EXPECT_EQ(board.controlText(die), "");
    }
    EXPECT_EQ(board.controlText(HandLabel), "");
    EXPECT_TRUE(board.controlEnabled(RollButton));
}

TEST_F(TurnFlowTest, ThePauseShowsTheComputersHand) {
    struct Case {
        int delayMs;
        int expectedPauses;
    };
    for (const Case c : {Case{1500, 1}, Case{0, 0}, Case{-2000, 0}}) {
        GameState state = testing::gameState(2, 1);
        state.delayMs = c.delayMs;
        MemoryBoard board(2);
        int pauses = 0;
        TurnFlow flow(board, state, {{}, [&](int milliseconds) {
                                         ++pauses;
                                         EXPECT_EQ(milliseconds, c.delayMs);
                                         EXPECT_EQ(board.controlText(TurnLabel), "Computer");
                                         EXPECT_FALSE(board.controlText(HandLabel).empty());
                                         EXPECT_FALSE(currentHandString(board).empty());
                                         // Counted only after the pause.
                                         EXPECT_EQ(state.playerProgress[2][1], 0);
                                     }});
        flow.roll();
        flow.roll();
        flow.book(13);
        EXPECT_EQ(pauses, c.expectedPauses) << c.delayMs;
        // The turn goes on only when the pause is over.
        EXPECT_EQ(flow.pausing(), c.expectedPauses == 1);
        EXPECT_EQ(board.controlEnabled(RollButton), c.expectedPauses == 0);
        flow.pauseEnded();
        EXPECT_EQ(state.playerProgress[2][1], 1);
        EXPECT_EQ(board.controlText(TurnLabel), "Ann");
        EXPECT_TRUE(board.controlEnabled(RollButton));
    }
}

TEST_F(TurnFlowTest, AWholeGameEndsWithOneMessageAndNoMoreBookings) {
    for (int computerMode : {0, 1}) {
        const int players = computerMode ? 2 : 3;
        GameState state = testing::gameState(players, computerMode);
        MemoryBoard board(players);
        TurnFlow flow(board, state);
        const int personTurns = computerMode ? 13 : 13 * players;
        for (int turn = 0; turn < personTurns; ++turn) {
            EXPECT_TRUE(board.messages().empty()) << turn;
            flow.roll();
            flow.roll();
            flow.book(firstFreeRow(board, flow.currentPlayer()));
        }
        ASSERT_EQ(board.messages().size(), 1u) << computerMode;
        EXPECT_EQ(board.messages()[0].first, "");
        for (int p = 1; p <= players; ++p) {
            EXPECT_EQ(bookedCells(board, p), 13);
            EXPECT_EQ(state.playerProgress[std::size_t(p)][1], 13);
        }
        // The roll button still works, but nothing can be booked any more.
        flow.roll();
        flow.roll();
        EXPECT_TRUE(board.controlEnabled(ScoreCard));
        for (int row = 0; row < rowCount; ++row) {
            flow.book(row);
        }
        EXPECT_EQ(board.messages().size(), 1u);
        EXPECT_EQ(flow.currentPlayer(), 1);
    }
}

}  // namespace
}  // namespace quintaro
