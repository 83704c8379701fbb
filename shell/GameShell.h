#pragma once
// The game's shell on any front end: start-up and shutdown, the new-game questions, one main
// window per game with its turns, and the menu commands.

#include <memory>

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
    void book(int selectedRow) override;
    void chooseMenuItem(int item) override;
    bool closeRequested() override;

    // The menu commands.
    void askNewGame();
    void exit();
    void showRules();
    void showAbout();
    void showOptions();
    void switchLanguage(int index);

    GameState& state() { return state_; }
    GameWindow* window() const { return window_; }
    const TurnFlow* turnFlow() const { return turnFlow_.get(); }
    // Whether the pause after the computer's turn is running.
    bool pausing() const { return pausing_; }

  private:
    void pause(int milliseconds);
    void closeWindow();

    GameState& state_;
    Frontend& frontend_;
    GameWindow* window_ = nullptr;
    std::unique_ptr<TurnFlow> turnFlow_;
    bool pausing_ = false;
};

// The About box's text: the game's name and version, what it is, and its licence.
std::string aboutText();

}  // namespace quintaro
