#pragma once
// The player's input on the main window, decided once for every edition: which keys are keys
// of play, the score card's selection, and where the keyboard focus goes when controls are
// switched on and off. The window only draws the selection and moves the focus it is told.

#include <optional>

#include "rules/Board.h"
#include "shell/AccessibleBoard.h"
#include "shell/Keys.h"

namespace quintaro {

class GameWindow;

// Where the focus goes when `control` is switched on or off while `focused` has it (-1: the
// window). A control switched off hands the focus to the roll button, or to the window when
// that is off too; a roll button switched on takes the focus back from the window.
int focusAfterSwitch(int focused, int control, bool enabled, bool rollEnabled);

class InputRouter {
  public:
    // Follows the controls being switched on and off on board.
    InputRouter(GameWindow& window, AccessibleBoard& board);

    // The selected row of the score card, -1 for none.
    int selectedRow() const { return selected_; }
    void select(int row);
    // Up (-1) or Down (+1) on the open score card: the next row this player can still book;
    // stays where it is when there is none that way.
    void moveSelection(const Board& board, int player, int step);
    // A control is about to be switched on or off, and has been: the score card loses its
    // selection whenever it closes, and the focus follows the rule above from where it was
    // before (a toolkit may have moved it on by itself meanwhile).
    void controlSwitching();
    void controlSwitched(const Board& board, int control, bool enabled);
    // The keys go to this control.
    void focus(int control);

  private:
    GameWindow& window_;
    int selected_ = -1;
    int focusBefore_ = -1;
};

}  // namespace quintaro
