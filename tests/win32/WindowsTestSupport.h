#pragma once
// Helpers for the Windows edition's tests: clicks and reads through window messages, and a
// helper thread that answers the modal boxes the game opens.

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "shell/GameShell.h"
#include "state/GameState.h"
#include "win32/MainWindow.h"
#include "win32/WindowsFrontend.h"

namespace quintaro::testing {

// The handles the front end leaves to the message loop are handled now.
void pumpMessages();

void clickButton(HWND button);
// A left click on a score-card row as the list control reports it: the row becomes the only
// selected one and the window hears NM_CLICK. A disabled card takes no click.
void clickRow(MainWindow& window, int row);
// A click below the last row: nothing is selected.
void clickBelowRows(MainWindow& window);
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

// Real input through the system's input queue, as from a keyboard and a mouse: it reaches
// the foreground window's focus, or the window under the pointer, once messages are handled.
void typeKey(WORD key);
// A left click at a point of a window's client area.
void clickAt(HWND window, POINT point);
// Handles messages through `handle` until `done` holds or two seconds have passed; whether
// it holds.
bool waitFor(const std::function<void()>& handle, const std::function<bool()>& done);

// Finds the message boxes, text-input boxes and options dialogs of this thread from a helper
// thread and answers them one after another with the given answers (OK for a message box and
// the default text for an input box once the list is used up).
class BoxAnswerer {
  public:
    struct Seen {
        std::wstring kind;  // window class: "#32770" for a message box
        std::string title;
        std::string text;  // the message, or the input box's prompt
    };
    // One answer: what to do with the next box found.
    using Answer = std::function<void(HWND box)>;

    explicit BoxAnswerer(std::vector<Answer> answers = {});
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    std::vector<Seen> seen() const;

    // Answers for the common boxes.
    static Answer pressButton(int id);            // IDOK, IDYES, IDNO of a message box
    static Answer type(const std::string& text);  // input box: replace the text, then Enter
    static Answer escape();                       // input box: Escape
    static Answer closeCommand();                 // the system's close command

  private:
    void watch();

    DWORD thread_;
    std::vector<Answer> answers_;
    std::size_t next_ = 0;
    mutable std::mutex mutex_;
    std::vector<Seen> seen_;
    std::vector<HWND> handled_;
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

}  // namespace quintaro::testing

namespace quintaro::testing {
// A game of the state's players in a real window, started as New Game starts one.
struct Game {
    explicit Game(GameState initial)
        : state(std::move(initial)), frontend(state), shell(state, frontend) {
        shell.startGame();
    }
    ~Game() { shell.shutdown(); }
    MainWindow& window() { return *frontend.mainWindow(); }

    GameState state;
    WindowsFrontend frontend;
    GameShell shell;
};

// A window's text as UTF-8.
std::string windowTextOf(HWND window);
}  // namespace quintaro::testing
