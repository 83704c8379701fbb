// Hooks for the browser edition's tests (web/tests), called only through page.evaluate: a
// repeatable random source for the page's game, the page's board as text, and the same
// scripted game played by the turn flow on the in-memory board. Nothing of the game calls
// them; a page that never calls them plays as always.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <string>

#include "rules/MemoryBoard.h"
#include "rules/Random.h"
#include "settings/KeyValueFile.h"
#include "shell/TurnFlow.h"
#include "state/GameState.h"
#include "web/TestHooks.h"
#include "web/WebFrontend.h"

namespace {

using namespace quintaro;

// A linear congruential sequence: the same seed gives the same draws.
class SeededRandom : public RandomSource {
  public:
    explicit SeededRandom(unsigned seed) : state_(seed) {}
    int draw(int maximum) override {
        state_ = state_ * 1103515245u + 12345u;
        return int((state_ >> 16) & 0x7fff) % (maximum + 1);
    }

  private:
    unsigned state_;
};

// Everything the rules see of a board: a line per row of the card (a cell with a colour
// marked *), the texts of the dice, the roll button and the labels (+ enabled, - not), the
// held dice and whether the card takes a booking.
std::string snapshot(const Board& board, int players) {
    std::string out;
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 1; column <= players; ++column) {
            out += board.cellText(row, column) + (board.cellColourSet(row, column) ? "*|" : "|");
        }
        out += '\n';
    }
    for (int control : {1, 2, 3, 4, 5, 6, 8, 9}) {
        out += board.controlText(control) + (board.controlEnabled(control) ? "+|" : "-|");
    }
    for (int die = Die1; die <= Die5; ++die) {
        out += board.dieHeld(die) ? 'H' : '.';
    }
    return out + (board.controlEnabled(ScoreCard) ? " card on" : " card off");
}

// The script of the tests' games: the first free row of the player's from (turn * 7) %
// rowCount down, wrapping.
int scriptedRow(const Board& board, int player, int turn) {
    int row = (turn * 7) % rowCount;
    while (board.cellColourSet(row, player)) {
        row = (row + 1) % rowCount;
    }
    return row;
}

// What the last call returned, kept until the next.
std::string answer;

}  // namespace

extern "C" {

// From now on the page's dice come from a sequence that this seed repeats.
EMSCRIPTEN_KEEPALIVE void quintaro_test_seed(unsigned seed) {
    static SeededRandom source(seed);
    source = SeededRandom(seed);
    setRandomSource(&source);
}

// The page's board as text ("" without a main window).
EMSCRIPTEN_KEEPALIVE const char* quintaro_test_board() {
    int players = 0;
    const Board* board = pageBoard(players);
    answer = board != nullptr ? snapshot(*board, players) : "";
    return answer.c_str();
}

// The scripted game on the in-memory board, in the language file's texts, for the names
// (one a line; against the computer one name): the roll from a sequence that the seed
// repeats, die 1 + turn % 5 held, the second roll, the scripted row booked; the computer's
// turns at once. Returns {"turns": [the board after each booking], "messages": [[caption,
// text], ...]} as JSON.
EMSCRIPTEN_KEEPALIVE const char* quintaro_test_replay(const char* language, const char* names,
                                                      int computerMode, unsigned seed) {
    GameState state;
    state.languageFile = language;
    state.computerMode = computerMode != 0 ? 1 : 0;
    const std::string all = names;
    for (std::size_t from = 0; from <= all.size() && state.playerCount < maxPlayers;) {
        const std::size_t end = std::min(all.find('\n', from), all.size());
        state.playerNames[std::size_t(++state.playerCount)] = all.substr(from, end - from);
        from = end + 1;
    }
    if (state.computerMode == 1) {
        state.playerCount = 2;
        state.playerNames[2] = "Computer";
    }
    MemoryBoard memory(state.playerCount);
    memory.setControlText(RollButton, readOneText(language, "roll", ""));
    SeededRandom random(seed);
    RandomSource* previous = setRandomSource(&random);
    TurnFlow flow(memory, state);
    answer = "{\"turns\":[";
    const int turns = state.computerMode == 1 ? 13 : 13 * state.playerCount;
    for (int turn = 0; turn < turns; ++turn) {
        flow.roll();
        memory.setDieHeld(1 + turn % 5, true);
        flow.roll();
        flow.book(scriptedRow(memory, flow.currentPlayer(), turn));
        answer += (turn > 0 ? "," : "") + jsonString(snapshot(memory, state.playerCount));
    }
    setRandomSource(previous);
    answer += "],\"messages\":[";
    for (const auto& [caption, text] : memory.messages()) {
        answer += (answer.back() == ']' ? ",[" : "[") + jsonString(caption) + "," +
                  jsonString(text) + "]";
    }
    answer += "]}";
    return answer.c_str();
}
}
