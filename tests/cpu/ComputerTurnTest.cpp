#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cpu/ComputerTurn.h"
#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "rules/Scoring.h"
#include "tests/rules/ScriptedRandom.h"
#include "tests/rules/TempLanguageDir.h"

namespace quintaro {
namespace {

using testing::ScriptedRandom;
using testing::TempLanguageDir;
using namespace testing;  // ScriptFace: A, K, Q, J, T (ten), N (nine)

// Keeps every text set on a control, in order.
class RecordingBoard : public MemoryBoard {
  public:
    RecordingBoard() : MemoryBoard(2) {}
    void setControlText(int control, const std::string& text) override {
        log.emplace_back(control, text);
        MemoryBoard::setControlText(control, text);
    }
    std::vector<std::pair<int, std::string>> log;
};

const char* const languageFile =
    "hands0 = Nothing\r\nhands1 = Five of a Kind\r\nhands2 = Four of a Kind\r\n"
    "hands3 = Full House\r\nhands4 = Straight\r\nhands5 = Three of a Kind\r\n"
    "hands6 = Two Pair\r\nhands7 = One Pair\r\n";

class ComputerTurnTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("en.lang", languageFile);
        state.playerCount = 2;
        state.computerMode = 1;
        state.languageFile = "en.lang";
        state.playerNames = {"", "Ann", "Computer", "", "", ""};
        state.handNames = {"h0", "h1", "h2", "h3", "h4", "h5", "h6", "h7", ""};
    }

    void bookBefore(const std::set<int>& rows, const std::string& text = "1") {
        for (int row : rows) {
            board.setCellText(row, computerColumn, text);
            board.setCellColour(row, computerColumn, bookedCellColour);
        }
    }

    // The rows of the computer's column that were booked by the turn (not before it).
    std::map<int, std::string> newBookings(const std::set<int>& before) const {
        std::map<int, std::string> booked;
        for (int row = 0; row < rowCount; ++row) {
            if (row != bonusRow && row != totalRow && before.count(row) == 0 &&
                board.cellColourSet(row, computerColumn)) {
                booked[row] = board.cellText(row, computerColumn);
            }
        }
        return booked;
    }

    std::string dice() const {
        std::string shown;
        for (int die = 1; die <= 5; ++die) {
            shown += board.controlText(die) + (die < 5 ? "," : "");
        }
        return shown;
    }

    TempLanguageDir dir;
    GameState state;
    RecordingBoard board;
};

// ---------------------------------------------------------------- normal level

TEST_F(ComputerTurnTest, NormalLevelRollsOnceAndBooksWithoutTouchingTheRest) {
    ScriptedRandom random{Q, Q, K, A, J};
    computerTurn(board, state);
    EXPECT_EQ(random.maxima(), std::vector<int>(5, 5));
    EXPECT_EQ(dice(), "Q,Q,K,A,J");
    EXPECT_EQ(board.controlText(HandLabel), "One Pair");
    EXPECT_EQ(newBookings({}), (std::map<int, std::string>{{7, "1"}}));
    // The caller counts the booking and updates bonus and total.
    EXPECT_EQ(state.playerProgress[2][1], 0);
    EXPECT_EQ(board.cellText(bonusRow, computerColumn), "");
    EXPECT_EQ(board.cellText(totalRow, computerColumn), "");
    for (int row = 0; row < rowCount; ++row) {
        EXPECT_EQ(board.cellText(row, 1), "");
    }
    for (int die = 1; die <= 5; ++die) {
        EXPECT_FALSE(board.dieHeld(die));
    }
}

TEST_F(ComputerTurnTest, NoHandIsRolledAgainUntilThereIsACombination) {
    ScriptedRandom random{A, K, Q, J, N, N, J, Q, K, A, T, T, K, A, J};
    computerTurn(board, state);
    EXPECT_EQ(random.maxima(), std::vector<int>(15, 5));
    EXPECT_EQ(dice(), "10,10,K,A,J");
    EXPECT_EQ(newBookings({}), (std::map<int, std::string>{{7, "1"}}));
    // Each repetition shows its own hand name; the last one stays.
    std::vector<std::string> names;
    for (const auto& [control, text] : board.log) {
        if (control == HandLabel) {
            names.push_back(text);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Nothing", "Nothing", "One Pair"}));
}

TEST_F(ComputerTurnTest, StrongerLevelOnlyWhenTheSettingIsOne) {
    for (int level : {0, 2, -1, 7}) {
        state.strongerCPU = level;
        MemoryBoard fresh(2);
        ScriptedRandom random{Q, Q, K, A, J};
        computerTurn(fresh, state);
        EXPECT_EQ(random.maxima(), std::vector<int>(5, 5)) << "level " << level;
        EXPECT_EQ(fresh.cellText(7, computerColumn), "1");
        EXPECT_EQ(currentHandString(fresh), "QQKAJ");
    }
}

// ---------------------------------------------------------------- row choice

struct ChoiceCase {
    std::string name;
    std::vector<int> roll;
    std::set<int> bookedBefore;
    std::map<int, std::string> booked;  // what the turn books, empty when nothing
};

TEST_F(ComputerTurnTest, RowChoicePreferencesThenUpperRowsThenStrikes) {
    const std::set<int> allButFive = {0, 1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 13};
    const std::set<int> fiveAndLower = {5, 7, 8, 9, 10, 11, 12, 13};
    const std::vector<ChoiceCase> cases = {
        // Five of a kind: 13, 12, 9, 8, 7 and never the full house row.
        {"5K", {A, A, A, A, A}, {}, {{13, "5"}}},
        {"5K 13", {A, A, A, A, A}, {13}, {{12, "4"}}},
        {"5K 13 12", {A, A, A, A, A}, {13, 12}, {{9, "3"}}},
        {"5K 13 12 9", {A, A, A, A, A}, {13, 12, 9}, {{8, "2"}}},
        {"5K 13 12 9 8", {A, A, A, A, A}, {13, 12, 9, 8}, {{7, "1"}}},
        {"5K to upper", {A, A, A, A, A}, {13, 12, 9, 8, 7}, {{5, "5"}}},
        {"5K to strike", {T, T, T, T, T}, {13, 12, 9, 8, 7, 1}, {{11, "0"}}},
        {"4K", {N, Q, Q, Q, Q}, {}, {{12, "4"}}},
        {"4K 12", {N, Q, Q, Q, Q}, {12}, {{9, "3"}}},
        {"4K to upper", {N, Q, Q, Q, Q}, {12, 9, 8, 7}, {{3, "4"}}},
        {"4K upper taken", {N, Q, Q, Q, Q}, {12, 9, 8, 7, 3}, {{0, "1"}}},
        {"FH", {A, T, T, T, A}, {}, {{11, "4"}}},
        {"FH 11", {A, T, T, T, A}, {11}, {{9, "3"}}},
        {"FH 11 9", {A, T, T, T, A}, {11, 9}, {{8, "2"}}},
        {"FH to upper", {A, T, T, T, A}, {11, 9, 8, 7}, {{1, "3"}}},
        {"FH upper tens taken", {A, T, T, T, A}, {11, 9, 8, 7, 1}, {{5, "2"}}},
        // Straight with its row taken: one die per face, A K Q J 10 9 order.
        {"ST", {N, K, T, Q, J}, {}, {{10, "4"}}},
        {"ST 10", {N, K, T, Q, J}, {10}, {{4, "1"}}},
        {"ST 10 K", {N, K, T, Q, J}, {10, 4}, {{3, "1"}}},
        {"ST 10 K Q", {N, K, T, Q, J}, {10, 4, 3}, {{2, "1"}}},
        {"ST 10 K Q J", {N, K, T, Q, J}, {10, 4, 3, 2}, {{1, "1"}}},
        {"ST 10 K Q J T", {N, K, T, Q, J}, {10, 4, 3, 2, 1}, {{0, "1"}}},
        {"ST aces free but absent", {N, K, T, Q, J}, {10, 4, 3, 2, 1, 0}, {{13, "0"}}},
        {"ST high", {A, J, K, Q, T}, {10}, {{5, "1"}}},
        {"3K", {K, J, J, A, J}, {}, {{9, "3"}}},
        {"3K 9", {K, J, J, A, J}, {9}, {{8, "2"}}},
        {"3K 9 8", {K, J, J, A, J}, {9, 8}, {{7, "1"}}},
        {"3K to upper", {K, J, J, A, J}, {9, 8, 7}, {{2, "3"}}},
        {"3K upper J taken", {K, J, J, A, J}, {9, 8, 7, 2}, {{5, "1"}}},
        {"2P", {N, T, A, N, A}, {}, {{8, "2"}}},
        {"2P 8", {N, T, A, N, A}, {8}, {{7, "1"}}},
        {"2P to upper", {N, T, A, N, A}, {8, 7}, {{5, "2"}}},
        {"2P upper A taken", {N, T, A, N, A}, {8, 7, 5}, {{0, "2"}}},
        {"2P upper A 9 taken", {N, T, A, N, A}, {8, 7, 5, 0}, {{1, "1"}}},
        {"P", {Q, Q, K, A, J}, {}, {{7, "1"}}},
        {"P queens", {Q, Q, K, A, J}, {7}, {{3, "2"}}},
        {"P queens taken", {Q, Q, K, A, J}, {7, 3}, {{5, "1"}}},
        // Strikes: 13 down to 7, then 5 down to 0; rows 6 and 14 never.
        {"strike 13", {Q, Q, K, A, J}, {7, 2, 3, 4, 5}, {{13, "0"}}},
        {"strike 12", {Q, Q, K, A, J}, {7, 2, 3, 4, 5, 13}, {{12, "0"}}},
        {"strike 8", {Q, Q, K, A, J}, {7, 2, 3, 4, 5, 13, 12, 11, 10, 9}, {{8, "0"}}},
        {"strike 1", {Q, Q, K, A, J}, {7, 2, 3, 4, 5, 13, 12, 11, 10, 9, 8}, {{1, "0"}}},
        {"strike 0", {Q, Q, K, A, J}, {7, 2, 3, 4, 5, 13, 12, 11, 10, 9, 8, 1}, {{0, "0"}}},
        {"strike 5 before 0", {N, N, N, T, T}, {11, 9, 8, 7, 0, 1, 13, 12, 10}, {{5, "0"}}},
        {"only 5 free, pair", {Q, Q, K, A, J}, allButFive, {{5, "1"}}},
        {"only 5 free, absent", {N, N, K, Q, J}, allButFive, {{5, "0"}}},
        {"full card", {Q, Q, K, A, J}, {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13}, {}},
        {"only upper free", {N, N, N, N, T}, fiveAndLower, {{0, "4"}}},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        board = RecordingBoard();
        bookBefore(c.bookedBefore, "9");
        {
            ScriptedRandom random(c.roll);
            computerTurn(board, state);
        }
        EXPECT_EQ(newBookings(c.bookedBefore), c.booked);
        for (int row : c.bookedBefore) {
            EXPECT_EQ(board.cellText(row, computerColumn), "9") << "row " << row;
        }
        EXPECT_EQ(board.cellText(bonusRow, computerColumn), "");
        EXPECT_EQ(board.cellText(totalRow, computerColumn), "");
        EXPECT_EQ(board.cellColour(bonusRow, computerColumn), fixedRowColour);
        EXPECT_EQ(board.cellColour(totalRow, computerColumn), fixedRowColour);
    }
}

TEST_F(ComputerTurnTest, TextWithoutColourCountsAsTaken) {
    board.setCellText(7, computerColumn, "1");
    ScriptedRandom random{Q, Q, K, A, J};
    computerTurn(board, state);
    EXPECT_EQ(board.cellText(7, computerColumn), "1");
    EXPECT_EQ(board.cellColour(7, computerColumn), bookedCellColour);
    EXPECT_EQ(newBookings({7}), (std::map<int, std::string>{{3, "2"}}));
}

// ---------------------------------------------------------------- stronger level

TEST_F(ComputerTurnTest, StrongerLevelDrawsFiveDiceThenThreeThenOneExample) {
    state.strongerCPU = 1;
    ScriptedRandom random{Q, Q, Q, Q, A, 1, 2, 3, 4};  // four of a kind stays, example 4
    computerTurn(board, state);
    EXPECT_EQ(random.maxima(), (std::vector<int>{5, 5, 5, 5, 5, 5, 5, 5, 4}));
    EXPECT_EQ(dice(), "10,10,10,10,A");
    EXPECT_EQ(board.controlText(HandLabel), "Four of a Kind");
    EXPECT_EQ(newBookings({}), (std::map<int, std::string>{{12, "4"}}));
}

TEST_F(ComputerTurnTest, StrongerNoHandBecomesAStraightOneTimeInSix) {
    state.strongerCPU = 1;
    ScriptedRandom random{A, K, Q, J, N, 0, 3, 3, 3};
    computerTurn(board, state);
    EXPECT_EQ(dice(), "9,K,10,Q,J");
    EXPECT_EQ(board.controlText(HandLabel), "Straight");
    EXPECT_EQ(newBookings({}), (std::map<int, std::string>{{10, "4"}}));
}

TEST_F(ComputerTurnTest, StrongerNoHandOtherwiseBlanksTheDiceAndPlaysAgain) {
    state.strongerCPU = 1;
    // No hand, not improved, blank example; then a pair kept as a pair, example 0.
    ScriptedRandom random{A, K, Q, J, N, 1, 0, 0, 2, Q, Q, K, A, J, 1, 1, 1, 0};
    computerTurn(board, state);
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "A"},
        {2, "K"},
        {3, "Q"},
        {4, "J"},
        {5, "9"},  // first roll
        {1, ""},
        {2, ""},
        {3, ""},
        {4, ""},
        {5, ""},  // no hand: blank dice
        {HandLabel, "Nothing"},
        {1, "Q"},
        {2, "Q"},
        {3, "K"},
        {4, "A"},
        {5, "J"},  // second roll
        {1, "A"},
        {2, "10"},
        {3, "Q"},
        {4, "A"},
        {5, "J"},  // "A10QAJ"
        {HandLabel, "One Pair"},
    };
    EXPECT_EQ(board.log, expected);
    EXPECT_EQ(newBookings({}), (std::map<int, std::string>{{7, "1"}}));
}

TEST_F(ComputerTurnTest, StrongerLevelShowsAndBooksEveryExampleHand) {
    state.strongerCPU = 1;
    // A roll of each category; draws 1, 1, 1 keep every category as it is.
    const std::map<int, std::vector<int>> rolls = {
        {FiveOfAKind, {K, K, K, K, K}}, {FourOfAKind, {K, K, K, K, A}},
        {FullHouse, {K, K, K, A, A}},   {Straight, {A, K, Q, J, T}},
        {Trips, {K, K, K, A, Q}},       {TwoPair, {K, K, A, A, Q}},
        {Pair, {K, K, A, Q, J}},
    };
    const std::map<int, std::pair<int, std::string>> firstChoice = {
        {FiveOfAKind, {13, "5"}}, {FourOfAKind, {12, "4"}}, {FullHouse, {11, "4"}},
        {Straight, {10, "4"}},    {Trips, {9, "3"}},        {TwoPair, {8, "2"}},
        {Pair, {7, "1"}},
    };
    const std::set<std::string> faces = {"A", "K", "Q", "J", "10", "9"};
    for (const auto& [category, roll] : rolls) {
        for (int example = 0; example < 5; ++example) {
            const std::string hand(exampleHands[std::size_t(category)][std::size_t(example)]);
            SCOPED_TRACE(hand);
            board = RecordingBoard();
            std::vector<int> draws = roll;
            draws.insert(draws.end(), {1, 1, 1, example});
            {
                ScriptedRandom random(draws);
                computerTurn(board, state);
            }
            EXPECT_EQ(currentHandString(board), hand);
            for (int die = 1; die <= 5; ++die) {
                EXPECT_EQ(faces.count(board.controlText(die)), 1u) << "die " << die;
            }
            EXPECT_EQ(newBookings({}), (std::map<int, std::string>{firstChoice.at(category)}));
        }
    }
}

TEST_F(ComputerTurnTest, StrongerUpperFallbackCountsTheDrawnHandNotTheRolledDice) {
    state.strongerCPU = 1;
    bookBefore({11, 9, 8, 7});
    // Rolled A A A K K, a full house kept as one; example 4 is "J99JJ".
    ScriptedRandom random{A, A, A, K, K, 1, 1, 1, 4};
    computerTurn(board, state);
    EXPECT_EQ(dice(), "J,9,9,J,J");
    EXPECT_EQ(newBookings({11, 9, 8, 7}), (std::map<int, std::string>{{2, "3"}}));
    EXPECT_EQ(state.faceCounts[3], 3);  // jacks
    EXPECT_EQ(state.faceCounts[5], 2);  // nines
    EXPECT_EQ(state.faceCounts[0], 0);  // no aces in the drawn hand
}

TEST_F(ComputerTurnTest, StrongerTripsCanBecomeFiveOfAKind) {
    state.strongerCPU = 1;
    ScriptedRandom random{K, J, J, A, J, 0, 0, 5, 1};
    computerTurn(board, state);
    EXPECT_EQ(dice(), "A,A,A,A,A");
    EXPECT_EQ(board.controlText(HandLabel), "Five of a Kind");
    EXPECT_EQ(newBookings({}), (std::map<int, std::string>{{13, "5"}}));
}

// ---------------------------------------------------------------- the hand's name

struct NameCase {
    std::string fileName;
    std::string content;
    std::string expected;
};

TEST_F(ComputerTurnTest, HandNameFallsBackToTheStartUpName) {
    const std::vector<NameCase> cases = {
        {"en.lang", languageFile, "Full House"},
        {"de.lang", "hands1 = Fuenf\r\nhands7 = Paar\r\n", "h3"},
        {"bg.lang", "hands3 =\r\n", ""},  // present but empty: no fallback
        {"xx.lang", "", "h3"},            // no such file (nothing written)
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.fileName);
        if (!c.content.empty()) {
            dir.write(c.fileName, c.content);
        }
        state.languageFile = c.fileName;
        board = RecordingBoard();
        ScriptedRandom random{K, K, K, A, A};
        computerTurn(board, state);
        EXPECT_EQ(board.controlText(HandLabel), c.expected);
        EXPECT_EQ(board.cellText(11, computerColumn), "4");
    }
}

}  // namespace
}  // namespace quintaro
