#pragma once
// The rules of the options dialog: the pause after the computer's turn in whole seconds from
// 0 to 5, and the computer opponent's stronger level.

#include <string>

#include "state/GameState.h"

namespace quintaro {

inline constexpr int maxDelaySeconds = 5;

struct OptionsChoice {
    int seconds = 0;  // always within 0..maxDelaySeconds
    bool stronger = false;
};

struct OptionsTexts {
    std::string showComputerHand;  // before the seconds field
    std::string seconds;           // after it
    std::string stronger;          // the check box
    std::string apply;
    std::string cancel;
};

int clampSeconds(int seconds);
// The seconds a field shows when the dialog opens: a hand-edited delay beyond the range
// shows its own number until the first change.
int shownSeconds(const GameState& state);
// The choice the dialog starts from.
OptionsChoice currentOptions(const GameState& state);
// The seconds an arrow or an Up/Down key leads to.
int stepSeconds(int seconds, int delta);
// The seconds typed into the field, read with the lenient number rules.
int typedSeconds(const std::string& text);
// Opens the language file, reads the dialog's texts and closes it.
OptionsTexts readOptionsTexts(const std::string& languageFile);
// Apply: sets delayMs and strongerCPU and saves both in settings.ini, delay first. A file
// that cannot be written keeps its old values; the new ones still apply now.
void applyOptions(GameState& state, const OptionsChoice& choice);

}  // namespace quintaro
