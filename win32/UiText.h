#pragma once
// The Windows edition's edge of the core: control texts as UTF-8, making controls, the game's
// two fonts, window placement and the modal loop of its dialogs.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "settings/WideText.h"

namespace quintaro {

// A window's text as UTF-8, and set from UTF-8.
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

// The system's default GUI font (DEFAULT_GUI_FONT): dialogs, labels, the roll button, the
// score card.
HFONT guiFont();
// "Arial" at 16 points: the dice and the hand label. Made once, freed at shutdown.
HFONT diceFont();
void freeFonts();

// Sets the font of a control without redrawing it yet.
void useFont(HWND control, HFONT font);

// A visible child control of parent with this control number and font.
HWND addControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style, int x,
                int y, int width, int height, int id, HFONT font = guiFont(),
                DWORD extendedStyle = 0);

// Runs messages until done() holds; dialog keys (Tab, Enter, Escape) go to dialog. A quit
// message is put back for the outer loop.
void runModalLoop(HWND dialog, const std::function<bool()>& done);

// Moves a window so that its outer rectangle is centred on the primary screen.
void centreOnScreen(HWND window);

// Registers a window class of the game once: button-face background, the game's icon.
void registerWindowClass(const wchar_t* name, WNDPROC procedure);

// The program's instance.
HINSTANCE instance();

}  // namespace quintaro
