#pragma once

#include "rules/Board.h"
#include "state/GameState.h"

namespace quintaro {

// The computer's whole turn: roll, (stronger level) replace the hand, show it and its
// name, and book one free row of the computer's column.
void computerTurn(Board& board, GameState& state);

}  // namespace quintaro
