#pragma once
// The game's shell on any front end. It hands each event to the part that owns it: start-up
// with the new-game questions (StartUp), the menu commands (MenuCommands), the player's input
// with the selection and the focus (InputRouter), the turns (TurnFlow) and the hint; it holds
// one main window per game and drops the player's input while the window waits for a question
// or the computer's pause.

#include <memory>

#include "coach/Coach.h"
#include "shell/AccessibleBoard.h"
#include "shell/Commands.h"
#include "shell/Frontend.h"
#include "shell/Input.h"
#include "shell/StartUp.h"
#include "shell/TurnFlow.h"
#include "state/GameState.h"

namespace quintaro {

class GameShell : public WindowEvents {
  public:
    GameShell(GameState& state, Frontend& frontend);
    ~GameShell() override;

    // Reads the settings, puts the toolkit in the game's language, prepares the sound and
    // shows the new-game dialog; returns at once. The first main window opens once the
    // questions are answered; the dialog's close box before that quits.
    void startUp();
    // Opens the main window of a new game with the players of the state.
    void startGame();
    // Releases the sound and the pictures and closes the main window. Safe more than once.
    void shutdown();

    // WindowEvents
    void roll() override;
    void dieClicked(int die) override;
    void rowClicked(int row) override;
    void chooseMenuItem(int item) override;
    bool keyPressed(const KeyEvent& key) override;
    bool closeRequested() override;
    void pauseEnded() override;
    // DialogEvents
    void modeChosen(GameMode mode) override;
    void newGameCloseRequested() override;
    void inputBoxAnswered(InputBoxAction action, const std::string& text) override;
    void yesNoAnswered(bool yes) override;
    void messageClosed() override;
    void optionsEdited(const OptionsEdit& edit) override;

    // What a key of play does.
    void pressKey(GameKey key);
    // The coach's advice for the player to move; nothing during the computer's turn or before
    // the coach's table is ready.
    void showHint();

    GameState& state() { return state_; }
    GameWindow* window() const { return window_; }
    // The window's board as the rules see it, keeping the screen-reader names current.
    AccessibleBoard* board() const { return board_.get(); }
    const TurnFlow* turnFlow() const { return turnFlow_.get(); }
    const StartUp& startUpQuestions() const { return startUp_; }
    // The score card's selected row, -1 for none.
    int selectedRow() const { return input_ ? input_->selectedRow() : -1; }
    // Whether the pause after the computer's turn is running.
    bool pausing() const { return turnFlow_ && turnFlow_->pausing(); }
    // Whether the window takes the player's input now: a game is on, no question or message
    // is open and the computer's pause is not running.
    bool takesInput() const;
    Coach& coach() { return coach_; }

  private:
    void exit();
    void newGame();
    void closeWindow();
    void book(int row);
    // The next action ends the hint: the frame goes and the hand label is as before.
    void clearHint();

    GameState& state_;
    Frontend& frontend_;
    StartUp startUp_;
    MenuCommands commands_;
    GameWindow* window_ = nullptr;
    std::unique_ptr<AccessibleBoard> board_;
    std::unique_ptr<TurnFlow> turnFlow_;
    std::unique_ptr<InputRouter> input_;
    HintDisplay hint_;
    int messagesOpen_ = 0;
    // The player has left: the program is ending, nothing more is shown.
    bool leaving_ = false;
    Coach coach_;
};

}  // namespace quintaro
