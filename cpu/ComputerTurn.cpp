#include "cpu/ComputerTurn.h"

#include <array>
#include <string>
#include <string_view>

#include "rules/Dice.h"
#include "rules/Scoring.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

struct RowChoice {
    int row;
    int points;
};

struct Preference {
    int count;
    std::array<RowChoice, 5> choices;
};

// Per hand category, the lower rows in which it scores, from the highest row down.
constexpr std::array<Preference, 8> rowPreferences = {{
    {0, {}},                                            // NoHand: never booked
    {5, {{{13, 5}, {12, 4}, {9, 3}, {8, 2}, {7, 1}}}},  // FiveOfAKind
    {4, {{{12, 4}, {9, 3}, {8, 2}, {7, 1}}}},           // FourOfAKind
    {4, {{{11, 4}, {9, 3}, {8, 2}, {7, 1}}}},           // FullHouse
    {1, {{{10, 4}}}},                                   // Straight
    {3, {{{9, 3}, {8, 2}, {7, 1}}}},                    // Trips
    {2, {{{8, 2}, {7, 1}}}},                            // TwoPair
    {1, {{{7, 1}}}},                                    // Pair
}};

// Where a 0 is struck when nothing else can be booked; rows 6 and 14 are never struck.
constexpr std::array<int, 13> strikeOrder = {13, 12, 11, 10, 9, 8, 7, 5, 4, 3, 2, 1, 0};

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
    KeyValueFile language;
    language.open(state.languageFile);
    std::string name = language.readText("hands" + std::to_string(category),
                                         state.handNames[std::size_t(category)]);
    language.close();
    board.setControlText(HandLabel, name);
}

void bookChosenRow(Board& board, GameState& state, int category, std::string_view hand) {
    const Preference& preference = rowPreferences[std::size_t(category)];
    for (int i = 0; i < preference.count; ++i) {
        const RowChoice& choice = preference.choices[std::size_t(i)];
        if (bookComputerCell(board, choice.row, choice.points) == 1) {
            return;
        }
    }
    if (bookBestUpperRow(board, state, hand) == 1) {
        return;
    }
    for (int row : strikeOrder) {
        if (bookComputerCell(board, row, 0) == 1) {
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
