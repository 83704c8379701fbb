#include "rules/Scoring.h"

#include <algorithm>
#include <array>
#include <limits>

#include "rules/Dice.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

// The face label counted by an upper row.
std::string_view upperRowFace(int row) {
    return faceLabels[std::size_t(scoreRows[std::size_t(row)].face)];
}

void book(Board& board, int row, int column, int points) {
    board.setCellText(row, column, numberToText(points));
    board.setCellColour(row, column, bookedCellColour);
}

}  // namespace

int handRowPoints(std::string_view hand, int row) {
    if (!isBookableRow(row)) {
        return 0;
    }
    return isUpperRow(row) ? countFace(hand, upperRowFace(row))
                           : lowerRowPoints(row, classifyHandString(hand));
}

int cellValue(const Board& board, int row, int column) {
    return textToNumber(board.cellText(row, column));
}

int bookRow(Board& board, int column, int row) {
    if (!isBookableRow(row) || isBooked(board, row, column)) {
        return 0;
    }
    book(board, row, column, handRowPoints(currentHandString(board), row));
    return 1;
}

int bookComputerCell(Board& board, int row, int points) {
    if (row < 0 || row >= rowCount || isBooked(board, row, computerColumn)) {
        return 0;
    }
    book(board, row, computerColumn, points);
    return 1;
}

int bookBestUpperRow(Board& board, GameState& state, std::string_view hand) {
    for (int face = 0; face < upperRowCount; ++face) {
        state.faceCounts[std::size_t(face)] = countFace(hand, faceLabels[std::size_t(face)]);
    }
    // The face shown most often first; among equal counts the higher face (Aces, the last
    // upper row, count face 0).
    for (int count = 5; count >= 1; --count) {
        for (int face = 0; face < upperRowCount; ++face) {
            if (state.faceCounts[std::size_t(face)] == count &&
                bookComputerCell(board, upperRowCount - 1 - face, count) == 1) {
                return 1;
            }
        }
    }
    return 0;
}

void refreshBookedCells(Board& board, int column) {
    for (int row = 0; row < rowCount; ++row) {
        if (isBookableRow(row) && !board.cellText(row, column).empty()) {
            board.setCellColour(row, column, bookedCellColour);
        }
    }
}

void updateBonus(Board& board, int column) {
    long long upperSum = 0;
    for (int row = 0; row < upperRowCount; ++row) {
        upperSum += cellValue(board, row, column);
    }
    // Below the threshold the cell is left alone, so a bonus once written stays.
    if (upperSum >= bonusThreshold) {
        board.setCellText(bonusRow, column, numberToText(bonusPoints));
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
