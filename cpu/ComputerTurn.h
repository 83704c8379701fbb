#pragma once

#include "app/GameState.h"
#include "rules/Board.h"

namespace quintaro {

// The computer's whole turn: roll, (stronger level) replace the hand, show it and its
// name, and book one free row of the computer's column.
void computerTurn(Board& board, GameState& state);

}  // namespace quintaro
