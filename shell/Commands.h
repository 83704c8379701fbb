#pragma once
// The menu commands of a main window: New Game (asked first), Exit, Rules, About, Options and
// the language switch. It holds the question a command has open; Hint and leaving belong to
// whoever runs the game, reached through the hooks.

#include <functional>
#include <optional>

#include "shell/AccessibleBoard.h"
#include "shell/Frontend.h"
#include "state/GameState.h"

namespace quintaro {

class MenuCommands {
  public:
    struct Hooks {
        std::function<void()> newGame;  // the player said Yes to a new game
        std::function<void()> exit;
        std::function<void()> hint;
    };

    MenuCommands(GameState& state, Frontend& frontend, Hooks hooks);

    // The window the commands act on, with the texts it was built with; nullptr for none.
    void attach(GameWindow* window, AccessibleBoard* board, const WindowTexts& texts);
    // The window's texts in the current language.
    const WindowTexts& texts() const { return texts_; }

    void choose(int item);
    void yesNoAnswered(bool yes);
    void optionsEdited(const OptionsEdit& edit);
    // A command's question (New Game's Yes/No, the options dialog) is open.
    bool asking() const { return askingNewGame_ || options_.has_value(); }

  private:
    void askNewGame();
    void showAbout();
    void showOptions();
    void switchLanguage(int index);

    GameState& state_;
    Frontend& frontend_;
    Hooks hooks_;
    GameWindow* window_ = nullptr;
    AccessibleBoard* board_ = nullptr;
    WindowTexts texts_;
    bool askingNewGame_ = false;
    std::optional<OptionsForm> options_;
    OptionsTexts optionsTexts_;
};

}  // namespace quintaro
