#pragma once
// The questions after the mode has been chosen: how many people play and their names, or the
// one person's name against the computer.

#include <optional>
#include <string>

#include "state/GameState.h"

namespace quintaro {

struct NewGameTexts {
    std::string enterName;
    std::string enterNumber;
    std::string gameMode;      // the dialog's title
    std::string peopleButton;  // the mode buttons' names, for screen readers
    std::string computerButton;
};

// Opens the language file, reads the dialog's texts and closes it.
NewGameTexts readNewGameTexts(const std::string& languageFile);

// One question of the text-input box.
struct InputQuestion {
    std::string title;
    std::string prompt;
    std::string defaultText;
    bool operator==(const InputQuestion&) const = default;
};

// The questions in their order, one answer at a time. People against each other: the number
// question repeats until it reads as 2..4, then one name per player, stored as typed. One
// person against the computer: one name; the computer is player 2, named "Computer".
class NewGameQuestions {
  public:
    NewGameQuestions(GameState& state, NewGameTexts texts);
    // The first question for this mode (People or Computer).
    InputQuestion begin(bool againstComputer);
    // Takes the answer to the question asked last: the next question, or nothing when the
    // game is set up.
    std::optional<InputQuestion> answer(const std::string& text);

  private:
    InputQuestion numberQuestion() const;
    InputQuestion nameQuestion() const;

    GameState& state_;
    NewGameTexts texts_;
    int nextName_ = 0;  // the player whose name is asked; 0 while the number is asked
};

}  // namespace quintaro
