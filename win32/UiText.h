#pragma once
// The Windows edition's edge of the core: control texts as UTF-8, making controls, the game's
// two fonts, window placement and the screen density (DPI) every size is scaled by.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "settings/WideText.h"
#include "shell/Layout.h"

namespace quintaro {

// A window's text as UTF-8, and set from UTF-8.
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

// The density of the screen a window is on, in dots per inch: 96 at 100 %, 144 at 150 %.
// The program is aware of each screen's own density, so every 96-DPI size of the layout is
// scaled by windowDpi / 96 and the system never stretches a window as a picture.
int windowDpi(HWND window);
// The density the system's own fonts were made for (the primary screen's at sign-in).
int systemDpi();

// The outer size of a window of this style whose client area is `client` 96-DPI pixels,
// at `dpi` (the menu bar, if any, then takes its height from the client area).
SIZE outerSize(LayoutSize client, DWORD style, DWORD extendedStyle, int dpi);
// Moves and sizes a control to a rectangle of the layout table, at `dpi`.
void placeControl(HWND control, const LayoutRect& rect, int dpi);

// The system's default GUI font (DEFAULT_GUI_FONT), at `dpi`: dialogs, labels, the roll
// button, the score card.
HFONT guiFont(int dpi);
HFONT guiFont();
// "Arial" at 16 points at `dpi`: the dice and the hand label. Made once per density, freed
// at shutdown.
HFONT diceFont(int dpi);
HFONT diceFont();
void freeFonts();

// Sets the font of a control without redrawing it yet.
void useFont(HWND control, HFONT font);

// A visible child control of parent with this control number and font.
HWND addControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style, int x,
                int y, int width, int height, int id, HFONT font = guiFont(),
                DWORD extendedStyle = 0);
// The same, placed at a rectangle of the layout table scaled for `dpi`.
HWND addControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style,
                const LayoutRect& where, int dpi, int id, HFONT font, DWORD extendedStyle = 0);

// A top-level window whose client area is `client` 96-DPI pixels (before any menu bar), its
// outer rectangle centred on the primary screen, at the density of the screen it opens on,
// which is returned in `dpi`. It is made at the system's density, where it nearly always
// stays, so that it is placed once before it shows; on a screen of another density it is
// sized and centred again.
HWND createCentredWindow(DWORD extendedStyle, const wchar_t* className, const std::wstring& title,
                         DWORD style, LayoutSize client, HWND owner, void* parameter, int& dpi);

// Registers a window class of the game once: button-face background, the game's icon.
void registerWindowClass(const wchar_t* name, WNDPROC procedure);

// The program's instance.
HINSTANCE instance();

}  // namespace quintaro
