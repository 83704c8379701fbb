#pragma once
// Start-up up to the first game: the settings, the toolkit's language, the sound device, and
// the new-game dialog with its questions. It holds which question is open; the answers come
// in later, one at a time.

#include <functional>
#include <optional>

#include "shell/Frontend.h"
#include "shell/NewGame.h"
#include "state/GameState.h"

namespace quintaro {

class StartUp {
  public:
    enum class Phase {
        Idle,          // not begun, or over
        ChoosingMode,  // the dialog waits for a picture button; its close box ends the program
        Asking,        // the text-input box asks; the dialog's close box does nothing
    };

    StartUp(GameState& state, Frontend& frontend);

    // Reads the settings and shows the new-game dialog. ready runs once the players are set
    // up (the dialog is still on screen, for the main window to take its place; then call
    // closeDialog); leave runs when the dialog was closed before a mode was chosen.
    void begin(DialogEvents& events, std::function<void()> ready, std::function<void()> leave);
    void closeDialog();

    // The answers.
    void modeChosen(GameMode mode);
    void closeRequested();
    void answered(InputBoxAction action, const std::string& text);

    Phase phase() const { return phase_; }

  private:
    void ask(const InputQuestion& question);

    GameState& state_;
    Frontend& frontend_;
    DialogEvents* events_ = nullptr;
    Phase phase_ = Phase::Idle;
    bool dialogShown_ = false;
    std::optional<NewGameQuestions> questions_;
    std::function<void()> ready_;
    std::function<void()> leave_;
};

// The text an input box answers: the field for OK, "" for Cancel.
std::string inputBoxAnswer(InputBoxAction action, const std::string& text);

}  // namespace quintaro
