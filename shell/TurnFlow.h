#pragma once
// The turns of one game: two rolls with holds between them, then one booking, and in a game
// against the computer the computer's turn after each booking of the person.
//
// The window forwards its roll button and score-card clicks here; the simulator drives the
// same operations on an in-memory board.

#include <functional>
#include <utility>

#include "rules/Board.h"
#include "state/GameState.h"

namespace quintaro {

class TurnFlow {
  public:
    struct Hooks {
        std::function<void()> playRollSound;          // the roll button's sound
        std::function<void(int milliseconds)> pause;  // after the computer's turn
    };

    TurnFlow(Board& board, GameState& state, Hooks hooks = {});

    // The roll button was clicked.
    void roll();
    // A left click on the score card with this row selected (-1 for none).
    void book(int selectedRow);
    // Releases every held die and blanks its text.
    void resetDice();
    // Asked after the computer's pause: whether the player has left the game (the close
    // box, Exit) meanwhile.
    void setLeaving(std::function<bool()> leaving) { leaving_ = std::move(leaving); }

    int currentPlayer() const { return currentPlayer_; }
    int rollCount() const { return rollCount_; }

  private:
    Board& board_;
    GameState& state_;
    Hooks hooks_;
    std::function<bool()> leaving_;
    int currentPlayer_ = 1;
    int rollCount_ = 0;
};

}  // namespace quintaro
