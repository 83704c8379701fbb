#include "rules/Scoring.h"

#include <algorithm>
#include <array>
#include <limits>

#include "rules/Dice.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

constexpr int upperRowCount = 6;  // rows 0..5
constexpr int firstLowerRow = 7;
constexpr int lastLowerRow = 13;

bool isBookable(int row) {
    return (row >= 0 && row < upperRowCount) || (row >= firstLowerRow && row <= lastLowerRow);
}

// The face label counted by an upper row: row 0 nines up to row 5 aces.
std::string_view upperRowFace(int row) {
    return faceLabels[std::size_t(5 - row)];
}

struct LowerRow {
    int points;
    unsigned acceptedCategories;  // bit c set: category c scores the points
};

constexpr unsigned bit(int category) {
    return 1u << unsigned(category);
}

// Rows 7..13: Pair, Two Pair, Trips, Straight, Full House, 4 of a Kind, 5 of a Kind.
constexpr std::array<LowerRow, 7> lowerRows = {{
    {1,
     bit(Pair) | bit(TwoPair) | bit(Trips) | bit(FullHouse) | bit(FourOfAKind) | bit(FiveOfAKind)},
    {2, bit(TwoPair) | bit(Trips) | bit(FullHouse) | bit(FourOfAKind) | bit(FiveOfAKind)},
    {3, bit(Trips) | bit(FullHouse) | bit(FourOfAKind) | bit(FiveOfAKind)},
    {4, bit(Straight)},
    {4, bit(FullHouse)},
    {4, bit(FourOfAKind) | bit(FiveOfAKind)},
    {5, bit(FiveOfAKind)},
}};

void book(Board& board, int row, int column, int points) {
    board.setCellText(row, column, numberToText(points));
    board.setCellColour(row, column, bookedCellColour);
}

}  // namespace

int handRowPoints(std::string_view hand, int row) {
    if (!isBookable(row)) {
        return 0;
    }
    if (row < upperRowCount) {
        return countFace(hand, upperRowFace(row));
    }
    const LowerRow& scoring = lowerRows[std::size_t(row - firstLowerRow)];
    return (scoring.acceptedCategories & bit(classifyHandString(hand))) ? scoring.points : 0;
}

int cellValue(const Board& board, int row, int column) {
    return textToNumber(board.cellText(row, column));
}

int bookRow(Board& board, int column, int row) {
    if (!isBookable(row) || board.cellColourSet(row, column)) {
        return 0;
    }
    book(board, row, column, handRowPoints(currentHandString(board), row));
    return 1;
}

int bookComputerCell(Board& board, int row, int points) {
    if (row < 0 || row >= rowCount || board.cellColourSet(row, computerColumn)) {
        return 0;
    }
    book(board, row, computerColumn, points);
    return 1;
}

int bookBestUpperRow(Board& board, GameState& state, std::string_view hand) {
    for (int face = 0; face < upperRowCount; ++face) {
        state.faceCounts[std::size_t(face)] = countFace(hand, faceLabels[std::size_t(face)]);
    }
    // The face shown most often first; among equal counts the higher face.
    for (int count = 5; count >= 1; --count) {
        for (int face = 0; face < upperRowCount; ++face) {
            if (state.faceCounts[std::size_t(face)] == count &&
                bookComputerCell(board, 5 - face, count) == 1) {
                return 1;
            }
        }
    }
    return 0;
}

void refreshBookedCells(Board& board, int column) {
    for (int row = 0; row <= lastLowerRow; ++row) {
        if (isBookable(row) && !board.cellText(row, column).empty()) {
            board.setCellColour(row, column, bookedCellColour);
        }
    }
}

void updateBonus(Board& board, int column) {
    long long upperSum = 0;
    for (int row = 0; row < upperRowCount; ++row) {
        upperSum += cellValue(board, row, column);
    }
    // Below 15 the cell is left alone, so a bonus once written stays.
    if (upperSum >= 15) {
        board.setCellText(bonusRow, column, "3");
    }
}

void updateTotal(Board& board, int column) {
    // Summed wide: the cells are read back as text, whatever they hold.
    long long total = 0;
    for (int row = 0; row < totalRow; ++row) {
        total += cellValue(board, row, column);
    }
    total = std::clamp<long long>(total, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max());
    board.setCellText(totalRow, column, numberToText(int(total)));
}

}  // namespace quintaro
