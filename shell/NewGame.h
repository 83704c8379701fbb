#pragma once
// The questions after the mode has been chosen: how many people play and their names, or the
// one person's name against the computer.

#include <functional>
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

// Asks with the modal text-input box: (title, prompt, default) -> the answer.
using AskFunction =
    std::function<std::string(const std::string&, const std::string&, const std::string&)>;

// People against each other: the number question repeats until it reads as 2..4, then one
// name per player, stored as typed.
void askPeople(GameState& state, const NewGameTexts& texts, const AskFunction& ask);
// One person against the computer, who is player 2 and named "Computer".
void askComputer(GameState& state, const NewGameTexts& texts, const AskFunction& ask);

}  // namespace quintaro
