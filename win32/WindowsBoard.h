#pragma once
// The board over the Windows edition's main-window controls: the score card (a report-view
// list control), the five push-like dice, the roll button and the two labels. The controls
// are the only store of the dice and the scores; the cell colours live here, where the score
// card's custom drawing reads them. The screen-reader names the shell composes go on to the
// window's accessibility server (win32/Accessible), which answers screen readers with them.

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "rules/Board.h"
#include "shell/AccessibleSink.h"
#include "win32/Accessible.h"

namespace quintaro {

class WindowsBoard : public Board, public AccessibleSink {
  public:
    struct Controls {
        HWND window = nullptr;  // the owner of message boxes
        HWND scoreCard = nullptr;
        std::array<HWND, 5> dice{};
        HWND rollButton = nullptr;
        HWND turnLabel = nullptr;
        HWND handLabel = nullptr;
    };

    // From here on the controls answer screen readers with the names the shell gives them.
    // messageClosed is told when a message box of showMessage closes.
    WindowsBoard(const Controls& controls, int players, std::function<void()> messageClosed);

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

    // AccessibleSink
    void nameControl(int control, const std::string& name) override;
    void nameCell(int row, int column, const std::string& name) override;
    void announce(int control) override;

    // The window of a control number, nullptr for none.
    HWND control(int number) const;
    // The control number of a window of the board, -1 for none.
    int controlNumber(HWND window) const;
    // The background colour the score card draws a cell with (the window colour when none
    // is set), as its custom drawing hands it to the control.
    COLORREF cellBackground(int row, int column) const;
    // The screen-reader name of a control or a cell, "" before the shell named it (a label's
    // own text for a label).
    std::string controlName(int control) const;
    std::string cellName(int row, int column) const;

    // The control that had the keyboard focus when it was switched off (the system then
    // leaves the focus with no window), -1 for none; forgotten once the focus is handed on.
    int focusLost() const { return focusLost_; }
    void forgetFocusLost() { focusLost_ = -1; }

  private:
    Controls controls_;
    std::function<void()> messageClosed_;
    int focusLost_ = -1;
    int players_;
    // Background colour per score-card cell (rows 0..14, columns 0..4); none = free.
    std::array<std::array<std::optional<Colour>, 5>, rowCount> colours_{};
    WindowsAccessibleSink names_;
};

}  // namespace quintaro
