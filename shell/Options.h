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
// What happens in the options dialog: text typed into the seconds field (its whole text), the
// field left (typing is over), an arrow or Up/Down in the field, the check box, Apply, and
// Cancel (its button, Escape from any control, the close box).
enum class OptionsEditKind { Typed, FieldLeft, Step, Stronger, Apply, Cancel };

struct OptionsEdit {
    OptionsEditKind kind = OptionsEditKind::Cancel;
    std::string text;       // Typed: the field's text
    int step = 0;           // Step: +1 up, -1 down
    bool stronger = false;  // Stronger: the box's new state

    static OptionsEdit typed(std::string text) {
        return {OptionsEditKind::Typed, std::move(text), 0, false};
    }
    static OptionsEdit stepped(int step) { return {OptionsEditKind::Step, {}, step, false}; }
    static OptionsEdit strongerBox(bool on) { return {OptionsEditKind::Stronger, {}, 0, on}; }
    static OptionsEdit plain(OptionsEditKind kind) { return {kind, {}, 0, false}; }
};

// The options dialog as it is shown: the seconds field's text and the check box.
struct OptionsView {
    std::string secondsText;
    bool stronger = false;
    bool operator==(const OptionsView&) const = default;
};

// The options dialog's rules, for every edition. A hand-edited delay beyond the range shows
// its own number until the first change; typing is read with the lenient number rules and
// kept within 0..5, and the field shows that value once typing is over; the arrows step
// within the range and rewrite the field at once. Apply stores the value and the box.
class OptionsForm {
  public:
    enum class Outcome { Open, Applied, Cancelled };

    explicit OptionsForm(const GameState& state);
    // Takes one edit; Applied and Cancelled close the dialog (Apply has then stored).
    Outcome edit(GameState& state, const OptionsEdit& edit);
    const OptionsView& view() const { return view_; }
    int seconds() const { return seconds_; }

  private:
    OptionsView view_;
    int seconds_ = 0;  // always within 0..maxDelaySeconds
};

// Apply: sets delayMs and strongerCPU and saves both in settings.ini, delay first. A file
// that cannot be written keeps its old values; the new ones still apply now.
void applyOptions(GameState& state, const OptionsChoice& choice);

}  // namespace quintaro
