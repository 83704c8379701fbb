#include "win32/WindowsBoard.h"

#include <commctrl.h>

#include "win32/Dialogs.h"
#include "win32/UiText.h"

namespace quintaro {

namespace {
bool isCell(int row, int column) {
    return row >= 0 && row < rowCount && column >= 0 && column < 5;
}
}  // namespace

WindowsBoard::WindowsBoard(const Controls& controls, int players,
                           std::function<void()> messageClosed)
    : controls_(controls),
      messageClosed_(std::move(messageClosed)),
      players_(players),
      names_(controls.window, players) {
    for (int number = ScoreCard; number <= HandLabel; ++number) {
        names_.serve(number);  // there is no control 7
    }
}

HWND WindowsBoard::control(int number) const {
    switch (number) {
        case ScoreCard:
            return controls_.scoreCard;
        case RollButton:
            return controls_.rollButton;
        case TurnLabel:
            return controls_.turnLabel;
        case HandLabel:
            return controls_.handLabel;
        default:
            if (number >= Die1 && number <= Die5) {
                return controls_.dice[std::size_t(number - Die1)];
            }
            return nullptr;
    }
}

int WindowsBoard::controlNumber(HWND window) const {
    for (const int number :
         {int(ScoreCard), 1, 2, 3, 4, 5, int(RollButton), int(TurnLabel), int(HandLabel)}) {
        if (window != nullptr && control(number) == window) {
            return number;
        }
    }
    return -1;
}

std::string WindowsBoard::cellText(int row, int column) const {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = int(std::size(text));
    SendMessageW(controls_.scoreCard, LVM_GETITEMTEXTW, WPARAM(row),
                 reinterpret_cast<LPARAM>(&item));
    return narrow(text);
}

void WindowsBoard::setCellText(int row, int column, const std::string& text) {
    std::wstring wide = widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(controls_.scoreCard, LVM_SETITEMTEXTW, WPARAM(row),
                 reinterpret_cast<LPARAM>(&item));
}

bool WindowsBoard::cellColourSet(int row, int column) const {
    return isCell(row, column) && colours_[std::size_t(row)][std::size_t(column)].has_value();
}

void WindowsBoard::setCellColour(int row, int column, Colour colour) {
    if (isCell(row, column)) {
        colours_[std::size_t(row)][std::size_t(column)] = colour;
        ListView_RedrawItems(controls_.scoreCard, row, row);
    }
}

void WindowsBoard::setRowColour(int row, Colour colour) {
    for (int column = 0; column <= players_ && column < 5; ++column) {
        setCellColour(row, column, colour);
    }
}

COLORREF WindowsBoard::cellBackground(int row, int column) const {
    if (cellColourSet(row, column)) {
        return COLORREF(colours_[std::size_t(row)][std::size_t(column)]->bgr());
    }
    return GetSysColor(COLOR_WINDOW);
}

bool WindowsBoard::dieHeld(int die) const {
    return SendMessageW(control(die), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowsBoard::setDieHeld(int die, bool held) {
    SendMessageW(control(die), BM_SETCHECK, held ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string WindowsBoard::controlText(int control) const {
    HWND window = this->control(control);
    return window != nullptr && control != ScoreCard ? windowText(window) : std::string();
}

void WindowsBoard::setControlText(int control, const std::string& text) {
    HWND window = this->control(control);
    if (window != nullptr && control != ScoreCard) {
        setWindowText(window, text);
    }
}

bool WindowsBoard::controlEnabled(int control) const {
    HWND window = this->control(control);
    return window != nullptr && IsWindowEnabled(window);
}

void WindowsBoard::setControlEnabled(int control, bool enabled) {
    HWND window = this->control(control);
    if (window == nullptr) {
        return;
    }
    // Where the focus goes next is the shell's to say; it asks which control had it.
    HWND focus = GetFocus();
    if (!enabled && focus != nullptr && (focus == window || IsChild(window, focus))) {
        focusLost_ = control;
    }
    EnableWindow(window, enabled ? TRUE : FALSE);
}

void WindowsBoard::showMessage(const std::string& caption, const std::string& text) {
    showMessageBox(controls_.window, caption, text, BoxButtons::Ok, [this](int) {
        if (messageClosed_) {
            messageClosed_();
        }
    });
}

void WindowsBoard::nameControl(int control, const std::string& name) {
    names_.nameControl(control, name);
}

void WindowsBoard::nameCell(int row, int column, const std::string& name) {
    names_.nameCell(row, column, name);
}

void WindowsBoard::announce(int control) {
    names_.announce(control);
}

std::string WindowsBoard::controlName(int control) const {
    return narrow(names_.controlName(control));
}

std::string WindowsBoard::cellName(int row, int column) const {
    return narrow(names_.cellName(row, column));
}

}  // namespace quintaro
