#pragma once
// What a screen reader finds in the Windows edition's main window. The shell composes every
// name in the game's language and hands it to the sink; the sink keeps the names per control
// and per score-card cell and serves them through the game's own IAccessible objects, which
// answer WM_GETOBJECT for the dice, the roll button, the two labels and the score card (its
// cells as children). Everything else about a control (position, parent, navigation, default
// action) comes from the system's standard proxy.

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "rules/Board.h"
#include "shell/AccessibleSink.h"

namespace quintaro {

class ControlAccessible;

// The score card's cells are its children, row by row: row r, column c (1..players) is child
// r * players + c, so child 1 is the first player's cell of the first row.
constexpr long cellChildId(int row, int column, int players) {
    return long(row) * players + column;
}

class WindowsAccessibleSink : public AccessibleSink {
  public:
    // window: the main window, whose controls carry the game's control numbers.
    WindowsAccessibleSink(HWND window, int playerCount);
    ~WindowsAccessibleSink() override;
    WindowsAccessibleSink(const WindowsAccessibleSink&) = delete;
    WindowsAccessibleSink& operator=(const WindowsAccessibleSink&) = delete;

    void nameControl(int control, const std::string& name) override;
    void nameCell(int row, int column, const std::string& name) override;
    void announce(int control) override;

    // The name a screen reader gets: the one handed over, or the control's own text while
    // none has been (a label before its first change).
    std::wstring controlName(int control) const;
    std::wstring cellName(int row, int column) const;
    int playerCount() const { return playerCount_; }
    HWND control(int number) const;

    // From here on the control answers WM_GETOBJECT with the game's object.
    void serve(int control);

  private:
    friend class ControlAccessible;
    static LRESULT CALLBACK subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR control, DWORD_PTR self);

    HWND window_;
    int playerCount_;
    std::array<std::wstring, HandLabel + 1> controlNames_{};
    std::array<bool, HandLabel + 1> named_{};
    std::array<std::array<std::wstring, 5>, rowCount> cellNames_{};
    // The objects handed out; they outlive the window when a client keeps them, and are then
    // cut off from it.
    std::vector<ControlAccessible*> served_;
};

}  // namespace quintaro
