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

void askPeople(GameState& state, const NewGameTexts& texts, const AskFunction& ask) {
    state.computerMode = 0;
    // Only a number from 2 to 4 leaves this question; Escape answers "" which reads as 0.
    while (state.playerCount < minPlayers || state.playerCount > maxPlayers) {
        state.playerCount = textToNumber(ask("PvP mode", texts.enterNumber, "2"));
    }
    for (int i = 1; i <= state.playerCount; ++i) {
        state.playerNames[std::size_t(i)] = ask("", texts.enterName, "Player " + std::to_string(i));
    }
}

void askComputer(GameState& state, const NewGameTexts& texts, const AskFunction& ask) {
    state.computerMode = 1;
    state.playerCount = 2;
    state.playerNames[1] = ask("", texts.enterName, "Player 1");
    state.playerNames[2] = "Computer";
}

}  // namespace quintaro
