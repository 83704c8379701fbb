#pragma once
// The board as the shell hands it to the rules: every write goes on to the edition's board,
// and the screen-reader names it changes are composed again and handed to the edition's sink.
// So the names follow the dice, the roll button, the labels and the cells in one place for
// both editions.

#include <array>
#include <functional>
#include <string>

#include "rules/Board.h"
#include "shell/Accessibility.h"
#include "shell/AccessibleSink.h"

namespace quintaro {

class AccessibleBoard : public Board {
  public:
    // playerNames[p] heads column p; columns 1..players.
    AccessibleBoard(Board& board, AccessibleSink& sink, int players,
                    const std::array<std::string, 6>& playerNames);

    std::string cellText(int row, int column) const override;
    void setCellText(int row, int column, const std::string& text) override;
    bool cellColourSet(int row, int column) const override;
    void setCellColour(int row, int column, Colour colour) override;
    void setRowColour(int row, Colour colour) override;
    bool dieHeld(int die) const override;
    void setDieHeld(int die, bool held) override;
    std::string controlText(int control) const override;
    void setControlText(int control, const std::string& text) override;
    bool controlEnabled(int control) const override;
    void setControlEnabled(int control, bool enabled) override;
    void showMessage(const std::string& caption, const std::string& text) override;

    // Names every control and cell again in these texts: a new window, a language switch.
    void refreshAll(const AccessibleTexts& texts);
    // A die the player pressed or released by hand.
    void refreshDie(int die);

    // Told before and after a control is switched on or off, and before a message box opens.
    std::function<void()> beforeSwitch;
    std::function<void(int control, bool enabled)> onSwitch;
    std::function<void()> onMessage;

  private:
    void refreshRollButton();
    void refreshCell(int row, int column);
    void refreshRow(int row);

    Board& board_;
    AccessibleSink& sink_;
    int players_;
    std::array<std::string, 6> playerNames_;
    AccessibleTexts texts_;
};

}  // namespace quintaro
