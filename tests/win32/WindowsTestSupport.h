#pragma once
// Helpers for the Windows edition's tests: real input through the system's input queue,
// reads of what the windows show, and waits that each have a deadline and a name.

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "shell/GameShell.h"
#include "state/GameState.h"
#include "win32/MainWindow.h"
#include "win32/WindowsFrontend.h"

namespace quintaro::testing {

// The longest any one wait of these tests takes: far inside the 300 seconds CTest gives a
// test executable under Wine, even on a busy machine.
inline constexpr DWORD waitDeadlineMs = 20000;

// Handles messages through the front end's own dispatcher until `done` holds; fails the test
// naming `what` when it does not within the deadline. Returns whether it holds.
bool waitFor(WindowsFrontend& frontend, const std::function<bool()>& done, const std::string& what,
             DWORD deadlineMs = waitDeadlineMs);
// Handles messages until every input sent with typeKey or clickAt has been taken from the
// queue and nothing else waits; fails naming `what` past the deadline.
bool settle(WindowsFrontend& frontend, const std::string& what, DWORD deadlineMs = waitDeadlineMs);

// Real input, as from a keyboard and a mouse: it reaches the foreground window's focus, or
// the window under the pointer, once messages are handled (settle).
void typeKey(WORD key, bool ctrl = false);
// A left click at a point of a window's client area.
void clickAt(HWND window, POINT point);
// A left click in the middle of a control.
void clickControl(HWND control);
// A left click on the score card's cell in this row and column.
void clickCell(MainWindow& window, int row, int column = 1);

// A message sent straight to a button, as the old tests did: BM_CLICK.
void clickButton(HWND button);
void chooseMenu(MainWindow& window, int item);
std::string menuText(HMENU menu, UINT item, bool byPosition);
// The colour the score card's custom drawing gives a cell.
COLORREF drawnCellColour(MainWindow& window, int row, int column);
// A control's rectangle in its parent's client area.
RECT childRect(HWND control);
// The same rectangle as the layout table writes it.
LayoutRect layoutRect(const RECT& rect);
// The colour on the screen at a point of a window's client area, once it has been drawn.
COLORREF screenPixel(HWND window, POINT point);
// Whether two colours differ by at most `tolerance` in each of red, green and blue.
bool nearColour(COLORREF a, COLORREF b, int tolerance);
// The extent of a text in a control's own font.
SIZE textExtent(HWND control, const std::wstring& text);

// The open box or dialog of this window class (visible), nullptr for none.
HWND openBox(const wchar_t* kind);
// A box's text: a message box's message, an input box's prompt.
std::string boxText(HWND box);
// Presses a box's button (IDOK, IDYES, IDNO, Apply ...) as BM_CLICK does.
void pressBoxButton(HWND box, int id);
// Input box: replaces the text, then Enter in the field; or Escape.
void typeAnswer(HWND box, const std::string& text);
void escapeBox(HWND box);

// A game of the state's players in a real window, started as New Game starts one.
struct Game {
    explicit Game(GameState initial)
        : state(std::move(initial)), frontend(), shell(state, frontend) {
        shell.startGame();
    }
    ~Game() { shell.shutdown(); }
    MainWindow& window() { return *frontend.mainWindow(); }
    // The main window in front, so that keys and clicks reach it.
    bool toFront(const std::string& what);

    GameState state;
    WindowsFrontend frontend;
    GameShell shell;
};

// A window's text as UTF-8.
std::string windowTextOf(HWND window);

}  // namespace quintaro::testing
