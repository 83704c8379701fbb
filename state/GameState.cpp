#include "state/GameState.h"

#include "settings/KeyValueFile.h"

namespace quintaro {

void GameState::resetProgress() {
    for (int p = 1; p <= maxPlayers; ++p) {
        rowsBooked(p) = 0;
    }
}

GameState loadGameState() {
    GameState state;
    KeyValueFile settings;
    settings.open(std::string(settingsFileName));
    state.delayMs = textToNumber(settings.readText("delay", "0"));
    state.strongerCPU = textToNumber(settings.readText("strongerCPU", "0"));
    state.languageCode = settings.readText("lang", "en");
    state.languageFile = state.languageCode + ".lang";
    for (int i = 0; i <= 7; ++i) {
        state.handNames[std::size_t(i)] = settings.readText("hands" + std::to_string(i), "");
    }
    // Nothing was written, so closing leaves the file untouched.
    settings.close();
    return state;
}

}  // namespace quintaro
