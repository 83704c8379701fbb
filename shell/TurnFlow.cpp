#include "shell/TurnFlow.h"

#include "cpu/ComputerTurn.h"
#include "rules/Dice.h"
#include "rules/GameEnd.h"
#include "rules/Scoring.h"

namespace quintaro {

TurnFlow::TurnFlow(Board& board, GameState& state, Hooks hooks)
    : board_(board), state_(state), hooks_(std::move(hooks)) {}

void TurnFlow::resetDice() {
    for (int die = Die1; die <= Die5; ++die) {
        if (board_.dieHeld(die)) {
            board_.setDieHeld(die, false);
        }
        board_.setControlText(die, "");
    }
}

void TurnFlow::roll() {
    // The sound starts first and plays on its own while the dice change.
    if (hooks_.playRollSound) {
        hooks_.playRollSound();
    }
    rollDice(board_);
    ++rollCount_;
    if (rollCount_ == 2) {
        // A turn has exactly two rolls; now the hand waits to be booked.
        board_.setControlText(HandLabel, currentHandName(board_, state_));
        board_.setControlEnabled(RollButton, false);
        board_.setControlEnabled(ScoreCard, true);
        refreshBookedCells(board_, currentPlayer_);
        rollCount_ = 0;
    }
}

void TurnFlow::book(int selectedRow) {
    if (selectedRow < 0) {
        return;
    }
    if (bookRow(board_, currentPlayer_, selectedRow) == 0) {
        // A booked row, the bonus or the total: the player may choose another row.
        return;
    }
    board_.setControlEnabled(ScoreCard, false);
    // Bonus, total and the booking count are current before the end of the game is checked.
    updateBonus(board_, currentPlayer_);
    updateTotal(board_, currentPlayer_);
    state_.rowsBooked(currentPlayer_) += 1;

    currentPlayer_ = currentPlayer_ >= state_.playerCount ? 1 : currentPlayer_ + 1;
    board_.setControlText(TurnLabel, state_.playerNames[std::size_t(currentPlayer_)]);
    board_.setControlText(HandLabel, "");
    resetDice();
    checkGameEnd(board_, state_);

    if (state_.computerMode == 1) {
        board_.setControlText(TurnLabel, state_.playerNames[2]);
        computerTurn(board_, state_);
        // The computer's dice and hand name stay on show for the pause. A negative delay
        // from a hand-edited settings file means no pause at all.
        if (hooks_.pause && state_.delayMs > 0) {
            pausing_ = true;
            hooks_.pause(state_.delayMs);
            return;
        }
        endComputerTurn();
        return;
    }
    board_.setControlEnabled(RollButton, true);
}

void TurnFlow::pauseEnded() {
    if (pausing_) {
        pausing_ = false;
        endComputerTurn();
    }
}

void TurnFlow::endComputerTurn() {
    board_.setControlEnabled(RollButton, true);
    currentPlayer_ = 1;
    state_.rowsBooked(computerColumn) += 1;
    updateBonus(board_, computerColumn);
    updateTotal(board_, computerColumn);
    board_.setControlText(HandLabel, "");
    board_.setControlText(TurnLabel, state_.playerNames[1]);
    rollCount_ = 0;
    resetDice();
    checkGameEnd(board_, state_);
    board_.setControlEnabled(RollButton, true);
}

}  // namespace quintaro
