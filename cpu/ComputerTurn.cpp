#include "cpu/ComputerTurn.h"

#include <array>
#include <string>
#include <string_view>

#include "rules/Dice.h"
#include "rules/Scoring.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

// The computer books a scoring hand in the first free lower row of this list: the rarest
// combination first.
constexpr std::array<Row, 7> lowerRowPreference = {
    Row::FiveOfAKind, Row::FourOfAKind, Row::FullHouse, Row::Straight,
    Row::Trips,       Row::TwoPair,     Row::Pair};

// Shows a hand string on dice 1..5, "10" as one face; missing faces leave a die blank.
void showHand(Board& board, std::string_view hand) {
    std::size_t at = 0;
    for (int die = Die1; die <= Die5; ++die) {
        std::size_t length = 0;
        if (at < hand.size()) {
            length = hand.substr(at, 2) == "10" ? 2 : 1;
        }
        board.setControlText(die, std::string(hand.substr(at, length)));
        at += length;
    }
}

void showHandName(Board& board, const GameState& state, int category) {
    board.setControlText(HandLabel,
                         readOneText(state.languageFile, "hands" + std::to_string(category),
                                     state.handNames[std::size_t(category)]));
}

void bookChosenRow(Board& board, GameState& state, int category, std::string_view hand) {
    // The lower rows in which the hand scores, in the order of preference.
    for (const Row preferred : lowerRowPreference) {
        const int row = int(preferred);
        const int points = lowerRowPoints(row, category);
        if (points > 0 && bookComputerCell(board, row, points) == 1) {
            return;
        }
    }
    if (bookBestUpperRow(board, state, hand) == 1) {
        return;
    }
    // A 0 is struck in the highest free row; the bonus and total rows are never struck.
    for (int row = rowCount - 1; row >= 0; --row) {
        if (isBookableRow(row) && bookComputerCell(board, row, 0) == 1) {
            return;
        }
    }
    // No free row: nothing is booked.
}

}  // namespace

void computerTurn(Board& board, GameState& state) {
    // A hand without a combination is never booked: the whole turn is played again.
    for (;;) {
        rollDice(board);
        int category = classifyHand(board);
        refreshBookedCells(board, computerColumn);
        std::string hand = currentHandString(board);
        if (state.strongerCPU == 1) {
            // The stronger level stands in a drawn hand of an equal or better category.
            category = improveCategory(category);
            hand = exampleHand(category);
            showHand(board, hand);
        }
        showHandName(board, state, category);
        if (category != NoHand) {
            bookChosenRow(board, state, category, hand);
            return;
        }
    }
}

}  // namespace quintaro
