#pragma once
// The game's shell on any front end: start-up and shutdown, the new-game questions, one main
// window per game with its turns, and the menu commands.

#include <memory>

#include "coach/Coach.h"
#include "shell/AccessibleBoard.h"
#include "shell/Frontend.h"
#include "shell/TurnFlow.h"
#include "state/GameState.h"

namespace quintaro {

class GameShell : public WindowEvents {
  public:
    GameShell(GameState& state, Frontend& frontend);
    ~GameShell() override;

    // Reads the settings, puts the toolkit in the game's language, prepares the sound and
    // runs the new-game dialog, then opens the first main window. Returns false when the
    // dialog was closed before a game was set up; the program then shuts down.
    bool startUp();
    // Opens the main window of a new game with the players of the state.
    void startGame();
    // Releases the sound and the pictures and closes the main window. Safe more than once.
    void shutdown();

    // WindowEvents
    void roll() override;
    void dieToggled(int die) override;
    void book(int selectedRow) override;
    void chooseMenuItem(int item) override;
    bool keyPressed(PortableKey key, int focusedControl) override;
    bool closeRequested() override;

    // What a key of play does.
    void pressKey(GameKey key);

    // The menu commands.
    void askNewGame();
    void exit();
    void showRules();
    void showAbout();
    void showOptions();
    void switchLanguage(int index);
    // The coach's advice for the player to move; nothing during the computer's turn or before
    // the coach's table is ready.
    void showHint();

    GameState& state() { return state_; }
    GameWindow* window() const { return window_; }
    // The window's board as the rules see it, keeping the screen-reader names current.
    AccessibleBoard* board() const { return board_.get(); }
    const TurnFlow* turnFlow() const { return turnFlow_.get(); }
    // Whether the pause after the computer's turn is running.
    bool pausing() const { return pausing_; }
    Coach& coach() { return coach_; }

  private:
    void pause(int milliseconds);
    void closeWindow();
    void moveSelection(int step);
    // The next action ends the hint: the frame goes and the hand label is as before.
    void clearHint();

    GameState& state_;
    Frontend& frontend_;
    GameWindow* window_ = nullptr;
    std::unique_ptr<AccessibleBoard> board_;
    std::unique_ptr<TurnFlow> turnFlow_;
    bool pausing_ = false;
    bool hintShown_ = false;
    std::string handTextBeforeHint_;
    // The player has left: the program is ending, nothing more is shown.
    bool leaving_ = false;
    WindowTexts texts_;
    Coach coach_;
};

}  // namespace quintaro
