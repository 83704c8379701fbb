#pragma once
// The Windows edition's edge of the core: language texts as UTF-16, control texts, the game's
// two fonts and window placement.

#include <windows.h>

#include <string>
#include <string_view>

#include "settings/WideText.h"

namespace quintaro {

class KeyValueFile;

// readText of an open key=value file, as UTF-16.
std::wstring readUiText(const KeyValueFile& file, std::string_view key,
                        std::string_view defaultText);

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

// Moves a window so that its outer rectangle is centred on the primary screen.
void centreOnScreen(HWND window);

// Registers a window class of the game once: button-face background, the game's icon.
void registerWindowClass(const wchar_t* name, WNDPROC procedure);

// The program's instance.
HINSTANCE instance();

}  // namespace quintaro
