#pragma once
// What the game's shell needs of a front end: its main window, its dialogs and boxes, and its
// sound and pictures. The Linux edition implements these with Qt and SDL2, the Windows
// edition with the Win32 API; the tests with small fakes.

#include <array>
#include <string>

#include "rules/Board.h"
#include "shell/AccessibleSink.h"
#include "shell/Hint.h"
#include "shell/Keys.h"
#include "shell/Menu.h"
#include "shell/Options.h"
#include "shell/WindowTexts.h"

namespace quintaro {

// What a main window reports to the shell: the roll button, a die pressed or released, a
// click on the score card, a menu command, a key, and the close box.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;
    virtual void roll() = 0;
    // The player pressed or released a die's button (the button flips by itself).
    virtual void dieToggled(int die) = 0;
    // A left click on the score card with this row selected (-1 for none).
    virtual void book(int selectedRow) = 0;
    virtual void chooseMenuItem(int item) = 0;
    // A key with this control focused (-1 for none). True when it is a key of play: the
    // shell has acted on it and the front end drops it.
    virtual bool keyPressed(PortableKey key, int focusedControl) = 0;
    // The close box. Returns whether the window may close.
    virtual bool closeRequested() = 0;
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
    // A modal box with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
    // The options dialog, with this window disabled while it runs and active again after.
    // Returns true when Apply was chosen; choice then holds the new values.
    virtual bool runOptionsDialog(const OptionsTexts& texts, int shownSeconds,
                                  OptionsChoice& choice) = 0;
    // The pause after the computer's turn: the window is drawn first and takes no input until
    // the time is over.
    virtual void pause(int milliseconds) = 0;

    // The score card's selected row (-1 for none), for play from the keyboard.
    virtual int selectedRow() const = 0;
    virtual void selectRow(int row) = 0;
    // The keys now go to the score card.
    virtual void focusScoreCard() = 0;
    // The coach's hint, until the next action: a frame on the dice to hold (bit d-1 for die
    // d, 0 for none), and the hint in words as the hand label's tooltip and screen-reader
    // description ("" for none).
    virtual void frameDice(unsigned dice) = 0;
    virtual void describeHint(const std::string& description) = 0;
    // Where the shell hands the screen-reader names of the controls.
    virtual AccessibleSink& accessibleSink() = 0;
};

enum class GameMode { None, People, Computer };

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

    // Shows the new-game dialog and waits for a mode; None when its close box was used. The
    // dialog stays on screen, its close box ignored, until closeNewGameDialog. The mode
    // buttons are pictures: their names are for screen readers.
    virtual GameMode chooseGameMode(const std::string& title, const std::string& peopleName,
                                    const std::string& computerName) = 0;
    virtual void closeNewGameDialog() = 0;
    // The modal text-input box: the text entered, or "" for Escape or its close command.
    virtual std::string inputBox(const std::string& title, const std::string& prompt,
                                 const std::string& defaultText) = 0;

    // Builds and shows the main window of a new game with these texts and the players of the
    // state; the window reports to events.
    virtual GameWindow& openMainWindow(const WindowTexts& texts, WindowEvents& events) = 0;
    // Takes the current main window away; it may be destroyed later, once its own event
    // handling has returned.
    virtual void closeMainWindow() = 0;
    // Ends the event loop; start-up then shuts down.
    virtual void quit() = 0;
};

}  // namespace quintaro
