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
        std::function<void()> playRollSound;  // the roll button's sound
        // The pause after the computer's turn: returns at once, and pauseEnded follows.
        // Without it the turn goes on at once.
        std::function<void(int milliseconds)> pause;
    };

    TurnFlow(Board& board, GameState& state, Hooks hooks = {});

    // The roll button was clicked.
    void roll();
    // A left click on the score card with this row selected (-1 for none).
    void book(int selectedRow);
    // The pause after the computer's turn is over: the person's turn comes next.
    void pauseEnded();
    // Releases every held die and blanks its text.
    void resetDice();
    // The computer's booking is on show and the pause runs.
    bool pausing() const { return pausing_; }

    int currentPlayer() const { return currentPlayer_; }
    int rollCount() const { return rollCount_; }

  private:
    void endComputerTurn();

    Board& board_;
    GameState& state_;
    Hooks hooks_;
    bool pausing_ = false;
    int currentPlayer_ = 1;
    int rollCount_ = 0;
};

}  // namespace quintaro
