#include "shell/Input.h"

#include "shell/Frontend.h"

namespace quintaro {

int focusAfterSwitch(int focused, int control, bool enabled, bool rollEnabled) {
    if (!enabled && focused == control) {
        return rollEnabled && control != RollButton ? int(RollButton) : -1;
    }
    if (enabled && control == RollButton && focused < 0) {
        return RollButton;
    }
    return focused;
}

InputRouter::InputRouter(GameWindow& window, AccessibleBoard& board) : window_(window) {
    board.beforeSwitch = [this] { controlSwitching(); };
    board.onSwitch = [this, &board](int control, bool enabled) {
        controlSwitched(board, control, enabled);
    };
}

void InputRouter::select(int row) {
    selected_ = row;
    window_.showSelection(row);
}

void InputRouter::moveSelection(const Board& board, int player, int step) {
    if (!board.controlEnabled(ScoreCard)) {
        return;
    }
    const int row = nextFreeRow(board, player, selected_, step);
    if (row >= 0) {
        select(row);
    }
}

void InputRouter::controlSwitching() {
    focusBefore_ = window_.focusedControl();
}

void InputRouter::controlSwitched(const Board& board, int control, bool enabled) {
    if (control == ScoreCard && !enabled && selected_ >= 0) {
        select(-1);
    }
    const int next =
        focusAfterSwitch(focusBefore_, control, enabled, board.controlEnabled(RollButton));
    if (next != window_.focusedControl()) {
        window_.focusControl(next);
    }
}

void InputRouter::focus(int control) {
    window_.focusControl(control);
}

}  // namespace quintaro
