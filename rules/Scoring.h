#pragma once
// Points of every row, booking, bonus and totals.

#include <string_view>

#include "rules/Board.h"
#include "state/GameState.h"

namespace quintaro {

inline constexpr int computerColumn = 2;

// A person's booking of the selected row (-1 for none) in a column: 1 booked, 0 nothing.
int bookRow(Board& board, int column, int row);
// Books points into a row of the computer's column: 1 booked, 0 already booked.
int bookComputerCell(Board& board, int row, int points);
// The computer's choice among the upper rows for a hand string: 1 booked, 0 nothing.
int bookBestUpperRow(Board& board, GameState& state, std::string_view hand);
// Marks every non-empty bookable cell of the column as booked.
void refreshBookedCells(Board& board, int column);
// Writes the bonus once the upper rows reach 15; the bonus is never removed.
void updateBonus(Board& board, int column);
// Writes the sum of rows 0..13 into the total row.
void updateTotal(Board& board, int column);

// The points a hand string writes into a row when booked there: the count of the row's face
// for rows 0..5, the row's fixed points or 0 for rows 7..13, and 0 for any other row.
int handRowPoints(std::string_view hand, int row);

// Integer value of a cell, "" counting 0.
int cellValue(const Board& board, int row, int column);

}  // namespace quintaro
