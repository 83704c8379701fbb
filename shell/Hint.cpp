#include "shell/Hint.h"

#include <cmath>
#include <cstdlib>

#include "coach/Coach.h"
#include "shell/Frontend.h"

namespace quintaro {

std::string formatTotal(double total) {
    const long tenths = std::lround(total * 10);
    const std::string sign = tenths < 0 ? "-" : "";
    return sign + std::to_string(std::labs(tenths) / 10) + "." +
           std::to_string(std::labs(tenths) % 10);
}

std::optional<HintFacts> hintFacts(const Coach& coach, const Board& board, int player,
                                   int selectedRow) {
    if (!coach.ready()) {
        return std::nullopt;
    }
    HintFacts facts;
    if (board.controlEnabled(ScoreCard)) {
        // After the second roll: the row to book.
        const std::optional<RowAdvice> advice = coach.adviseRow(board, player);
        if (!advice) {
            return std::nullopt;
        }
        facts.best = advice->bestTotal;
        facts.row = advice->bestRow;
        if (selectedRow >= 0 && selectedRow < int(advice->totals.size()) &&
            advice->totals[std::size_t(selectedRow)] >= 0) {
            facts.yours = advice->totals[std::size_t(selectedRow)];
        }
        return facts;
    }
    if (!board.controlEnabled(RollButton)) {
        return std::nullopt;
    }
    if (board.controlText(Die1).empty()) {
        // Before the first roll: what the rest of the game is worth.
        const std::optional<double> expected = coach.expectedTotal(readPosition(board, player));
        if (!expected) {
            return std::nullopt;
        }
        facts.best = *expected;
        return facts;
    }
    // After the first roll: the dice to hold.
    const std::optional<HoldAdvice> advice = coach.adviseHold(board, player);
    if (!advice) {
        return std::nullopt;
    }
    facts.best = advice->bestTotal;
    facts.holdDice = advice->bestHold;
    facts.yours = advice->totals[heldDice(board)];
    return facts;
}

HintView composeHint(const HintFacts& facts, const std::string& bestText,
                     const std::string& yoursText) {
    HintView hint;
    hint.holdDice = facts.holdDice;
    hint.row = facts.row;
    hint.label = "\u2248 " + formatTotal(facts.best);
    hint.description = bestText + ": " + formatTotal(facts.best);
    if (facts.yours) {
        hint.description += "; " + yoursText + ": " + formatTotal(*facts.yours);
    }
    return hint;
}

}  // namespace quintaro

namespace quintaro {

std::optional<HintView> advice(const Coach& coach, const Board& board, int player, int selectedRow,
                               const std::string& bestText, const std::string& yoursText) {
    const std::optional<HintFacts> facts = hintFacts(coach, board, player, selectedRow);
    if (!facts) {
        return std::nullopt;
    }
    return composeHint(*facts, bestText, yoursText);
}

void HintDisplay::show(GameWindow& window, Board& board, const HintView& hint) {
    clear(window, board);
    handTextBefore_ = board.controlText(HandLabel);
    shown_ = true;
    board.setControlText(HandLabel, hint.label);
    window.frameDice(hint.holdDice);
    window.describeHint(hint.description);
}

void HintDisplay::clear(GameWindow& window, Board& board) {
    if (!shown_) {
        return;
    }
    shown_ = false;
    window.frameDice(0);
    window.describeHint("");
    board.setControlText(HandLabel, handTextBefore_);
}

}  // namespace quintaro
