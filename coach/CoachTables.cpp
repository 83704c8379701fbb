#include "coach/CoachTables.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "rules/Scoring.h"
#include "state/GameState.h"

namespace quintaro {

namespace {

constexpr int slotCount = coachSlots;
constexpr int bonusSlot = coachSlots - 1;
constexpr int faceCount = 6;
constexpr double impossible = -std::numeric_limits<double>::infinity();

int countKey(const std::array<int, 6>& counts) {
    int key = 0;
    for (int face = faceCount - 1; face >= 0; --face) {
        key = key * 6 + counts[std::size_t(face)];
    }
    return key;
}

// Every multiset of `dice` dice over the faces, in a fixed order.
void multisets(int dice, int face, std::array<int, 6>& counts,
               std::vector<std::array<int, 6>>& out) {
    if (face == faceCount - 1) {
        counts[std::size_t(face)] = dice;
        out.push_back(counts);
        return;
    }
    for (int n = dice; n >= 0; --n) {
        counts[std::size_t(face)] = n;
        multisets(dice - n, face + 1, counts, out);
    }
}

int factorial(int n) {
    return n <= 1 ? 1 : n * factorial(n - 1);
}

int upperCount(unsigned booked) {
    return std::popcount(booked & 0x3Fu);
}

// What one booking of a turn is worth, before the hand is known: per lower class the best
// free lower row, and per free upper row what each count of its face brings.
struct BookingGains {
    std::array<double, 8> lowerBest{};
    int upperFree = 0;
    std::array<int, 6> upperRow{};
    std::array<std::array<double, 6>, 6> upperGain{};
};

// The slot after adding `count` to the upper sum of slot `slot` and booking one more upper
// row; `bonus` tells whether this booking earns the bonus.
int slotAfterUpper(unsigned bookedAfter, int slot, int count, bool& bonus) {
    bonus = false;
    if (slot == bonusSlot) {
        return bonusSlot;
    }
    const int sum = slot + count;
    if (sum >= coachUpperCap) {
        bonus = true;
        return bonusSlot;
    }
    const int freeUpper = 6 - upperCount(bookedAfter);
    return sum + 5 * freeUpper < coachUpperCap ? bonusSlot : sum;
}

void bookingGains(const CoachDiceTables& dice, const double* values, unsigned booked, int slot,
                  BookingGains& gains) {
    gains.lowerBest.fill(impossible);
    gains.upperFree = 0;
    for (int row = 0; row < coachRows; ++row) {
        const unsigned after = booked | (1u << unsigned(row));
        if (after == booked) {
            continue;
        }
        if (row < 6) {
            const int j = gains.upperFree++;
            gains.upperRow[std::size_t(j)] = row;
            for (int count = 0; count <= 5; ++count) {
                bool bonus = false;
                const int next = slotAfterUpper(after, slot, count, bonus);
                gains.upperGain[std::size_t(j)][std::size_t(count)] =
                    count + (bonus ? coachBonus : 0) + values[after * slotCount + unsigned(next)];
            }
        } else {
            const double rest = values[after * slotCount + unsigned(slot)];
            for (int c = 0; c < dice.lowerClassCount; ++c) {
                const double value =
                    dice.lowerClassPoints[std::size_t(c)][std::size_t(row - 6)] + rest;
                gains.lowerBest[std::size_t(c)] = std::max(gains.lowerBest[std::size_t(c)], value);
            }
        }
    }
}

// expected[0..251]: the best booking of each hand; then every smaller keep, expected over the
// faces of the dice it rolls.
void keepExpectations(const CoachDiceTables& dice, const BookingGains& gains, double* expected) {
    for (int hand = 0; hand < coachHands; ++hand) {
        double best = gains.lowerBest[dice.lowerClass[std::size_t(hand)]];
        const auto& points = dice.points[std::size_t(hand)];
        for (int j = 0; j < gains.upperFree; ++j) {
            const int row = gains.upperRow[std::size_t(j)];
            best = std::max(best, gains.upperGain[std::size_t(j)][points[std::size_t(row)]]);
        }
        expected[hand] = best;
    }
    for (int keep = coachHands; keep < coachKeeps; ++keep) {
        const auto& add = dice.addDie[std::size_t(keep)];
        expected[keep] = (expected[add[0]] + expected[add[1]] + expected[add[2]] +
                          expected[add[3]] + expected[add[4]] + expected[add[5]]) *
                         (1.0 / 6.0);
    }
}

// Before the first roll: every hand is answered by its best keep.
double firstRollValue(const CoachDiceTables& dice, const double* expected, double* best) {
    for (int keep = coachKeeps - 1; keep >= 0; --keep) {
        double value = expected[keep];
        const auto& remove = dice.removeDie[std::size_t(keep)];
        for (int r = 0; r < dice.removeCount[std::size_t(keep)]; ++r) {
            value = std::max(value, best[remove[std::size_t(r)]]);
        }
        best[keep] = value;
    }
    double value = 0;
    for (int hand = 0; hand < coachHands; ++hand) {
        value += dice.handChance[std::size_t(hand)] * best[hand];
    }
    return value;
}

}  // namespace

CoachDiceTables::CoachDiceTables() : keepByCounts_(6 * 6 * 6 * 6 * 6 * 6, -1) {
    std::vector<std::array<int, 6>> all;
    for (int dice = 5; dice >= 0; --dice) {
        std::array<int, 6> scratch{};
        multisets(dice, 0, scratch, all);
    }
    for (std::size_t k = 0; k < all.size(); ++k) {
        int total = 0;
        for (int face = 0; face < faceCount; ++face) {
            counts[k][std::size_t(face)] = std::uint8_t(all[k][std::size_t(face)]);
            total += all[k][std::size_t(face)];
        }
        size[k] = std::uint8_t(total);
        keepByCounts_[std::size_t(countKey(all[k]))] = std::int16_t(k);
    }
    for (int k = 0; k < coachKeeps; ++k) {
        std::array<int, 6> c = all[std::size_t(k)];
        for (int face = 0; face < faceCount; ++face) {
            if (size[std::size_t(k)] < 5) {
                ++c[std::size_t(face)];
                addDie[std::size_t(k)][std::size_t(face)] = std::uint16_t(keepOf(c));
                --c[std::size_t(face)];
            }
            if (c[std::size_t(face)] > 0) {
                --c[std::size_t(face)];
                removeDie[std::size_t(k)][removeCount[std::size_t(k)]++] = std::uint16_t(keepOf(c));
                ++c[std::size_t(face)];
            }
        }
    }
    // The hands: their chances and their points, from the rules' own booking of the hand.
    std::vector<std::array<std::uint8_t, 7>> classes;
    for (int hand = 0; hand < coachHands; ++hand) {
        int ways = factorial(5);
        std::string text;
        for (int face = 0; face < faceCount; ++face) {
            const int n = counts[std::size_t(hand)][std::size_t(face)];
            ways /= factorial(n);
            for (int i = 0; i < n; ++i) {
                text += faceLabels[std::size_t(face)];
            }
        }
        handChance[std::size_t(hand)] = ways / 7776.0;
        std::array<std::uint8_t, 7> lower{};
        for (int row = 0; row < coachRows; ++row) {
            const int p = handRowPoints(text, coachCardRow(row));
            points[std::size_t(hand)][std::size_t(row)] = std::uint8_t(p);
            if (row >= 6) {
                lower[std::size_t(row - 6)] = std::uint8_t(p);
            }
        }
        auto found = std::find(classes.begin(), classes.end(), lower);
        if (found == classes.end()) {
            classes.push_back(lower);
            found = classes.end() - 1;
        }
        lowerClass[std::size_t(hand)] = std::uint8_t(found - classes.begin());
    }
    lowerClassCount = int(classes.size());
    std::copy(classes.begin(), classes.end(), lowerClassPoints.begin());
}

int CoachDiceTables::keepOf(const std::array<int, 6>& faceCounts) const {
    int total = 0;
    for (int n : faceCounts) {
        if (n < 0 || n > 5) {
            return -1;
        }
        total += n;
    }
    return total > 5 ? -1 : keepByCounts_[std::size_t(countKey(faceCounts))];
}

const CoachDiceTables& coachDiceTables() {
    static const CoachDiceTables tables;
    return tables;
}

int coachUpperSlot(unsigned booked, int upperSum, bool bonusWritten) {
    const int bookedUpper = upperCount(booked);
    if (bonusWritten || upperSum >= coachUpperCap) {
        return bonusSlot;
    }
    const int sum = std::clamp(upperSum, 0, 5 * bookedUpper);
    return sum + 5 * (6 - bookedUpper) < coachUpperCap ? bonusSlot : sum;
}

CoachValueTable CoachValueTable::compute() {
    const CoachDiceTables& dice = coachDiceTables();
    CoachValueTable table;
    table.values_.assign(std::size_t(coachAllBooked + 1) * slotCount, 0.0);
    double* values = table.values_.data();
    BookingGains gains;
    std::array<double, coachKeeps> expected{};
    std::array<double, coachKeeps> best{};
    for (unsigned booked = coachAllBooked; booked-- > 0;) {
        const int bookedUpper = upperCount(booked);
        // Sums from which the bonus is out of reach share the bonus slot; sums above what the
        // booked rows can hold never occur. The bonus slot is filled for every set of booked
        // rows, so a card with a bonus written too early still gets sound answers.
        const int firstSlot = std::max(0, coachUpperCap - 5 * (6 - bookedUpper));
        const int lastSlot = std::min(coachUpperCap - 1, 5 * bookedUpper);
        for (int slot = firstSlot; slot <= bonusSlot; ++slot) {
            if (slot > lastSlot && slot != bonusSlot) {
                continue;
            }
            bookingGains(dice, values, booked, slot, gains);
            keepExpectations(dice, gains, expected.data());
            values[booked * slotCount + unsigned(slot)] =
                firstRollValue(dice, expected.data(), best.data());
        }
    }
    return table;
}

std::optional<CoachValueTable> CoachValueTable::fromValues(std::vector<double> values) {
    if (values.size() != valueCount ||
        !std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); })) {
        return std::nullopt;
    }
    CoachValueTable table;
    table.values_ = std::move(values);
    return table;
}

CoachTurn::CoachTurn(const CoachValueTable& table, unsigned booked, int upperSlot)
    : table_(table), booked_(booked & coachAllBooked), upperSlot_(upperSlot) {
    anyFree_ = booked_ != coachAllBooked;
    if (!anyFree_) {
        return;
    }
    BookingGains gains;
    bookingGains(coachDiceTables(), table.data(), booked_, upperSlot_, gains);
    keepExpectations(coachDiceTables(), gains, expected_.data());
}

double CoachTurn::bookingValue(int hand, int rowIndex) const {
    const unsigned after = booked_ | (1u << unsigned(rowIndex));
    const int points = coachDiceTables().points[std::size_t(hand)][std::size_t(rowIndex)];
    if (rowIndex >= 6) {
        return points + table_.rest(after, upperSlot_);
    }
    bool bonus = false;
    const int next = slotAfterUpper(after, upperSlot_, points, bonus);
    return points + (bonus ? coachBonus : 0) + table_.rest(after, next);
}

}  // namespace quintaro
