#pragma once
// What the game's shell needs of a front end: its main window, its dialogs and boxes, and its
// sound and pictures. The Linux edition implements these with Qt and SDL2, the Windows
// edition with the Win32 API, the browser edition over the page's DOM; the tests with fakes.
//
// The shell never waits. Every question (the mode, the text-input box, Yes/No, a message,
// the options, the pause after the computer's turn) is a call that returns at once; its
// answer reaches the shell later, as a call on DialogEvents or WindowEvents. A front end may
// answer from inside the call (a native modal box), but nothing in the shell relies on it.

#include <array>
#include <string>

#include "rules/Board.h"
#include "shell/AccessibleSink.h"
#include "shell/Hint.h"
#include "shell/Keys.h"
#include "shell/Menu.h"
#include "shell/NewGame.h"
#include "shell/Options.h"
#include "shell/WindowTexts.h"

namespace quintaro {

enum class GameMode { None, People, Computer };

// How the text-input box was left: OK (its button or Enter) or Cancel (Escape, the close
// command). Cancel answers "", whatever the field holds.
enum class InputBoxAction { Ok, Cancel };

// The answers to the shell's questions.
class DialogEvents {
  public:
    virtual ~DialogEvents() = default;
    // A picture button of the new-game dialog.
    virtual void modeChosen(GameMode mode) = 0;
    // The new-game dialog's close box: the shell decides whether it closes.
    virtual void newGameCloseRequested() = 0;
    // The text-input box was left with this field text.
    virtual void inputBoxAnswered(InputBoxAction action, const std::string& text) = 0;
    virtual void yesNoAnswered(bool yes) = 0;
    // A message box (About, the end of a game) was closed.
    virtual void messageClosed() = 0;
    // Something happened in the options dialog; the shell answers with showOptions or
    // closeOptions.
    virtual void optionsEdited(const OptionsEdit& edit) = 0;
};

// What a main window reports to the shell.
class WindowEvents : public DialogEvents {
  public:
    // The roll button.
    virtual void roll() = 0;
    // A click on a die's button. The button does not flip by itself: the shell sets it.
    virtual void dieClicked(int die) = 0;
    // A left click on this row of the score card (a click below the rows is -1).
    virtual void rowClicked(int row) = 0;
    virtual void chooseMenuItem(int item) = 0;
    // A key pressed in the main window. True when it is a key of play: the shell has taken it
    // and the front end drops it.
    virtual bool keyPressed(const KeyEvent& key) = 0;
    // The close box. Returns whether the window may close.
    virtual bool closeRequested() = 0;
    // The pause asked for with startPause is over.
    virtual void pauseEnded() = 0;
};

// What a main window is built with: its texts, its players and its first state.
struct WindowSetup {
    WindowTexts texts;
    int playerCount = 2;
    std::array<std::string, 6> playerNames;  // [p] heads column p
    std::string turnText;                    // the turn label: the first player's name
};

// One main window, for one game.
class GameWindow {
  public:
    virtual ~GameWindow() = default;
    // The score card, the dice and the labels, which hold the whole game.
    virtual Board& board() = 0;
    virtual void setTitle(const std::string& title) = 0;
    // Every text of the menu bar at once, indexed by MenuText; the bar is redrawn once.
    virtual void setMenuTexts(const std::array<std::string, menuTextCount>& texts) = 0;
    // A modal box with Yes and No over the window; the answer is yesNoAnswered.
    virtual void askYesNo(const std::string& caption, const std::string& text) = 0;
    // The options dialog over the window, which is off while it is open. Called again with
    // the form as it now stands after each edit; edits arrive as optionsEdited.
    virtual void showOptions(const OptionsTexts& texts, const OptionsView& view) = 0;
    virtual void closeOptions() = 0;
    // The pause after the computer's turn: the window is drawn now, and pauseEnded follows
    // once the time is over. The shell drops the player's input meanwhile.
    virtual void startPause(int milliseconds) = 0;

    // The score card's selected row, drawn as selected (-1 for none). A booked cell keeps
    // its booked colour, selected or not, under the pointer or not.
    virtual void showSelection(int row) = 0;
    // The control with the keyboard focus (-1 for the window itself or none of the board's),
    // and handing it on.
    virtual int focusedControl() const = 0;
    virtual void focusControl(int control) = 0;
    // The coach's hint, until the next action: a frame on the dice to hold (bit d-1 for die
    // d, 0 for none), and the hint in words as the hand label's tooltip and screen-reader
    // description ("" for none).
    virtual void frameDice(unsigned dice) = 0;
    virtual void describeHint(const std::string& description) = 0;
    // Where the shell hands the screen-reader names of the controls.
    virtual AccessibleSink& accessibleSink() = 0;
};

class Frontend {
  public:
    virtual ~Frontend() = default;

    // The toolkit's own texts (the buttons of message boxes) in the game's language.
    virtual void useToolkitLanguage(const std::string& languageCode) = 0;

    virtual void initSound() = 0;
    virtual void loadSound(int number, const std::string& fileName) = 0;
    virtual void playSound(int number) = 0;
    virtual void freeSound(int number) = 0;
    virtual void releaseSound() = 0;
    virtual void freePictures() = 0;
    // Hands a document of the current folder to the system's program for its type.
    virtual void openDocument(const std::string& fileName) = 0;

    // Shows the new-game dialog: its title, and the mode buttons' names for screen readers
    // (the buttons are pictures). A mode arrives as modeChosen, the close box as
    // newGameCloseRequested. It stays on screen until closeNewGameDialog.
    virtual void showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) = 0;
    virtual void closeNewGameDialog() = 0;
    // The modal text-input box; it closes itself when left, and the answer is
    // inputBoxAnswered.
    virtual void showInputBox(const std::string& title, const std::string& prompt,
                              const std::string& defaultText, DialogEvents& events) = 0;

    // Builds and shows the main window of a new game; the window reports to events.
    virtual GameWindow& openMainWindow(const WindowSetup& setup, WindowEvents& events) = 0;
    // Takes the current main window away; it may be destroyed later, once its own event
    // handling has returned.
    virtual void closeMainWindow() = 0;
    // Ends the event loop; the program then shuts down.
    virtual void quit() = 0;
};

}  // namespace quintaro
