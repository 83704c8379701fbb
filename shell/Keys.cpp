#include "shell/Keys.h"

#include "rules/Board.h"

namespace quintaro {

std::optional<GameKey> gameKeyFor(PortableKey key, int focusedControl) {
    if (key.character >= 'a' && key.character <= 'z') {
        key.character = char(key.character - 'a' + 'A');
    }
    for (const KeyBinding& binding : keyBindings) {
        if (binding.key != key) {
            continue;
        }
        if (binding.pressesFocusedDie && focusedControl >= Die1 && focusedControl <= Die5) {
            return GameKey(int(GameKey::Die1) + (focusedControl - Die1));
        }
        return binding.action;
    }
    return std::nullopt;
}

std::optional<GameKey> gameKeyFor(const KeyEvent& event) {
    if ((event.modifiers & ~unsigned(KeypadModifier)) != 0) {
        return std::nullopt;
    }
    return gameKeyFor(event.key, event.focusedControl);
}

int nextFreeRow(const Board& board, int player, int from, int step) {
    // With nothing selected, Down starts above the first row and Up below the last.
    int row = from < 0 ? (step > 0 ? -1 : rowCount) : from;
    for (row += step; row >= 0 && row < rowCount; row += step) {
        if (isBookableRow(row) && !isBooked(board, row, player)) {
            return row;
        }
    }
    return -1;
}

std::string keyText(GameKey action) {
    for (const KeyBinding& binding : keyBindings) {
        if (binding.action == action && binding.key.character > ' ') {
            return std::string(1, binding.key.character);
        }
    }
    return {};
}

}  // namespace quintaro
