#pragma once
// The Windows edition's dialogs and boxes: the text-input box, the new-game dialog with its
// two picture buttons, the options dialog and the game's message boxes. None of them waits:
// each is shown and returns at once, and reports what the player did later, from the
// program's message loop. While a box is open the windows it belongs to take no input.

#include <windows.h>

#include <functional>
#include <string>

#include "shell/Frontend.h"
#include "shell/Options.h"

namespace quintaro {

// Control numbers of the dialogs.
enum DialogControl : int {
    PeopleButton = 0,
    ComputerButton = 1,
    SecondsControl = 15,  // the up/down arrows
    ApplyButton = 16,
    CancelButton = 17,
    StrongerBox = 18,
    SecondsField = 19,  // the number field beside the arrows
    InputField = 100,
    InputPrompt = 101,
    MessageText = 0xFFFF,  // the text of a message box, as the system's boxes number it
};

// Window class names, for the tests that look for the windows.
inline constexpr wchar_t inputBoxClass[] = L"QuintaroInputBox";
inline constexpr wchar_t newGameDialogClass[] = L"QuintaroNewGame";
inline constexpr wchar_t optionsDialogClass[] = L"QuintaroOptions";
inline constexpr wchar_t messageBoxClass[] = L"QuintaroMessageBox";

// Whether a top-level window is one of these dialogs, which take the dialog keys (Tab,
// Enter, Escape) from the message loop.
bool isGameDialog(HWND window);

// The text-input box: OK or Enter answer Ok with the field's text, Escape or the system's
// close command Cancel. Every other visible window of the program is disabled while it is
// open; the box closes itself before it answers. Texts are UTF-8.
using InputBoxAnswer = std::function<void(InputBoxAction action, const std::string& text)>;
HWND showInputBox(const std::string& title, const std::string& prompt,
                  const std::string& defaultText, InputBoxAnswer answered);

// The new-game dialog with its two picture buttons: a click reports modeChosen, the close
// box newGameCloseRequested. The buttons' names (for screen readers) come from the texts.
HWND showNewGameDialog(const NewGameTexts& texts, DialogEvents& events);

// Draws a picture button: the frame, the picture centred and clipped 2 pixels in (4 with
// themes), 1 pixel right and down while pressed, and the focus rectangle; at 96 DPI, scaled
// by the button's density elsewhere.
void drawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture);

// The options dialog over its owner, which is disabled until closeOptionsDialog. Every edit
// (typing, leaving the field, the arrows and Up/Down, the box, Apply, Cancel, Escape, the
// close box) is reported as optionsEdited; the field and the box show what showOptionsView
// gives them.
HWND showOptionsDialog(HWND owner, const OptionsTexts& texts, DialogEvents& events);
void showOptionsView(HWND dialog, const OptionsView& view);
void closeOptionsDialog(HWND dialog, HWND owner);

// A message box of the game with OK, or Yes and No, over its owner, which is disabled while
// it is open. Enter answers the first button; for OK, Escape and the close box answer it
// too, while Yes and No must be chosen. The box closes itself and then reports the button
// (IDOK, IDYES or IDNO).
enum class BoxButtons { Ok, YesNo };
HWND showMessageBox(HWND owner, const std::string& caption, const std::string& text,
                    BoxButtons buttons, std::function<void(int button)> closed);

}  // namespace quintaro
