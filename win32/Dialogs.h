#pragma once
// The Windows edition's dialogs: the modal text-input box, the new-game dialog with its two
// picture buttons, and the options dialog.

#include <windows.h>

#include <string>

#include "state/GameState.h"

namespace quintaro {

// Control numbers of the dialogs.
enum DialogControl : int {
    PeopleButton = 0,
    ComputerButton = 1,
    SecondsControl = 15,  // the up/down arrows, which hold the value
    ApplyButton = 16,
    CancelButton = 17,
    StrongerBox = 18,
    SecondsField = 19,  // the number field beside the arrows
    InputField = 100,
    InputPrompt = 101,
};

// Window class names, for the tests that look for the windows.
inline constexpr wchar_t inputBoxClass[] = L"QuintaroInputBox";
inline constexpr wchar_t newGameDialogClass[] = L"QuintaroNewGame";
inline constexpr wchar_t optionsDialogClass[] = L"QuintaroOptions";

// The modal text-input box: OK or Enter returns the field's text, Escape or the system's
// close command an empty text. Every other visible window of the program is disabled
// meanwhile. Texts are UTF-8.
std::string inputBox(const std::string& title, const std::string& prompt,
                     const std::string& defaultText);

// Asks for the mode, the number of players and the names and writes them into the state.
// Returns the dialog window, which stays on screen until the main window replaces it, or
// nullptr when the dialog was closed before a mode was chosen (no game starts then).
HWND runNewGameDialog(GameState& state);

// Draws a picture button: the frame, the picture at its own size centred and clipped 2
// pixels in (4 with themes), 1 pixel right and down while pressed, and the focus rectangle.
void drawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture);

// The options dialog, modal over the main window (which the caller has disabled; it is
// enabled again before this returns). Apply changes the state and saves settings.ini.
void runOptionsDialog(HWND mainWindow, GameState& state);

}  // namespace quintaro
