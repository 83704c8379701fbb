#include "shell/Options.h"

#include <algorithm>

#include "settings/KeyValueFile.h"

namespace quintaro {

int clampSeconds(int seconds) {
    return std::clamp(seconds, 0, maxDelaySeconds);
}

int shownSeconds(const GameState& state) {
    return state.delayMs / 1000;
}

OptionsChoice currentOptions(const GameState& state) {
    return {clampSeconds(shownSeconds(state)), state.strongerCPU != 0};
}

int stepSeconds(int seconds, int delta) {
    return clampSeconds(seconds + delta);
}

int typedSeconds(const std::string& text) {
    return clampSeconds(textToNumber(text));
}

OptionsTexts readOptionsTexts(const std::string& languageFile) {
    KeyValueFile file;
    file.open(languageFile);
    OptionsTexts texts;
    texts.showComputerHand = file.readText("ShowCPUhand", "");
    texts.seconds = file.readText("sec", "");
    texts.stronger = file.readText("strongerCPU", "");
    texts.apply = file.readText("apply", "");
    texts.cancel = file.readText("cancel", "");
    file.close();
    return texts;
}

void applyOptions(GameState& state, const OptionsChoice& choice) {
    state.delayMs = clampSeconds(choice.seconds) * 1000;
    state.strongerCPU = choice.stronger ? 1 : 0;
    KeyValueFile settings;
    settings.open(std::string(settingsFileName));
    settings.writeText("delay", numberToText(state.delayMs));
    settings.writeText("strongerCPU", choice.stronger ? "1" : "0");
    settings.close();
}

}  // namespace quintaro
