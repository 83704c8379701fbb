#pragma once
// The coach: the play that makes a player's expected final total (rows 0..14 of their own
// column, the bonus included) as high as it can be. It looks only at the player's own column:
// the other players do not change what a row is worth.
//
// The value of every position between turns is computed once, by backward induction over
// the booked rows and the upper sum, on a thread of its own (about a megabyte, a fraction of
// a second). Until it is ready the coach answers nothing; the window never waits for it.
// With the table, each answer takes a few microseconds:
// - after the first roll, which dice to hold, and what every hold choice is worth;
// - after the second roll, which free row to book, and what every row is worth.
// Every "total" here is the expected final total of the column when the rest of the game is
// played by the coach's advice.

#include <array>
#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>

#include "coach/CoachTables.h"
#include "rules/Board.h"

namespace quintaro {

// A player's column between the rolls: what is booked and what it holds.
struct CoachPosition {
    std::uint16_t bookedRows = 0;  // bit r set: score-card row r (0..5, 7..13) is booked
    int upperSum = 0;              // the booked rows 0..5 added up
    int total = 0;                 // the points on the card now: rows 0..13, bonus included
    bool bonusWritten = false;     // the bonus row holds its 3 already
};

// The five dice by face index (0 Ace, 1 King, 2 Queen, 3 Jack, 4 Ten, 5 Nine), die 1 first.
using CoachDice = std::array<int, 5>;

struct HoldAdvice {
    unsigned bestHold = 0;  // bit d-1 set: hold die d
    double bestTotal = 0;
    std::array<double, 32> totals{};  // for every hold choice, indexed like bestHold
};

struct RowAdvice {
    int bestRow = -1;  // score-card row to book; -1 when no row is free
    double bestTotal = 0;
    std::array<double, 14> totals{};  // per score-card row 0..13; -1 for a row not free
};

class Coach {
  public:
    Coach();
    ~Coach();  // waits for a computation still running
    Coach(const Coach&) = delete;
    Coach& operator=(const Coach&) = delete;

    // Starts computing the table on a thread of its own; later calls do nothing.
    void startComputing();
    // Whether the table is there; never blocks.
    bool ready() const;
    // Starts the computation if need be and blocks until the table is there.
    void wait();
    // Takes a table computed elsewhere (where the coach has no thread of its own, a worker
    // builds it) instead of computing one. Refused, returning false, once a table is there
    // or a computation runs on a thread; a deferred computation is dropped.
    bool adoptTable(CoachValueTable table);

    // The rest need the table: before ready() they answer nothing (std::nullopt).

    // The expected final total of a column before its next turn.
    std::optional<double> expectedTotal(const CoachPosition& position) const;
    // After the first roll; nothing when no row is free or a die is not a face.
    std::optional<HoldAdvice> adviseHold(const CoachPosition& position,
                                         const CoachDice& dice) const;
    // After the second roll; nothing when no row is free or a die is not a face.
    std::optional<RowAdvice> adviseRow(const CoachPosition& position, const CoachDice& dice) const;

    // The same for player p on a board, reading the column and the dice as they are shown.
    std::optional<HoldAdvice> adviseHold(const Board& board, int player) const;
    std::optional<RowAdvice> adviseRow(const Board& board, int player) const;

    // The table itself, once ready (for the tests and the benchmark); nullptr before.
    const CoachValueTable* table() const;

  private:
    std::mutex start_;
    std::shared_future<void> computing_;
    std::unique_ptr<CoachValueTable> table_;
    std::atomic<bool> ready_{false};
};

// Player p's column of a board: a row is booked when its cell is coloured; the sums are
// read from the cells' texts.
CoachPosition readPosition(const Board& board, int player);
// The dice of a board; nothing while a die is blank or shows no face.
std::optional<CoachDice> readDice(const Board& board);
// The dice held on a board, bit d-1 for die d.
unsigned heldDice(const Board& board);

}  // namespace quintaro
