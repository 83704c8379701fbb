#pragma once
// The coach's hint: what it shows and says. The shell writes the expected total in the hand
// label's place and puts the label back at the next action; a window only frames the dice
// and describes the hint (tooltip and screen reader).

#include <optional>
#include <string>

#include "rules/Board.h"

namespace quintaro {

class Coach;

struct HintView {
    unsigned holdDice = 0;    // bit d-1 set: hold die d
    int row = -1;             // the row to book, -1 for none
    std::string label;        // shown in the hand label's place, e.g. "≈ 31.4"
    std::string description;  // the whole hint in words, for a tooltip and a screen reader
};

// What the coach says of the position on the board.
struct HintFacts {
    double best = 0;              // the expected total with best play
    std::optional<double> yours;  // with the player's present choice (held dice, selected row)
    unsigned holdDice = 0;
    int row = -1;
};

// The coach's advice for this player: before the first roll what the rest of the game is
// worth, after the first roll the dice to hold, after the second the row to book (with
// selectedRow as the player's choice). Nothing while the coach's table is not ready, or
// when the player can neither roll nor book.
std::optional<HintFacts> hintFacts(const Coach& coach, const Board& board, int player,
                                   int selectedRow);

// The hint as it is shown, in the words of the language file: "≈ 31.4" and
// "<best>: 31.4; <yours>: 29.0".
HintView composeHint(const HintFacts& facts, const std::string& bestText,
                     const std::string& yoursText);

// Both at once: the advice as it is shown, or nothing.
std::optional<HintView> advice(const Coach& coach, const Board& board, int player, int selectedRow,
                               const std::string& bestText, const std::string& yoursText);

// An expected total as the hint shows it: one decimal, with a point.
std::string formatTotal(double total);

}  // namespace quintaro

namespace quintaro {

class GameWindow;

// The hint on the window until the next action: the expected total in the hand label's place,
// the frame on the dice and the words. Clearing puts the hand label back as it was.
class HintDisplay {
  public:
    void show(GameWindow& window, Board& board, const HintView& hint);
    void clear(GameWindow& window, Board& board);
    bool shown() const { return shown_; }

  private:
    bool shown_ = false;
    std::string handTextBefore_;
};

}  // namespace quintaro
