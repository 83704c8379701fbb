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

OptionsForm::OptionsForm(const GameState& state)
    : view_{std::to_string(shownSeconds(state)), state.strongerCPU != 0},
      seconds_(currentOptions(state).seconds) {}

OptionsForm::Outcome OptionsForm::edit(GameState& state, const OptionsEdit& edit) {
    switch (edit.kind) {
        case OptionsEditKind::Typed:
            // The field keeps what is typed until typing is over.
            seconds_ = typedSeconds(edit.text);
            view_.secondsText = edit.text;
            break;
        case OptionsEditKind::FieldLeft:
            view_.secondsText = std::to_string(seconds_);
            break;
        case OptionsEditKind::Step:
            seconds_ = stepSeconds(seconds_, edit.step);
            view_.secondsText = std::to_string(seconds_);
            break;
        case OptionsEditKind::Stronger:
            view_.stronger = edit.stronger;
            break;
        case OptionsEditKind::Apply:
            applyOptions(state, {seconds_, view_.stronger});
            return Outcome::Applied;
        case OptionsEditKind::Cancel:
            return Outcome::Cancelled;
    }
    return Outcome::Open;
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
