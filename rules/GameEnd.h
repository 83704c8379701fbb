#pragma once

#include "rules/Board.h"
#include "state/GameState.h"

namespace quintaro {

// Once every player has booked 13 rows, shows the winner's or the tie message.
void checkGameEnd(Board& board, const GameState& state);

}  // namespace quintaro
