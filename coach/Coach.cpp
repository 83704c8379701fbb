#include "coach/Coach.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>
#include <utility>

#include "rules/Scoring.h"
#include "state/GameState.h"

namespace quintaro {

namespace {

bool validDice(const CoachDice& dice) {
    for (int face : dice) {
        if (face < 0 || face > 5) {
            return false;
        }
    }
    return true;
}

// The keep of the held dice: bit d-1 of `hold` holds die d.
int keepOfHold(const CoachDice& dice, unsigned hold) {
    std::array<int, 6> counts{};
    for (int die = 0; die < 5; ++die) {
        if (hold & (1u << unsigned(die))) {
            ++counts[std::size_t(dice[std::size_t(die)])];
        }
    }
    return coachDiceTables().keepOf(counts);
}

int slotOf(const CoachPosition& position) {
    return coachUpperSlot(coachBooked(position.bookedRows), position.upperSum,
                          position.bonusWritten);
}

}  // namespace

Coach::Coach() = default;

Coach::~Coach() {
    // A computation still running is waited for; one deferred for want of a thread is dropped.
    if (computing_.valid() &&
        computing_.wait_for(std::chrono::seconds(0)) != std::future_status::deferred) {
        computing_.wait();
    }
}

void Coach::startComputing() {
    std::lock_guard<std::mutex> lock(start_);
    if (computing_.valid()) {
        return;
    }
    auto compute = [this] {
        table_ = std::make_unique<CoachValueTable>(CoachValueTable::compute());
        ready_.store(true, std::memory_order_release);
    };
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    // A build without threads has none to start (and no exception to catch): the table is
    // adopted from elsewhere, or computed by the first wait().
    computing_ = std::async(std::launch::deferred, compute).share();
#else
    try {
        computing_ = std::async(std::launch::async, compute).share();
    } catch (const std::system_error&) {
        // No thread to be had: the table is computed by the first wait(), and until then the
        // coach answers nothing.
        computing_ = std::async(std::launch::deferred, compute).share();
    }
#endif
}

bool Coach::adoptTable(CoachValueTable table) {
    std::lock_guard<std::mutex> lock(start_);
    if (ready() || (computing_.valid() &&
                    computing_.wait_for(std::chrono::seconds(0)) != std::future_status::deferred)) {
        return false;
    }
    table_ = std::make_unique<CoachValueTable>(std::move(table));
    std::promise<void> done;
    done.set_value();
    computing_ = done.get_future().share();
    ready_.store(true, std::memory_order_release);
    return true;
}

bool Coach::ready() const {
    return ready_.load(std::memory_order_acquire);
}

void Coach::wait() {
    startComputing();
    computing_.wait();
}

const CoachValueTable* Coach::table() const {
    return ready() ? table_.get() : nullptr;
}

std::optional<double> Coach::expectedTotal(const CoachPosition& position) const {
    const CoachValueTable* values = table();
    if (values == nullptr) {
        return std::nullopt;
    }
    const unsigned booked = coachBooked(position.bookedRows);
    return position.total + values->rest(booked, slotOf(position));
}

std::optional<HoldAdvice> Coach::adviseHold(const CoachPosition& position,
                                            const CoachDice& dice) const {
    const CoachValueTable* values = table();
    if (values == nullptr || !validDice(dice)) {
        return std::nullopt;
    }
    const CoachTurn turn(*values, coachBooked(position.bookedRows), slotOf(position));
    if (!turn.anyRowFree()) {
        return std::nullopt;
    }
    HoldAdvice advice;
    for (unsigned hold = 0; hold < 32; ++hold) {
        const double total =
            position.total + turn.keepValues()[std::size_t(keepOfHold(dice, hold))];
        advice.totals[hold] = total;
        if (hold == 0 || total > advice.bestTotal) {
            advice.bestHold = hold;
            advice.bestTotal = total;
        }
    }
    return advice;
}

std::optional<RowAdvice> Coach::adviseRow(const CoachPosition& position,
                                          const CoachDice& dice) const {
    const CoachValueTable* values = table();
    if (values == nullptr || !validDice(dice)) {
        return std::nullopt;
    }
    const unsigned booked = coachBooked(position.bookedRows);
    const CoachTurn turn(*values, booked, slotOf(position));
    if (!turn.anyRowFree()) {
        return std::nullopt;
    }
    const int hand = keepOfHold(dice, 0x1Fu);
    RowAdvice advice;
    advice.totals.fill(-1.0);
    for (int index = 0; index < coachRows; ++index) {
        if (booked & (1u << unsigned(index))) {
            continue;
        }
        const double total = position.total + turn.bookingValue(hand, index);
        const int row = coachCardRow(index);
        advice.totals[std::size_t(row)] = total;
        if (advice.bestRow < 0 || total > advice.bestTotal) {
            advice.bestRow = row;
            advice.bestTotal = total;
        }
    }
    return advice;
}

std::optional<HoldAdvice> Coach::adviseHold(const Board& board, int player) const {
    const std::optional<CoachDice> dice = readDice(board);
    if (!dice || player < 1 || player > maxPlayers) {
        return std::nullopt;
    }
    return adviseHold(readPosition(board, player), *dice);
}

std::optional<RowAdvice> Coach::adviseRow(const Board& board, int player) const {
    const std::optional<CoachDice> dice = readDice(board);
    if (!dice || player < 1 || player > maxPlayers) {
        return std::nullopt;
    }
    return adviseRow(readPosition(board, player), *dice);
}

CoachPosition readPosition(const Board& board, int player) {
    CoachPosition position;
    // Summed wide: the cells are read back as text, whatever they hold.
    long long total = 0;
    long long upper = 0;
    for (int row = 0; row < totalRow; ++row) {
        const int value = cellValue(board, row, player);
        total += value;
        if (row == bonusRow) {
            position.bonusWritten = !board.cellText(row, player).empty();
        } else if (isBooked(board, row, player)) {
            position.bookedRows = std::uint16_t(position.bookedRows | (1u << unsigned(row)));
            if (isUpperRow(row)) {
                upper += value;
            }
        }
    }
    position.total = int(std::clamp<long long>(total, -1000000, 1000000));
    position.upperSum = int(std::clamp<long long>(upper, -1000000, 1000000));
    return position;
}

std::optional<CoachDice> readDice(const Board& board) {
    CoachDice dice{};
    for (int die = Die1; die <= Die5; ++die) {
        const std::string text = board.controlText(die);
        int face = 0;
        while (face < 6 && faceLabels[std::size_t(face)] != text) {
            ++face;
        }
        if (face == 6) {
            return std::nullopt;
        }
        dice[std::size_t(die - Die1)] = face;
    }
    return dice;
}

unsigned heldDice(const Board& board) {
    unsigned hold = 0;
    for (int die = Die1; die <= Die5; ++die) {
        if (board.dieHeld(die)) {
            hold |= 1u << unsigned(die - Die1);
        }
    }
    return hold;
}

}  // namespace quintaro
