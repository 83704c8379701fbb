#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "rules/Scoring.h"

namespace quintaro {
namespace {

using Dice = std::array<std::string, 5>;

// The points a hand writes into each bookable row.
struct RowPointsCase {
    Dice dice;
    int category;
    std::array<int, 6> upper;  // rows 0..5: nines, tens, jacks, queens, kings, aces
    std::array<int, 7> lower;  // rows 7..13: pair, two pair, trips, straight, FH, 4K, 5K
};

TEST(BookRow, PointsOfEveryRowForEveryCategory) {
    const std::vector<RowPointsCase> cases = {
        {{"A", "K", "Q", "J", "9"}, NoHand, {1, 0, 1, 1, 1, 1}, {0, 0, 0, 0, 0, 0, 0}},
        {{"10", "10", "10", "10", "10"}, FiveOfAKind, {0, 5, 0, 0, 0, 0}, {1, 2, 3, 0, 0, 4, 5}},
        {{"A", "A", "A", "A", "A"}, FiveOfAKind, {0, 0, 0, 0, 0, 5}, {1, 2, 3, 0, 0, 4, 5}},
        {{"9", "Q", "Q", "Q", "Q"}, FourOfAKind, {1, 0, 0, 4, 0, 0}, {1, 2, 3, 0, 0, 4, 0}},
        {{"A", "10", "10", "10", "A"}, FullHouse, {0, 3, 0, 0, 0, 2}, {1, 2, 3, 0, 4, 0, 0}},
        {{"9", "K", "10", "Q", "J"}, Straight, {1, 1, 1, 1, 1, 0}, {0, 0, 0, 4, 0, 0, 0}},
        {{"A", "J", "K", "Q", "10"}, Straight, {0, 1, 1, 1, 1, 1}, {0, 0, 0, 4, 0, 0, 0}},
        {{"K", "J", "J", "A", "J"}, Trips, {0, 0, 3, 0, 1, 1}, {1, 2, 3, 0, 0, 0, 0}},
        {{"A", "A", "K", "A", "9"}, Trips, {1, 0, 0, 0, 1, 3}, {1, 2, 3, 0, 0, 0, 0}},
        {{"9", "10", "A", "9", "A"}, TwoPair, {2, 1, 0, 0, 0, 2}, {1, 2, 0, 0, 0, 0, 0}},
        {{"K", "10", "Q", "Q", "J"}, Pair, {0, 1, 1, 2, 1, 0}, {1, 0, 0, 0, 0, 0, 0}},
        // Fewer than five faces shown: blank dice count for nothing.
        {{"K", "K", "", "", ""}, Pair, {0, 0, 0, 0, 2, 0}, {1, 0, 0, 0, 0, 0, 0}},
    };
    for (const RowPointsCase& c : cases) {
        for (int row = 0; row <= 13; ++row) {
            if (row == bonusRow) {
                continue;
            }
            MemoryBoard board(3);
            board.setDice(c.dice);
            ASSERT_EQ(classifyHand(board), c.category);
            const int expected =
                row < 6 ? c.upper[std::size_t(row)] : c.lower[std::size_t(row - 7)];
            const int column = 1 + row % 3;  // any player's column
            EXPECT_EQ(bookRow(board, column, row), 1);
            EXPECT_EQ(board.cellText(row, column), std::to_string(expected))
                << currentHandString(board) << " in row " << row;
            EXPECT_EQ(board.cellColour(row, column), bookedCellColour);
            // Nothing else on the card changes.
            for (int other = 0; other < rowCount; ++other) {
                for (int col = 1; col <= 3; ++col) {
                    if (other != row || col != column) {
                        EXPECT_EQ(board.cellText(other, col), "");
                    }
                }
            }
        }
    }
}

TEST(BookRow, RefusesRowsThatCannotBeBooked) {
    for (int row : {-1, -5, bonusRow, totalRow, 15, 99}) {
        MemoryBoard board(2);
        board.setDice({"A", "A", "A", "A", "A"});
        EXPECT_EQ(bookRow(board, 1, row), 0) << "row " << row;
        for (int r = 0; r < rowCount; ++r) {
            EXPECT_EQ(board.cellText(r, 1), "");
        }
        EXPECT_EQ(board.cellColour(bonusRow, 1), fixedRowColour);
        EXPECT_EQ(board.cellColour(totalRow, 1), fixedRowColour);
    }
}

TEST(BookRow, ColourNotTextMarksABookedCell) {
    MemoryBoard board(2);
    board.setDice({"A", "A", "K", "A", "9"});

    board.setCellText(5, 1, "2");
    board.setCellColour(5, 1, bookedCellColour);
    EXPECT_EQ(bookRow(board, 1, 5), 0);
    EXPECT_EQ(board.cellText(5, 1), "2");

    // Coloured but empty: booked all the same, whatever the colour.
    board.setCellColour(0, 1, Colour{1, 2, 3});
    EXPECT_EQ(bookRow(board, 1, 0), 0);
    EXPECT_EQ(board.cellText(0, 1), "");
    EXPECT_EQ(board.cellColour(0, 1), (Colour{1, 2, 3}));

    // Text without a colour is still free.
    board.setCellText(9, 1, "7");
    EXPECT_EQ(bookRow(board, 1, 9), 1);
    EXPECT_EQ(board.cellText(9, 1), "3");

    // Another player's booking leaves this player's cell free.
    EXPECT_EQ(bookRow(board, 2, 5), 1);
    EXPECT_EQ(board.cellText(5, 2), "3");

    // A second booking of the same cell is refused.
    EXPECT_EQ(bookRow(board, 2, 5), 0);
}

TEST(BookComputerCell, BooksOnlyFreeCellsOfTheComputersColumn) {
    MemoryBoard board(2);
    EXPECT_EQ(bookComputerCell(board, 12, 4), 1);
    EXPECT_EQ(board.cellText(12, computerColumn), "4");
    EXPECT_EQ(board.cellColour(12, computerColumn), bookedCellColour);
    EXPECT_EQ(board.cellText(12, 1), "");
    EXPECT_FALSE(board.cellColourSet(12, 1));

    EXPECT_EQ(bookComputerCell(board, 12, 0), 0);
    EXPECT_EQ(board.cellText(12, computerColumn), "4");

    for (int row : {bonusRow, totalRow, -1, 15}) {
        EXPECT_EQ(bookComputerCell(board, row, 3), 0) << "row " << row;
    }
    EXPECT_EQ(board.cellText(bonusRow, computerColumn), "");
    EXPECT_EQ(board.cellText(totalRow, computerColumn), "");

    EXPECT_EQ(bookComputerCell(board, 7, 0), 1);
    EXPECT_EQ(board.cellText(7, computerColumn), "0");
}

// One step of the upper-section choice for a hand, with some upper rows already booked.
struct UpperCase {
    std::string hand;
    std::set<int> booked;
    int result;
    int row;  // where the points went, when result is 1
    int points;
};

TEST(BookBestUpperRow, MostFrequentFaceThenHigherFaceAmongFreeRows) {
    const std::vector<UpperCase> cases = {
        {"KKQQ9", {}, 1, 4, 2},
        {"KKQQ9", {4}, 1, 3, 2},
        {"KKQQ9", {4, 3}, 1, 0, 1},
        {"KKQQ9", {4, 3, 0}, 0, -1, 0},  // aces, jacks and tens free but absent
        {"10101010A", {}, 1, 1, 4},
        {"10101010A", {1}, 1, 5, 1},
        {"JQAK10", {}, 1, 5, 1},
        {"JQAK10", {5, 4}, 1, 3, 1},
        {"99999", {}, 1, 0, 5},
        {"99999", {0}, 0, -1, 0},
        {"", {}, 0, -1, 0},
    };
    for (const UpperCase& c : cases) {
        MemoryBoard board(2);
        GameState state;
        for (int row : c.booked) {
            board.setCellText(row, computerColumn, "1");
            board.setCellColour(row, computerColumn, bookedCellColour);
        }
        EXPECT_EQ(bookBestUpperRow(board, state, c.hand), c.result) << c.hand;
        for (int row = 0; row < 6; ++row) {
            if (c.booked.count(row) != 0) {
                EXPECT_EQ(board.cellText(row, computerColumn), "1");
            } else if (row == c.row) {
                EXPECT_EQ(board.cellText(row, computerColumn), std::to_string(c.points));
                EXPECT_TRUE(board.cellColourSet(row, computerColumn));
            } else {
                EXPECT_FALSE(board.cellColourSet(row, computerColumn)) << c.hand << " row " << row;
            }
        }
        for (int row = 7; row <= 13; ++row) {
            EXPECT_FALSE(board.cellColourSet(row, computerColumn));
        }
    }
}

TEST(BookBestUpperRow, FillsTheFaceCounts) {
    MemoryBoard board(2);
    GameState state;
    state.faceCounts.fill(9);
    bookBestUpperRow(board, state, "KKQQ9");
    EXPECT_EQ(state.faceCounts, (std::array<int, 7>{0, 2, 2, 0, 0, 1, 9}));
    bookBestUpperRow(board, state, "910A9A");
    EXPECT_EQ(state.faceCounts, (std::array<int, 7>{2, 0, 0, 0, 1, 2, 9}));
}

TEST(RefreshBookedCells, MarksEveryBookableCellThatHoldsText) {
    MemoryBoard board(3);
    board.setCellText(0, 2, "1");
    board.setCellText(5, 2, "0");
    board.setCellText(13, 2, "5");
    board.setCellText(bonusRow, 2, "3");
    board.setCellText(totalRow, 2, "9");
    board.setCellText(4, 1, "2");
    board.setCellText(4, 3, "2");
    refreshBookedCells(board, 2);
    for (int row = 0; row < rowCount; ++row) {
        if (row == bonusRow || row == totalRow) {
            EXPECT_EQ(board.cellColour(row, 2), fixedRowColour);
        } else if (row == 0 || row == 5 || row == 13) {
            EXPECT_EQ(board.cellColour(row, 2), bookedCellColour) << "row " << row;
        } else {
            EXPECT_FALSE(board.cellColourSet(row, 2)) << "row " << row;
        }
    }
    EXPECT_FALSE(board.cellColourSet(4, 1));
    EXPECT_FALSE(board.cellColourSet(4, 3));
    EXPECT_EQ(board.cellText(0, 2), "1");
    EXPECT_EQ(board.cellText(totalRow, 2), "9");
}

struct BonusCase {
    std::array<std::string, 6> upper;
    std::string bonus;
    std::string total;
};

TEST(BonusAndTotal, BonusFromFifteenUpAndTotalOfRowsZeroToThirteen) {
    const std::vector<BonusCase> cases = {
        {{"3", "3", "3", "2", "2", "2"}, "3", "18"}, {{"3", "3", "3", "2", "2", "1"}, "", "14"},
        {{"5", "5", "5", "", "", ""}, "3", "18"},    {{"5", "5", "5", "5", "5", "5"}, "3", "33"},
        {{"", "", "", "", "", ""}, "", "0"},         {{"0", "0", "0", "0", "4", "5"}, "", "9"},
    };
    for (const BonusCase& c : cases) {
        MemoryBoard board(2);
        for (int row = 0; row < 6; ++row) {
            board.setCellText(row, 1, c.upper[std::size_t(row)]);
        }
        updateBonus(board, 1);
        updateTotal(board, 1);
        EXPECT_EQ(board.cellText(bonusRow, 1), c.bonus);
        EXPECT_EQ(board.cellText(totalRow, 1), c.total);
        EXPECT_EQ(board.cellColour(bonusRow, 1), fixedRowColour);
        EXPECT_EQ(board.cellText(bonusRow, 2), "");
        EXPECT_EQ(board.cellText(totalRow, 2), "");
    }
}

TEST(BonusAndTotal, BonusIsNeverRemoved) {
    MemoryBoard board(2);
    for (int row = 0; row < 6; ++row) {
        board.setCellText(row, 2, "3");
    }
    updateBonus(board, 2);
    ASSERT_EQ(board.cellText(bonusRow, 2), "3");
    for (int row = 0; row < 6; ++row) {
        board.setCellText(row, 2, "0");
    }
    updateBonus(board, 2);
    EXPECT_EQ(board.cellText(bonusRow, 2), "3");
}

TEST(BonusAndTotal, TotalIsThePlainSumOfTheColumn) {
    MemoryBoard board(2);
    const std::array<std::string, 6> upper = {"3", "3", "3", "2", "2", "2"};
    for (int row = 0; row < 6; ++row) {
        board.setCellText(row, 1, upper[std::size_t(row)]);
    }
    board.setCellText(13, 1, "5");
    updateBonus(board, 1);
    updateTotal(board, 1);
    EXPECT_EQ(board.cellText(totalRow, 1), "23");

    // The highest possible column.
    const std::array<std::string, 7> lower = {"1", "2", "3", "4", "4", "4", "5"};
    for (int row = 0; row < 6; ++row) {
        board.setCellText(row, 2, "5");
    }
    for (int row = 7; row <= 13; ++row) {
        board.setCellText(row, 2, lower[std::size_t(row - 7)]);
    }
    updateBonus(board, 2);
    updateTotal(board, 2);
    EXPECT_EQ(board.cellText(totalRow, 2), "56");

    // A rewritten total replaces the old one.
    board.setCellText(13, 1, "");
    updateTotal(board, 1);
    EXPECT_EQ(board.cellText(totalRow, 1), "18");
}

TEST(CellValue, EmptyAndNonNumericTextCountZero) {
    MemoryBoard board(2);
    const std::vector<std::pair<std::string, int>> cases = {{"", 0},    {"0", 0},   {"5", 5},
                                                            {"23", 23}, {"abc", 0}, {"4x", 4}};
    for (const auto& [text, value] : cases) {
        board.setCellText(3, 1, text);
        EXPECT_EQ(cellValue(board, 3, 1), value) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace quintaro
