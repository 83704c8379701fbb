#include "shell/NewGame.h"

#include "settings/KeyValueFile.h"

namespace quintaro {

NewGameTexts readNewGameTexts(const std::string& languageFile) {
    KeyValueFile file;
    file.open(languageFile);
    NewGameTexts texts;
    texts.enterName = file.readText("enterName", "");
    texts.enterNumber = file.readText("enterNrP", "");
    texts.gameMode = file.readText("gameMode", "");
    texts.peopleButton = file.readText("A11yPeople", "People against each other");
    texts.computerButton = file.readText("A11yComputer", "One person against the computer");
    file.close();
    return texts;
}

NewGameQuestions::NewGameQuestions(GameState& state, NewGameTexts texts)
    : state_(state), texts_(std::move(texts)) {}

InputQuestion NewGameQuestions::numberQuestion() const {
    return {"PvP mode", texts_.enterNumber, "2"};
}

InputQuestion NewGameQuestions::nameQuestion() const {
    return {"", texts_.enterName, "Player " + std::to_string(nextName_)};
}

InputQuestion NewGameQuestions::begin(bool againstComputer) {
    if (againstComputer) {
        state_.computerMode = 1;
        state_.playerCount = 2;
        state_.playerNames[2] = "Computer";
        nextName_ = 1;
        return nameQuestion();
    }
    state_.computerMode = 0;
    if (state_.playerCount >= minPlayers && state_.playerCount <= maxPlayers) {
        nextName_ = 1;
        return nameQuestion();
    }
    nextName_ = 0;
    return numberQuestion();
}

std::optional<InputQuestion> NewGameQuestions::answer(const std::string& text) {
    if (nextName_ == 0) {
        // Only a number from 2 to 4 leaves this question; Escape answers "" which reads as 0.
        state_.playerCount = textToNumber(text);
        if (state_.playerCount < minPlayers || state_.playerCount > maxPlayers) {
            return numberQuestion();
        }
        nextName_ = 1;
        return nameQuestion();
    }
    state_.playerNames[std::size_t(nextName_)] = text;
    const int players = state_.computerMode == 1 ? 1 : state_.playerCount;
    if (nextName_ >= players) {
        return std::nullopt;
    }
    ++nextName_;
    return nameQuestion();
}

}  // namespace quintaro
