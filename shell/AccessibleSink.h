#pragma once
// Where the shell hands the screen-reader names of the main window's controls. The shell
// composes every name (in the game's language) and decides when it changes; each edition only
// passes it on to its toolkit.

#include <string>

namespace quintaro {

class AccessibleSink {
  public:
    virtual ~AccessibleSink() = default;
    // A control of the main window (Die1..Die5, RollButton, TurnLabel, HandLabel) is now
    // called this.
    virtual void nameControl(int control, const std::string& name) = 0;
    // A score-card cell (row 0..14, column 1..players) is now called this.
    virtual void nameCell(int row, int column, const std::string& name) = 0;
    // A label's text changed: a screen reader reads it out (a name-changed event).
    virtual void announce(int control) = 0;
};

}  // namespace quintaro
