#include "shell/AccessibleBoard.h"

namespace quintaro {

namespace {
bool isDie(int control) {
    return control >= Die1 && control <= Die5;
}
bool isLabel(int control) {
    return control == TurnLabel || control == HandLabel;
}
}  // namespace

AccessibleBoard::AccessibleBoard(Board& board, AccessibleSink& sink, int players,
                                 const std::array<std::string, 6>& playerNames)
    : board_(board), sink_(sink), players_(players), playerNames_(playerNames) {}

std::string AccessibleBoard::cellText(int row, int column) const {
    return board_.cellText(row, column);
}

void AccessibleBoard::setCellText(int row, int column, const std::string& text) {
    board_.setCellText(row, column, text);
    // A new label renames the whole row.
    if (column == 0) {
        refreshRow(row);
    } else {
        refreshCell(row, column);
    }
}

bool AccessibleBoard::cellColourSet(int row, int column) const {
    return board_.cellColourSet(row, column);
}

void AccessibleBoard::setCellColour(int row, int column, Colour colour) {
    board_.setCellColour(row, column, colour);
    refreshCell(row, column);
}

void AccessibleBoard::setRowColour(int row, Colour colour) {
    board_.setRowColour(row, colour);
    refreshRow(row);
}

bool AccessibleBoard::dieHeld(int die) const {
    return board_.dieHeld(die);
}

void AccessibleBoard::setDieHeld(int die, bool held) {
    board_.setDieHeld(die, held);
    refreshDie(die);
}

std::string AccessibleBoard::controlText(int control) const {
    return board_.controlText(control);
}

void AccessibleBoard::setControlText(int control, const std::string& text) {
    const bool changed = board_.controlText(control) != text;
    board_.setControlText(control, text);
    if (isDie(control)) {
        refreshDie(control);
    }
    // The rolls left follow the first die's text and the button's own.
    if (isDie(control) || control == RollButton) {
        refreshRollButton();
    }
    if (isLabel(control)) {
        sink_.nameControl(control, text);
        if (changed) {
            sink_.announce(control);
        }
    }
}

bool AccessibleBoard::controlEnabled(int control) const {
    return board_.controlEnabled(control);
}

void AccessibleBoard::setControlEnabled(int control, bool enabled) {
    if (beforeSwitch) {
        beforeSwitch();
    }
    board_.setControlEnabled(control, enabled);
    if (control == RollButton) {
        refreshRollButton();
    }
    if (onSwitch) {
        onSwitch(control, enabled);
    }
}

void AccessibleBoard::showMessage(const std::string& caption, const std::string& text) {
    if (onMessage) {
        onMessage();
    }
    board_.showMessage(caption, text);
}

void AccessibleBoard::refreshAll(const AccessibleTexts& texts) {
    texts_ = texts;
    for (int die = Die1; die <= Die5; ++die) {
        refreshDie(die);
    }
    refreshRollButton();
    for (const int label : {TurnLabel, HandLabel}) {
        sink_.nameControl(label, board_.controlText(label));
    }
    for (int row = 0; row < rowCount; ++row) {
        refreshRow(row);
    }
}

void AccessibleBoard::refreshDie(int die) {
    if (isDie(die)) {
        sink_.nameControl(
            die, dieDescription(texts_, die, board_.controlText(die), board_.dieHeld(die)));
    }
}

void AccessibleBoard::refreshRollButton() {
    sink_.nameControl(RollButton,
                      rollDescription(texts_, board_.controlText(RollButton), rollsLeft(board_)));
}

void AccessibleBoard::refreshCell(int row, int column) {
    if (row < 0 || row >= rowCount || column < 1 || column > players_) {
        return;
    }
    sink_.nameCell(
        row, column,
        cellDescription(texts_, row, board_.cellText(row, 0), playerNames_[std::size_t(column)],
                        board_.cellText(row, column), board_.cellColourSet(row, column)));
}

void AccessibleBoard::refreshRow(int row) {
    for (int column = 1; column <= players_; ++column) {
        refreshCell(row, column);
    }
}

}  // namespace quintaro
