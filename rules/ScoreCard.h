#pragma once
// The rows of the score card: what each one is called, whether it can be booked, and what it
// pays. Scoring, the computer opponent, the window's labels, the end of a game, the simulator
// and the tests all read this one table.

#include <array>
#include <string_view>

namespace quintaro {

// Hand categories as the classifier returns them; also the digit of the keys hands0..hands7.
enum HandCategory : int {
    NoHand = 0,
    FiveOfAKind = 1,
    FourOfAKind = 2,
    FullHouse = 3,
    Straight = 4,
    Trips = 5,
    TwoPair = 6,
    Pair = 7,
};

enum class Row : int {
    Nines,
    Tens,
    Jacks,
    Queens,
    Kings,
    Aces,
    Bonus,
    Pair,
    TwoPair,
    Trips,
    Straight,
    FullHouse,
    FourOfAKind,
    FiveOfAKind,
    Total,
};

inline constexpr int rowCount = 15;  // score-card rows 0..14
inline constexpr int bookableRowCount = 13;
inline constexpr int upperRowCount = 6;  // Nines to Aces
inline constexpr int bonusRow = int(Row::Bonus);
inline constexpr int totalRow = int(Row::Total);
// The upper rows earn the bonus once they reach this sum together.
inline constexpr int bonusThreshold = 15;
inline constexpr int bonusPoints = 3;

constexpr unsigned categoryBit(int category) {
    return 1u << unsigned(category);
}

struct RowInfo {
    std::string_view key;           // language key of the label
    std::string_view defaultLabel;  // the label when the key is missing at start-up
    bool bookable;
    int face;                     // upper rows: the face index counted (0 aces .. 5 nines)
    int points;                   // lower rows: the points of a qualifying hand
    unsigned acceptedCategories;  // lower rows: bit c set when category c qualifies
};

// A better hand also counts in the smaller rows, but five of a kind is no full house.
inline constexpr std::array<RowInfo, rowCount> scoreRows = {{
    {"Nines", "Nines", true, 5, 0, 0},
    {"Tens", "Tens", true, 4, 0, 0},
    {"Jacks", "Jacks", true, 3, 0, 0},
    {"Queens", "Queens", true, 2, 0, 0},
    {"Kings", "Kings", true, 1, 0, 0},
    {"Aces", "Aces", true, 0, 0, 0},
    {"Bonus", "15+ BONUS (3)", false, -1, 0, 0},
    {"Pair", "Pair (1)", true, -1, 1,
     categoryBit(Pair) | categoryBit(TwoPair) | categoryBit(Trips) | categoryBit(FullHouse) |
         categoryBit(FourOfAKind) | categoryBit(FiveOfAKind)},
    {"TwoPair", "Two Pair (2)", true, -1, 2,
     categoryBit(TwoPair) | categoryBit(Trips) | categoryBit(FullHouse) | categoryBit(FourOfAKind) |
         categoryBit(FiveOfAKind)},
    {"Trips", "Trips (3)", true, -1, 3,
     categoryBit(Trips) | categoryBit(FullHouse) | categoryBit(FourOfAKind) |
         categoryBit(FiveOfAKind)},
    {"Straight", "Straight (4)", true, -1, 4, categoryBit(Straight)},
    {"FH", "Full House (4)", true, -1, 4, categoryBit(FullHouse)},
    {"4K", "4 of a Kind (4)", true, -1, 4, categoryBit(FourOfAKind) | categoryBit(FiveOfAKind)},
    {"5K", "5 of a Kind (5)", true, -1, 5, categoryBit(FiveOfAKind)},
    {"Total", "Total", false, -1, 0, 0},
}};

constexpr bool isBookableRow(int row) {
    return row >= 0 && row < rowCount && scoreRows[std::size_t(row)].bookable;
}

constexpr bool isUpperRow(int row) {
    return row >= 0 && row < upperRowCount;
}

// The points a lower row pays for a hand of this category (0 when it does not qualify).
constexpr int lowerRowPoints(int row, int category) {
    const RowInfo& info = scoreRows[std::size_t(row)];
    return (info.acceptedCategories & categoryBit(category)) != 0 ? info.points : 0;
}

}  // namespace quintaro
