#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "coach/Coach.h"
#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "rules/Scoring.h"
#include "shell/TurnFlow.h"
#include "tests/support/GameSupport.h"

namespace quintaro {
namespace {

constexpr int throwCount = 7776;

// The ordered throw number `index` (0..7775), die 1 the lowest base-6 digit.
CoachDice throwDice(int index) {
    CoachDice dice{};
    for (int& face : dice) {
        face = index % 6;
        index /= 6;
    }
    return dice;
}

std::string handText(const CoachDice& dice) {
    std::string text;
    for (int face : dice) {
        text += faceLabels[std::size_t(face)];
    }
    return text;
}

const Coach& coach() {
    static Coach shared;
    shared.wait();
    return shared;
}

// The coach's points come from the rules' own booking; here every throw is booked for real.
TEST(CoachTables, PointsOfEveryThrowInEveryRowAreTheRulesBooking) {
    const CoachDiceTables& tables = coachDiceTables();
    for (int t = 0; t < throwCount; ++t) {
        const CoachDice dice = throwDice(t);
        std::array<int, 6> counts{};
        for (int face : dice) {
            ++counts[std::size_t(face)];
        }
        const int hand = tables.keepOf(counts);
        ASSERT_GE(hand, 0);
        ASSERT_LT(hand, coachHands);
        MemoryBoard board(1);
        for (int die = Die1; die <= Die5; ++die) {
            board.setControlText(die, std::string(faceLabels[std::size_t(dice[die - Die1])]));
        }
        for (int index = 0; index < coachRows; ++index) {
            const int row = coachCardRow(index);
            ASSERT_EQ(bookRow(board, 1, row), 1);
            ASSERT_EQ(cellValue(board, row, 1),
                      tables.points[std::size_t(hand)][std::size_t(index)])
                << currentHandString(board) << " in row " << row;
        }
    }
}

// A position with one row free, the rest booked; the upper sum as given.
CoachPosition onlyRowFree(int row, int upperSum, bool bonusWritten) {
    CoachPosition position;
    position.bookedRows = std::uint16_t(0x3FBF & ~(1u << unsigned(row)));
    position.upperSum = upperSum;
    position.bonusWritten = bonusWritten;
    position.total = upperSum + (bonusWritten ? 3 : 0) + 7;
    return position;
}

// The rest of the game by brute force over both rolls and every hold, scored by the rules'
// own booking of every ordered throw: one row left, so the booking is forced.
class BruteForce {
  public:
    BruteForce(int row, int upperSum, bool bonusWritten) : points_(throwCount) {
        for (int t = 0; t < throwCount; ++t) {
            const int points = handRowPoints(handText(throwDice(t)), row);
            const bool bonus = row < 6 && !bonusWritten && upperSum < 15 && upperSum + points >= 15;
            points_[std::size_t(t)] = points + (bonus ? 3 : 0);
        }
    }

    // The best hold after a first throw: its expectation over every second throw.
    double bestHold(const CoachDice& first) const {
        double best = -1;
        for (unsigned hold = 0; hold < 32; ++hold) {
            int heldPart = 0;
            std::vector<int> rolledPlaces;
            for (int d = 0, place = 1; d < 5; ++d, place *= 6) {
                if (hold & (1u << unsigned(d))) {
                    heldPart += first[std::size_t(d)] * place;
                } else {
                    rolledPlaces.push_back(place);
                }
            }
            int outcomes = 1;
            for (std::size_t i = 0; i < rolledPlaces.size(); ++i) {
                outcomes *= 6;
            }
            double sum = 0;
            for (int o = 0; o < outcomes; ++o) {
                int index = heldPart;
                for (int rest = o, i = 0; i < int(rolledPlaces.size()); ++i, rest /= 6) {
                    index += (rest % 6) * rolledPlaces[std::size_t(i)];
                }
                sum += points_[std::size_t(index)];
            }
            best = std::max(best, sum / outcomes);
        }
        return best;
    }

  private:
    std::vector<int> points_;  // final points of every ordered second throw
};

TEST(Coach, OneRowLeftMatchesBruteForceOverBothRollsAndEveryHold) {
    struct Case {
        int row;
        int upperSum;
        bool bonusWritten;
    };
    const std::vector<Case> cases = {
        {0, 0, false},   // Nines, the bonus out of reach
        {0, 12, false},  // Nines, three nines earn the bonus
        {5, 10, false},  // Aces, only five aces earn the bonus
        {5, 16, true},   // Aces with the bonus on the card
        {13, 9, false},  // 5 of a Kind
        {10, 9, false},  // Straight
        {11, 9, false},  // Full House
        {8, 9, false},   // Two Pair
        {7, 25, true},   // Pair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row) + ", upper sum " + std::to_string(c.upperSum));
        const CoachPosition position = onlyRowFree(c.row, c.upperSum, c.bonusWritten);
        const BruteForce brute(c.row, c.upperSum, c.bonusWritten);
        std::map<std::array<int, 6>, double> bySortedHand;
        double expected = 0;
        for (int t = 0; t < throwCount; ++t) {
            const CoachDice first = throwDice(t);
            std::array<int, 6> counts{};
            for (int face : first) {
                ++counts[std::size_t(face)];
            }
            auto found = bySortedHand.find(counts);
            if (found == bySortedHand.end()) {
                found = bySortedHand.emplace(counts, brute.bestHold(first)).first;
                const std::optional<HoldAdvice> advice = coach().adviseHold(position, first);
                ASSERT_TRUE(advice);
                ASSERT_NEAR(advice->bestTotal - position.total, found->second, 1e-9)
                    << handText(first);
                ASSERT_NEAR(advice->totals[advice->bestHold], advice->bestTotal, 0.0);
            }
            expected += found->second / throwCount;
        }
        EXPECT_NEAR(*coach().expectedTotal(position) - position.total, expected, 1e-9);
    }
}

// Positions in the middle of a game, the bonus still in play in most of them.
std::vector<CoachPosition> middlePositions() {
    std::vector<CoachPosition> positions;
    const std::vector<std::pair<unsigned, int>> booked = {
        {0x0000, 0},                               // the first turn
        {(1u << 0) | (1u << 1) | (1u << 9), 5},    // nines, tens, trips
        {0x3F | (1u << 13), 14},                   // every upper row, bonus missed by one
        {(1u << 3) | (1u << 4) | (1u << 5), 11},   // queens, kings, aces
        {0x3FBF & ~((1u << 2) | (1u << 10)), 13},  // jacks and straight left
        {0x3F80 | (1u << 5), 3},                   // the lower rows and aces
    };
    for (const auto& [rows, upper] : booked) {
        CoachPosition p;
        p.bookedRows = std::uint16_t(rows);
        p.upperSum = upper;
        p.total = upper + 4;
        positions.push_back(p);
    }
    return positions;
}

TEST(Coach, ValueIsTheExpectationOfTheBestHoldOverFirstThrows) {
    for (const CoachPosition& position : middlePositions()) {
        double sum = 0;
        for (int t = 0; t < throwCount; ++t) {
            sum += coach().adviseHold(position, throwDice(t))->bestTotal;
        }
        EXPECT_NEAR(sum / throwCount, *coach().expectedTotal(position), 1e-9)
            << "rows " << position.bookedRows;
    }
}

TEST(Coach, HoldIsWorthTheExpectationOfTheBestRowOverSecondThrows) {
    std::mt19937 rng(7);
    for (const CoachPosition& position : middlePositions()) {
        for (int sample = 0; sample < 2; ++sample) {
            const CoachDice first = throwDice(int(rng() % throwCount));
            const HoldAdvice advice = *coach().adviseHold(position, first);
            for (unsigned hold = 0; hold < 32; ++hold) {
                double sum = 0;
                int outcomes = 0;
                for (int t = 0; t < throwCount; ++t) {
                    // Each throw of the free dice once: held dice take the first throw's face.
                    CoachDice second = throwDice(t);
                    bool repeat = false;
                    for (int d = 0; d < 5; ++d) {
                        if (hold & (1u << unsigned(d))) {
                            repeat = repeat || second[std::size_t(d)] != 0;
                            second[std::size_t(d)] = first[std::size_t(d)];
                        }
                    }
                    if (!repeat) {
                        sum += coach().adviseRow(position, second)->bestTotal;
                        ++outcomes;
                    }
                }
                ASSERT_NEAR(advice.totals[hold], sum / outcomes, 1e-9) << "hold " << hold;
                EXPECT_LE(advice.totals[hold], advice.bestTotal);
            }
        }
    }
}

TEST(Coach, RowIsWorthItsPointsAndTheValueOfThePositionAfterIt) {
    const CoachDiceTables& tables = coachDiceTables();
    std::mt19937 rng(11);
    for (const CoachPosition& position : middlePositions()) {
        const CoachDice dice = throwDice(int(rng() % throwCount));
        const RowAdvice advice = *coach().adviseRow(position, dice);
        std::array<int, 6> counts{};
        for (int face : dice) {
            ++counts[std::size_t(face)];
        }
        const int hand = tables.keepOf(counts);
        for (int row = 0; row <= 13; ++row) {
            const bool free = row != 6 && !(position.bookedRows & (1u << unsigned(row)));
            if (!free) {
                EXPECT_EQ(advice.totals[std::size_t(row)], -1.0) << row;
                continue;
            }
            const int points = tables.points[std::size_t(hand)][std::size_t(coachRowIndex(row))];
            CoachPosition after = position;
            after.bookedRows = std::uint16_t(after.bookedRows | (1u << unsigned(row)));
            after.total += points;
            if (row < 6) {
                after.upperSum += points;
                if (position.upperSum < 15 && after.upperSum >= 15) {
                    after.total += 3;
                    after.bonusWritten = true;
                }
            }
            EXPECT_NEAR(advice.totals[std::size_t(row)], *coach().expectedTotal(after), 1e-9)
                << "row " << row;
            EXPECT_LE(advice.totals[std::size_t(row)], advice.bestTotal);
        }
        EXPECT_EQ(advice.totals[std::size_t(advice.bestRow)], advice.bestTotal);
    }
}

// ---------------------------------------------------------------- on a board

TEST(CoachBoard, ReadsTheColumnAndTheDiceAsShown) {
    MemoryBoard board(2);
    board.setDice({"A", "10", "9", "K", "A"});
    board.setDieHeld(1, true);
    board.setDieHeld(5, true);
    const std::vector<std::pair<int, std::string>> booked = {{0, "3"}, {1, "4"}, {2, "4"},
                                                             {3, "4"}, {9, "3"}, {12, "0"}};
    for (const auto& [row, text] : booked) {
        board.setCellText(row, 2, text);
        board.setCellColour(row, 2, bookedCellColour);
    }
    board.setCellText(6, 2, "3");
    board.setCellText(4, 1, "5");  // another player's column
    board.setCellColour(4, 1, bookedCellColour);

    const CoachPosition position = readPosition(board, 2);
    EXPECT_EQ(position.bookedRows,
              (1u << 0) | (1u << 1) | (1u << 2) | (1u << 3) | (1u << 9) | (1u << 12));
    EXPECT_EQ(position.upperSum, 15);
    EXPECT_EQ(position.total, 21);
    EXPECT_TRUE(position.bonusWritten);
    EXPECT_EQ(readDice(board), (CoachDice{0, 4, 5, 1, 0}));
    EXPECT_EQ(heldDice(board), 0x11u);

    const std::optional<HoldAdvice> hold = coach().adviseHold(board, 2);
    ASSERT_TRUE(hold);
    EXPECT_EQ(hold->bestTotal, coach().adviseHold(position, *readDice(board))->bestTotal);
    const std::optional<RowAdvice> row = coach().adviseRow(board, 2);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->totals[0], -1.0);
    EXPECT_GT(row->totals[5], row->totals[4]);  // two aces in Aces beat no king in Kings
}

TEST(CoachBoard, NoAnswerWithoutFacesOrTableOrFreeRow) {
    MemoryBoard board(2);
    EXPECT_FALSE(coach().adviseHold(board, 1));  // blank dice before the first roll
    board.setDice({"A", "A", "", "K", "9"});
    EXPECT_FALSE(coach().adviseRow(board, 1));
    board.setDice({"A", "A", "1", "K", "9"});
    EXPECT_FALSE(coach().adviseRow(board, 1));
    board.setDice({"A", "A", "Q", "K", "9"});
    EXPECT_FALSE(coach().adviseRow(board, 0));
    EXPECT_FALSE(coach().adviseRow(board, 5));
    EXPECT_TRUE(coach().adviseRow(board, 1));
    EXPECT_FALSE(coach().adviseHold(CoachPosition{}, CoachDice{0, 1, 2, 3, 6}));
    EXPECT_FALSE(coach().adviseRow(CoachPosition{}, CoachDice{-1, 1, 2, 3, 4}));

    CoachPosition full;
    full.bookedRows = 0x3FBF;
    full.total = 40;
    EXPECT_FALSE(coach().adviseRow(full, CoachDice{0, 1, 2, 3, 4}));
    EXPECT_FALSE(coach().adviseHold(full, CoachDice{0, 1, 2, 3, 4}));
    EXPECT_EQ(coach().expectedTotal(full), 40.0);

    CoachPosition early;  // a bonus on the card before three upper rows could hold 15
    early.bookedRows = 1;
    early.upperSum = 5;
    early.bonusWritten = true;
    early.total = 8;
    EXPECT_GT(*coach().expectedTotal(early), early.total + 20);
    EXPECT_LT(*coach().expectedTotal(early), *coach().expectedTotal(CoachPosition{}) + 8);

    Coach idle;  // never started: answers nothing and does not block
    EXPECT_FALSE(idle.ready());
    EXPECT_FALSE(idle.adviseRow(board, 1));
    EXPECT_FALSE(idle.expectedTotal(CoachPosition{}));
    Coach dropped;  // destroyed while it computes
    dropped.startComputing();
    dropped.startComputing();
}

TEST(CoachTable, AdoptedFromItsValuesAnswersAsComputed) {
    const CoachValueTable& computed = *coach().table();
    const std::vector<double> values(computed.data(), computed.data() + computed.valueCount);
    std::optional<CoachValueTable> copy = CoachValueTable::fromValues(values);
    ASSERT_TRUE(copy);
    Coach adopted;
    EXPECT_TRUE(adopted.adoptTable(std::move(*copy)));
    EXPECT_TRUE(adopted.ready());
    adopted.wait();  // returns at once: nothing left to compute
    MemoryBoard board(2);
    board.setDice({"A", "A", "Q", "K", "9"});
    EXPECT_EQ(adopted.adviseHold(board, 1)->totals, coach().adviseHold(board, 1)->totals);
    EXPECT_EQ(adopted.adviseRow(board, 1)->totals, coach().adviseRow(board, 1)->totals);
    // A second table, or one while a thread computes, is refused.
    EXPECT_FALSE(adopted.adoptTable(*CoachValueTable::fromValues(values)));
    Coach computing;
    computing.startComputing();
    EXPECT_FALSE(computing.adoptTable(*CoachValueTable::fromValues(values)));

    std::vector<double> bad = values;
    bad.pop_back();
    EXPECT_FALSE(CoachValueTable::fromValues(bad));
    bad = values;
    bad[77] = std::nan("");
    EXPECT_FALSE(CoachValueTable::fromValues(bad));
}

// ---------------------------------------------------------------- whole games

// A greedy person: hold a straight or the most frequent face, book the row with the most
// points, or strike the rarest combination.
void greedyHold(Board& board) {
    const std::string hand = currentHandString(board);
    const bool straight = classifyHandString(hand) == Straight;
    int bestFace = 0;
    for (int face = 1; face < 6; ++face) {
        if (countFace(hand, faceLabels[std::size_t(face)]) >
            countFace(hand, faceLabels[std::size_t(bestFace)])) {
            bestFace = face;
        }
    }
    for (int die = Die1; die <= Die5; ++die) {
        board.setDieHeld(die,
                         straight || board.controlText(die) == faceLabels[std::size_t(bestFace)]);
    }
}

int greedyRow(const Board& board, int column) {
    const std::string hand = currentHandString(board);
    int best = -1;
    for (int row : {13, 12, 11, 10, 9, 8, 7, 0, 1, 2, 3, 4, 5}) {
        if (!board.cellColourSet(row, column) &&
            (best < 0 || handRowPoints(hand, row) > handRowPoints(hand, best))) {
            best = row;
        }
    }
    return best;
}

TEST(CoachGames, FollowingTheAdviceBeatsTheGreedyPersonAndScoresWhatTheTablePromises) {
    // Player 1 follows the coach, player 2 plays greedily, on the same dice stream.
    testing::RepeatRandom dice({}, 20261207u);
    testing::RandomScope scope(dice);
    const int games = 2000;
    std::array<double, 3> sum{};
    std::array<double, 3> squares{};
    for (int game = 0; game < games; ++game) {
        GameState state = testing::gameState(2, 0, "missing.lang");
        MemoryBoard board(2);
        TurnFlow flow(board, state);
        for (int turn = 0; turn < 26; ++turn) {
            const int player = flow.currentPlayer();
            flow.roll();
            if (player == 1) {
                const unsigned hold = coach().adviseHold(board, 1)->bestHold;
                for (int die = Die1; die <= Die5; ++die) {
                    board.setDieHeld(die, (hold >> unsigned(die - Die1)) & 1u);
                }
            } else {
                greedyHold(board);
            }
            flow.roll();
            const int row =
                player == 1 ? coach().adviseRow(board, 1)->bestRow : greedyRow(board, player);
            flow.book(row);
            ASSERT_FALSE(board.controlEnabled(ScoreCard)) << "row " << row << " not booked";
        }
        ASSERT_EQ(board.messages().size(), 1u);
        for (int p = 1; p <= 2; ++p) {
            const double total = cellValue(board, totalRow, p);
            sum[std::size_t(p)] += total;
            squares[std::size_t(p)] += total * total;
        }
    }
    const double coachMean = sum[1] / games;
    const double greedyMean = sum[2] / games;
    const double coachSd = std::sqrt(squares[1] / games - coachMean * coachMean);
    EXPECT_GT(coachMean, greedyMean);
    // The table's promise for an empty card, within four standard errors.
    const double promised = *coach().expectedTotal(CoachPosition{});
    EXPECT_NEAR(coachMean, promised, 4 * coachSd / std::sqrt(double(games)));
}

}  // namespace
}  // namespace quintaro
