#pragma once
// The coach's tables: the dice combinatorics of one turn and the value of every position.
//
// A position between turns is which of the 13 bookable rows are booked (a 13-bit set, bit i
// for the i-th bookable row: rows 0..5, then 7..13) and the sum of the upper rows, capped at
// 15 because only reaching 15 matters. Its value is the expected number of points still to
// come, the bonus included, when the player plays every turn as well as possible.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "rules/ScoreCard.h"

namespace quintaro {

inline constexpr int coachRows = bookableRowCount;
inline constexpr unsigned coachAllBooked = (1u << coachRows) - 1;
inline constexpr int coachUpperCap = bonusThreshold;  // the upper sum that earns the bonus
inline constexpr int coachBonus = bonusPoints;
// Upper sums 0 .. coachUpperCap - 1, and one slot for "the bonus no longer in play".
inline constexpr int coachSlots = coachUpperCap + 1;
inline constexpr int coachHands = 252;  // sorted hands of five dice
inline constexpr int coachKeeps = 462;  // multisets of 0 to 5 dice; the hands come first

// The bookable rows of the score card in card order: the coach's row i is card row
// coachCardRows[i].
inline constexpr std::array<int, coachRows> coachCardRows = [] {
    std::array<int, coachRows> rows{};
    std::size_t index = 0;
    for (int row = 0; row < rowCount; ++row) {
        if (isBookableRow(row)) {
            rows[index++] = row;
        }
    }
    return rows;
}();

// Score-card row of the i-th bookable row, and back (-1 for the bonus and total rows).
constexpr int coachCardRow(int index) {
    return coachCardRows[std::size_t(index)];
}
constexpr int coachRowIndex(int cardRow) {
    for (int index = 0; index < coachRows; ++index) {
        if (coachCardRows[std::size_t(index)] == cardRow) {
            return index;
        }
    }
    return -1;
}

// The bookable rows of a set of score-card rows (bit r for row r) as a 13-bit set.
constexpr unsigned coachBooked(unsigned cardRows) {
    unsigned booked = 0;
    for (int index = 0; index < coachRows; ++index) {
        if ((cardRows >> unsigned(coachCardRows[std::size_t(index)]) & 1u) != 0) {
            booked |= 1u << unsigned(index);
        }
    }
    return booked;
}
static_assert(coachCardRow(6) == int(Row::Pair) && coachRowIndex(bonusRow) == -1 &&
              coachBooked(0x7FFFu) == coachAllBooked);

// The dice of one turn, built once. Faces go by face index: 0 Ace, 1 King, ... 5 Nine.
struct CoachDiceTables {
    // Keep k holds counts[k][f] dice of face f. Keeps 0..251 are the five-dice hands,
    // 252..377 hold four dice, 378..433 three, 434..454 two, 455..460 one, 461 none.
    std::array<std::array<std::uint8_t, 6>, coachKeeps> counts{};
    std::array<std::uint8_t, coachKeeps> size{};
    // For a keep of fewer than five dice: the keep with one more die of face f.
    std::array<std::array<std::uint16_t, 6>, coachKeeps> addDie{};
    // For every keep: the keeps with one die fewer (one per face it holds).
    std::array<std::array<std::uint16_t, 6>, coachKeeps> removeDie{};
    std::array<std::uint8_t, coachKeeps> removeCount{};
    // Chance of each hand on a roll of all five dice.
    std::array<double, coachHands> handChance{};
    // Points of each hand in each bookable row, as the rules book them.
    std::array<std::array<std::uint8_t, coachRows>, coachHands> points{};
    // Hands with the same points in all seven lower rows share a lower class.
    std::array<std::uint8_t, coachHands> lowerClass{};
    int lowerClassCount = 0;
    std::array<std::array<std::uint8_t, 7>, coachHands> lowerClassPoints{};

    // The keep holding these counts of faces 0..5, or -1 for more than five dice.
    int keepOf(const std::array<int, 6>& faceCounts) const;

  private:
    friend const CoachDiceTables& coachDiceTables();
    CoachDiceTables();
    std::vector<std::int16_t> keepByCounts_;  // indexed by the counts as base-6 digits
};

const CoachDiceTables& coachDiceTables();

// The slot of an upper sum in a position: the sum while the bonus can still be earned, the last
// slot once
// it is earned or out of reach (the rest of the game is then the same either way). A sum
// above what the booked upper rows can hold is taken as their most.
int coachUpperSlot(unsigned booked, int upperSum, bool bonusWritten);

// The value of every position.
class CoachValueTable {
  public:
    // How many values a table holds: one per set of booked rows and upper slot.
    static constexpr std::size_t valueCount = std::size_t(coachAllBooked + 1) * coachSlots;

    // Computes the whole table by backward induction, from the full card to the empty one.
    static CoachValueTable compute();
    // A table computed elsewhere (a worker of its own where there are no threads), from the
    // values data() gives there; nothing when they are not valueCount finite values.
    static std::optional<CoachValueTable> fromValues(std::vector<double> values);

    // Expected points still to come from a position (0 once every row is booked), by its
    // upper slot.
    double rest(unsigned booked, int upperSlot) const {
        return values_[std::size_t(booked & coachAllBooked) * coachSlots + std::size_t(upperSlot)];
    }
    const double* data() const { return values_.data(); }
    std::size_t bytes() const { return values_.size() * sizeof(double); }

  private:
    std::vector<double> values_;  // [booked][upper slot]
};

// The best play of one turn from a position: what every booking and every hold is worth.
class CoachTurn {
  public:
    CoachTurn(const CoachValueTable& table, unsigned booked, int upperSlot);

    bool anyRowFree() const { return anyFree_; }
    // Points, bonus and the rest of the game after booking a hand in a free bookable row.
    double bookingValue(int hand, int rowIndex) const;
    // What each keep is worth before the second roll: the best booking after it, expected.
    // For the hands (keeps 0..251) it is the best booking of that hand.
    const std::array<double, coachKeeps>& keepValues() const { return expected_; }

  private:
    const CoachValueTable& table_;
    unsigned booked_;
    int upperSlot_;
    bool anyFree_ = false;
    std::array<double, coachKeeps> expected_{};
};

}  // namespace quintaro
