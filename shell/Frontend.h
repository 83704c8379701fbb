#pragma once
// What the game's shell needs of a front end: its main window, its dialogs and boxes, and its
// sound and pictures. The Linux edition implements these with Qt and SDL2, the Windows
// edition with the Win32 API; the tests with small fakes.

#include <array>
#include <string>

#include "rules/Board.h"
#include "shell/Menu.h"
#include "shell/Options.h"
#include "shell/WindowTexts.h"

namespace quintaro {

// The keys of play from the keyboard.
enum class GameKey { Die1, Die2, Die3, Die4, Die5, Roll, Up, Down, Book, Hint };

// What a main window reports to the shell: the roll button, a click on the score card, a
// menu command, and the close box.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;
    virtual void roll() = 0;
    // A left click on the score card with this row selected (-1 for none).
    virtual void book(int selectedRow) = 0;
    virtual void chooseMenuItem(int item) = 0;
    // A key of play from the keyboard.
    virtual void pressKey(GameKey key) = 0;
    // The close box. Returns whether the window may close.
    virtual bool closeRequested() = 0;
};

struct HintView {
    unsigned holdDice = 0;    // bit d-1 set: hold die d
    int row = -1;             // the row to book, -1 for none
    std::string label;        // shown in the hand label's place, e.g. "≈ 31.4"
    std::string description;  // the whole hint in words, for a tooltip and a screen reader
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
    // The coach's hint on the board until the next action: a frame on the dice to hold, the
    // row to book selected, the expected total in the hand label's place.
    virtual void showHint(const HintView& hint) = 0;
    virtual void clearHint() = 0;
    // After a language switch: what a screen reader says of the controls.
    virtual void setAccessibleTexts(const AccessibleTexts& texts) = 0;
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
