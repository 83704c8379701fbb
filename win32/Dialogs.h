#pragma once
// The Windows edition's dialogs: the modal text-input box, the new-game dialog with its two
// picture buttons, and the options dialog.

#include <windows.h>

#include <string>

#include "shell/Frontend.h"
#include "shell/Options.h"

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

// Shows the new-game dialog with its two picture buttons and waits for a mode: None when its
// close box was used first. The dialog stays on screen (its close box then ignored) and is
// returned in `dialog`, nullptr once it has been closed.
// The buttons' names (for screen readers) are peopleName and computerName.
GameMode chooseGameMode(const std::string& title, const std::string& peopleName,
                        const std::string& computerName, HWND& dialog);

// Draws a picture button: the frame, the picture centred and clipped 2 pixels in (4 with
// themes), 1 pixel right and down while pressed, and the focus rectangle; at 96 DPI, scaled
// by the button's density elsewhere.
void drawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture);

// The options dialog, modal over the main window (which the caller has disabled; it is
// enabled again before this returns). True for Apply, with the new values in choice.
bool runOptionsDialog(HWND mainWindow, const OptionsTexts& texts, int shownSeconds,
                      OptionsChoice& choice);

}  // namespace quintaro
