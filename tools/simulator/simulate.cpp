// Plays whole games on an in-memory board through the turn flow, checks the invariants of
// every game and prints the distribution of the totals.
//
//   quintaro_simulate [games] [seed] [--lang FILE]
//
// games: games per line-up (default 100000); seed: seeds the dice and the simulated people
// (default: from the clock, printed); --lang: language file the game reads its hand names
// and end messages from (default: none, so every text takes its default).
//
// Line-ups: a random person against the computer at the normal and at the stronger level,
// a greedy person and an optimal person (who follows the coach's advice) against both
// levels, and three random people. The computer's play does
// not depend on its opponent's, so its column is the computer's own distribution of totals
// at that level.

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "coach/Coach.h"
#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "rules/Random.h"
#include "rules/Scoring.h"
#include "settings/KeyValueFile.h"
#include "shell/TurnFlow.h"
#include "state/GameState.h"

namespace quintaro {
namespace {

constexpr int maxTotal = 56;

// The dice of the game: a seeded generator, so a run can be repeated.
class GameRandom : public RandomSource {
  public:
    explicit GameRandom(std::uint32_t seed) : engine_(seed) {}
    int draw(int maximum) override {
        ++draws;
        std::uniform_int_distribution<int> range(0, maximum);
        return range(engine_);
    }
    std::uint64_t draws = 0;

  private:
    std::mt19937 engine_;
};

// The in-memory board, watching every change for what must never happen during a game.
class CheckingBoard : public MemoryBoard {
  public:
    explicit CheckingBoard(int players) : MemoryBoard(players) {}

    void setCellText(int row, int column, const std::string& text) override {
        if (column == 0) {
            fault("label column written");
        }
        if (isBookableRow(row) && cellColourSet(row, column) && text != cellText(row, column)) {
            fault("text of a booked cell changed");
        }
        if (row == bonusRow && !cellText(row, column).empty() && text != cellText(row, column)) {
            fault("bonus changed once written");
        }
        MemoryBoard::setCellText(row, column, text);
    }
    void setCellColour(int row, int column, Colour colour) override {
        if (!isBookableRow(row)) {
            fault("bonus or total row recoloured");
        } else if (colour != bookedCellColour) {
            fault("cell booked with a colour other than the booked colour");
        } else if (!cellColourSet(row, column)) {
            ++bookings[std::size_t(column)];
        }
        MemoryBoard::setCellColour(row, column, colour);
    }
    void setRowColour(int row, Colour colour) override {
        if (constructed_) {
            fault("a whole row recoloured during play");
        }
        MemoryBoard::setRowColour(row, colour);
    }

    void fault(const std::string& what) { faults.push_back(what); }
    void ready() { constructed_ = true; }

    std::array<int, 5> bookings{};  // cells that went from free to booked, per column
    std::vector<std::string> faults;

  private:
    bool constructed_ = false;
};

// ---------------------------------------------------------------- the simulated people

// The points a hand would write into a row.
int rowPoints(std::string_view hand, int row) {
    return handRowPoints(hand, row);
}

// The most a row can ever hold: five dice of its face, or its fixed points.
int rowCapacity(int row) {
    return isUpperRow(row) ? 5 : scoreRows[std::size_t(row)].points;
}

enum class Person { Random, Greedy, Optimal };

const char* personName(Person person) {
    switch (person) {
        case Person::Random:
            return "random";
        case Person::Greedy:
            return "greedy";
        default:
            return "optimal";
    }
}

// The coach of the optimal person, computed once for the whole run.
Coach& sharedCoach() {
    static Coach coach;
    return coach;
}

// Between the rolls: the random person holds each die with even odds; the greedy person
// keeps a straight, or else the dice of its most frequent face (the higher face on a tie);
// the optimal person holds the dice the coach advises.
void holdDice(Person person, Board& board, int player, std::mt19937& rng) {
    if (person == Person::Optimal) {
        const std::optional<HoldAdvice> advice = sharedCoach().adviseHold(board, player);
        const unsigned hold = advice ? advice->bestHold : 0;
        for (int die = Die1; die <= Die5; ++die) {
            board.setDieHeld(die, ((hold >> unsigned(die - Die1)) & 1u) != 0);
        }
        return;
    }
    if (person == Person::Random) {
        for (int die = Die1; die <= Die5; ++die) {
            board.setDieHeld(die, (rng() & 1u) != 0);
        }
        return;
    }
    const std::string hand = currentHandString(board);
    if (classifyHandString(hand) == Straight) {
        for (int die = Die1; die <= Die5; ++die) {
            board.setDieHeld(die, true);
        }
        return;
    }
    int bestFace = 0;
    for (int face = 1; face < 6; ++face) {
        if (countFace(hand, faceLabels[std::size_t(face)]) >
            countFace(hand, faceLabels[std::size_t(bestFace)])) {
            bestFace = face;
        }
    }
    for (int die = Die1; die <= Die5; ++die) {
        board.setDieHeld(die, board.controlText(die) == faceLabels[std::size_t(bestFace)]);
    }
}

// The row the greedy person clicks: the most points, on a tie the row that wastes least;
// with nothing to score, a strike from the rarest combination down.
int greedyRow(const Board& board, int column) {
    const std::string hand = currentHandString(board);
    int best = -1;
    for (int row = 0; row < totalRow; ++row) {
        if (!isBookableRow(row) || board.cellColourSet(row, column)) {
            continue;
        }
        const int points = rowPoints(hand, row);
        if (points == 0) {
            continue;
        }
        if (best < 0 || points > rowPoints(hand, best) ||
            (points == rowPoints(hand, best) && rowCapacity(row) < rowCapacity(best))) {
            best = row;
        }
    }
    if (best >= 0) {
        return best;
    }
    for (int row : {13, 12, 11, 10, 9, 8, 7, 0, 1, 2, 3, 4, 5}) {  // lower rows first
        if (!board.cellColourSet(row, column)) {
            return row;
        }
    }
    return -1;
}

// ---------------------------------------------------------------- statistics

struct Distribution {
    std::array<std::uint64_t, maxTotal + 1> counts{};
    std::uint64_t outOfRange = 0;
    std::uint64_t bonuses = 0;

    void add(int total) {
        if (total < 0 || total > maxTotal) {
            ++outOfRange;
            return;
        }
        ++counts[std::size_t(total)];
    }
    std::uint64_t games() const {
        std::uint64_t n = 0;
        for (auto c : counts) {
            n += c;
        }
        return n;
    }
    double mean() const {
        double sum = 0;
        for (int t = 0; t <= maxTotal; ++t) {
            sum += double(t) * double(counts[std::size_t(t)]);
        }
        return games() ? sum / double(games()) : 0.0;
    }
    double sd() const {
        const double m = mean();
        double sum = 0;
        for (int t = 0; t <= maxTotal; ++t) {
            sum += (t - m) * (t - m) * double(counts[std::size_t(t)]);
        }
        return games() ? std::sqrt(sum / double(games())) : 0.0;
    }
    int percentile(double p) const {
        const double wanted = p * double(games());
        double seen = 0;
        for (int t = 0; t <= maxTotal; ++t) {
            seen += double(counts[std::size_t(t)]);
            if (seen >= wanted && counts[std::size_t(t)] > 0) {
                return t;
            }
        }
        return maxTotal;
    }

    void print(const char* title) const {
        const std::uint64_t n = games();
        std::printf("  %s: mean %.3f, sd %.3f, bonus in %.2f%% of games\n", title, mean(), sd(),
                    n ? 100.0 * double(bonuses) / double(n) : 0.0);
        std::printf("    min %d, 5%% %d, 25%% %d, median %d, 75%% %d, 95%% %d, max %d\n",
                    percentile(0.0), percentile(0.05), percentile(0.25), percentile(0.5),
                    percentile(0.75), percentile(0.95), percentile(1.0));
        std::uint64_t peak = 1;
        for (int t = 0; t <= maxTotal; t += 2) {
            peak = std::max(peak, counts[std::size_t(t)] +
                                      (t + 1 <= maxTotal ? counts[std::size_t(t + 1)] : 0));
        }
        for (int t = 0; t <= maxTotal; t += 2) {
            const std::uint64_t c =
                counts[std::size_t(t)] + (t + 1 <= maxTotal ? counts[std::size_t(t + 1)] : 0);
            if (c == 0) {
                continue;
            }
            const int bar = int(50.0 * double(c) / double(peak) + 0.5);
            std::printf("    %2d-%2d %7.3f%% %s\n", t, std::min(t + 1, maxTotal),
                        100.0 * double(c) / double(n), std::string(std::size_t(bar), '#').c_str());
        }
    }
};

struct LineUp {
    std::string title;
    int players;
    int computerMode;
    int strongerCPU;
    Person person;
};

struct Results {
    std::array<Distribution, 5> columns;  // per player column
    std::array<std::uint64_t, 5> wins{};
    std::uint64_t ties = 0;
    std::uint64_t computerTurns = 0;
    std::uint64_t computerRolls = 0;  // turns plus the repetitions after a hand with nothing
    std::uint64_t faultyGames = 0;
    std::vector<std::string> firstFaults;
};

// ---------------------------------------------------------------- one game

class Game {
  public:
    Game(const LineUp& lineUp, const std::string& languageFile, GameRandom& dice,
         std::mt19937& people, Results& results)
        : lineUp_(lineUp), dice_(dice), people_(people), results_(results), board_(lineUp.players) {
        board_.ready();
        state_.playerCount = lineUp.players;
        state_.computerMode = lineUp.computerMode;
        state_.strongerCPU = lineUp.strongerCPU;
        state_.languageFile = languageFile;
        state_.playerNames = {"",         "Player 1", lineUp.computerMode ? "Computer" : "Player 2",
                              "Player 3", "Player 4", ""};
        // The end message's texts as the game will read them.
        KeyValueFile language;
        language.open(languageFile);
        winText_ = language.readText("win", "");
        tieText_ = language.readText("tie", "");
        language.close();
    }

    void play() {
        TurnFlow flow(board_, state_);
        const int people = lineUp_.computerMode == 1 ? 1 : lineUp_.players;
        const int turns = bookableRowCount * people;
        for (int turn = 0; turn < turns; ++turn) {
            const int player = lineUp_.computerMode == 1 ? 1 : 1 + turn % lineUp_.players;
            expect(flow.currentPlayer() == player, "turn out of rotation");
            personTurn(flow, player, turn == turns - 1);
        }
        finish();
    }

  private:
    void expect(bool condition, const char* what) {
        if (!condition) {
            board_.fault(what);
        }
    }

    bool diceShowFaces() const {
        for (int die = Die1; die <= Die5; ++die) {
            const std::string face = board_.controlText(die);
            if (std::find(faceLabels.begin(), faceLabels.begin() + 6, face) ==
                faceLabels.begin() + 6) {
                return false;
            }
        }
        return true;
    }

    void personTurn(TurnFlow& flow, int player, bool lastTurn) {
        expect(board_.controlEnabled(RollButton), "roll button disabled at the start of a turn");
        expect(!board_.controlEnabled(ScoreCard), "score card enabled before the rolls");
        expect(currentHandString(board_).empty(), "dice not blank at the start of a turn");
        flow.roll();
        expect(flow.rollCount() == 1 && diceShowFaces(), "first roll");
        holdDice(lineUp_.person, board_, player, people_);
        std::array<std::string, 5> held{};
        for (int die = Die1; die <= Die5; ++die) {
            held[std::size_t(die - 1)] = board_.dieHeld(die) ? board_.controlText(die) : "";
        }
        flow.roll();
        expect(flow.rollCount() == 0 && diceShowFaces(), "second roll");
        for (int die = Die1; die <= Die5; ++die) {
            expect(held[std::size_t(die - 1)].empty() ||
                       held[std::size_t(die - 1)] == board_.controlText(die),
                   "a held die changed");
        }
        expect(!board_.controlEnabled(RollButton) && board_.controlEnabled(ScoreCard),
               "controls after the second roll");

        const std::uint64_t drawsBefore = dice_.draws;
        if (!book(flow, player)) {
            return;
        }
        if (lineUp_.computerMode == 1) {
            const std::uint64_t perRoll = lineUp_.strongerCPU == 1 ? 9 : 5;
            const std::uint64_t draws = dice_.draws - drawsBefore;
            expect(draws > 0 && draws % perRoll == 0, "computer's draws per roll");
            results_.computerRolls += draws / perRoll;
            ++results_.computerTurns;
        }
        expect(board_.controlEnabled(RollButton) && !board_.controlEnabled(ScoreCard),
               "controls after the booking");
        expect(currentHandString(board_).empty() && board_.controlText(HandLabel).empty(),
               "dice and hand label after the booking");
        for (int die = Die1; die <= Die5; ++die) {
            expect(!board_.dieHeld(die), "a die still held after the booking");
        }
        expect(board_.messages().size() == (lastTurn ? 1u : 0u), "end message at the wrong time");
    }

    // Clicks rows until one is booked; false when no click books anything.
    bool book(TurnFlow& flow, int player) {
        for (int attempt = 0; attempt < 10000; ++attempt) {
            int row = 0;
            if (lineUp_.person == Person::Random) {
                row = int(people_() % 16u) - 1;  // -1 (nothing selected) .. 14
            } else if (lineUp_.person == Person::Optimal) {
                const std::optional<RowAdvice> advice = sharedCoach().adviseRow(board_, player);
                expect(advice.has_value(), "no advice with a row free");
                row = advice ? advice->bestRow : -1;
            } else {
                row = greedyRow(board_, player);
            }
            const bool free = isBookableRow(row) && !board_.cellColourSet(row, player);
            const std::string before = row >= 0 ? board_.cellText(row, player) : "";
            flow.book(row);
            const bool booked = !board_.controlEnabled(ScoreCard);
            expect(booked == free, "booking accepted or refused wrongly");
            if (!booked) {
                expect(row < 0 || board_.cellText(row, player) == before, "refused click wrote");
                continue;
            }
            return true;
        }
        board_.fault("no row could be booked");
        return false;
    }

    void finish() {
        std::array<int, 5> totals{};
        for (int p = 1; p <= lineUp_.players; ++p) {
            expect(board_.bookings[std::size_t(p)] == bookableRowCount, "bookings per column");
            expect(state_.rowsBooked(p) == bookableRowCount, "booking count per player");
            int upper = 0;
            int sum = 0;
            for (int row = 0; row < totalRow; ++row) {
                const std::string text = board_.cellText(row, p);
                const int value = cellValue(board_, row, p);
                if (isBookableRow(row)) {
                    expect(board_.cellColourSet(row, p) && !text.empty(), "a row left free");
                    expect(value == 0 || value == rowCapacity(row) || isUpperRow(row),
                           "lower row holds other than its points or 0");
                    expect(value >= 0 && value <= 5, "upper row out of 0..5");
                }
                if (isUpperRow(row)) {
                    upper += value;
                }
                sum += value;
            }
            const std::string bonus = board_.cellText(bonusRow, p);
            expect(upper >= 15 ? bonus == "3" : bonus.empty(), "bonus does not follow the sum");
            expect(board_.cellText(totalRow, p) == std::to_string(sum), "total is not the sum");
            totals[std::size_t(p)] = sum;
            results_.columns[std::size_t(p)].add(sum);
            if (!bonus.empty()) {
                ++results_.columns[std::size_t(p)].bonuses;
            }
        }
        // Who won, reckoned here from the totals.
        const int best =
            *std::max_element(totals.begin() + 1, totals.begin() + 1 + lineUp_.players);
        const int leaders =
            int(std::count(totals.begin() + 1, totals.begin() + 1 + lineUp_.players, best));
        std::string expected;
        if (leaders > 1) {
            ++results_.ties;
            expected = tieText_;
        } else {
            const int winner =
                int(std::find(totals.begin() + 1, totals.end(), best) - totals.begin());
            ++results_.wins[std::size_t(winner)];
            expected = state_.playerNames[std::size_t(winner)] + " " + winText_;
        }
        expect(board_.messages().size() == 1, "not exactly one end message");
        if (!board_.messages().empty()) {
            expect(board_.messages().front().first.empty() &&
                       board_.messages().front().second == expected,
                   "end message names the wrong result");
        }
        if (!board_.faults.empty()) {
            ++results_.faultyGames;
            for (const std::string& f : board_.faults) {
                if (results_.firstFaults.size() < 10) {
                    results_.firstFaults.push_back(f);
                }
            }
        }
    }

    const LineUp& lineUp_;
    GameRandom& dice_;
    std::mt19937& people_;
    Results& results_;
    CheckingBoard board_;
    GameState state_;
    std::string winText_;
    std::string tieText_;
};

bool parseNumber(const char* text, std::uint64_t& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

int run(int argc, char** argv) {
    std::uint64_t games = 100000;
    std::uint64_t seed = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string languageFile;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lang" && i + 1 < argc) {
            languageFile = argv[++i];
        } else if (positional == 0 && parseNumber(argv[i], games)) {
            ++positional;
        } else if (positional == 1 && parseNumber(argv[i], seed)) {
            ++positional;
        } else {
            std::fprintf(stderr, "usage: quintaro_simulate [games] [seed] [--lang FILE]\n");
            return 2;
        }
    }
    seed &= 0xffffffffu;
    std::printf("%llu games per line-up, seed %llu, language file %s\n",
                static_cast<unsigned long long>(games), static_cast<unsigned long long>(seed),
                languageFile.empty() ? "(none)" : languageFile.c_str());

    const std::vector<LineUp> lineUps = {
        {"random person vs computer, normal level", 2, 1, 0, Person::Random},
        {"random person vs computer, stronger level", 2, 1, 1, Person::Random},
        {"greedy person vs computer, normal level", 2, 1, 0, Person::Greedy},
        {"greedy person vs computer, stronger level", 2, 1, 1, Person::Greedy},
        {"optimal person vs computer, normal level", 2, 1, 0, Person::Optimal},
        {"optimal person vs computer, stronger level", 2, 1, 1, Person::Optimal},
        {"three random people", 3, 0, 0, Person::Random},
    };
    // The coach's table is computed while the first line-ups play.
    const auto coachStart = std::chrono::steady_clock::now();
    sharedCoach().startComputing();
    bool allSound = true;
    for (std::size_t l = 0; l < lineUps.size(); ++l) {
        const LineUp& lineUp = lineUps[l];
        GameRandom dice(std::uint32_t(seed) + std::uint32_t(l));
        std::mt19937 people(std::uint32_t(seed) ^ 0x9e3779b9u ^ std::uint32_t(l));
        if (lineUp.person == Person::Optimal && !sharedCoach().ready()) {
            sharedCoach().wait();
            std::printf("\n(the coach's table was ready %.0f ms after the start)\n",
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                  coachStart)
                            .count());
        }
        RandomSource* previous = setRandomSource(&dice);
        Results results;
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        for (std::uint64_t g = 0; g < games; ++g) {
            Game(lineUp, languageFile, dice, people, results).play();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        setRandomSource(previous);

        std::printf("\n== %s (%.2f s, %.2f s of processor time, %.1f us per game)\n",
                    lineUp.title.c_str(), seconds, cpuSeconds,
                    games ? 1e6 * cpuSeconds / double(games) : 0.0);
        for (int p = 1; p <= lineUp.players; ++p) {
            const bool computer = lineUp.computerMode == 1 && p == computerColumn;
            std::string title =
                computer ? std::string("computer (") +
                               (lineUp.strongerCPU == 1 ? "stronger" : "normal") + " level)"
                         : std::string(personName(lineUp.person)) + " person " + std::to_string(p);
            std::printf("  %s wins %.2f%%\n", title.c_str(),
                        games ? 100.0 * double(results.wins[std::size_t(p)]) / double(games) : 0.0);
            results.columns[std::size_t(p)].print(title.c_str());
        }
        std::printf("  ties %.2f%%\n", games ? 100.0 * double(results.ties) / double(games) : 0.0);
        if (results.computerTurns > 0) {
            std::printf("  computer rolls per turn %.4f (a hand with nothing is played again)\n",
                        double(results.computerRolls) / double(results.computerTurns));
        }
        std::uint64_t outOfRange = 0;
        for (const Distribution& d : results.columns) {
            outOfRange += d.outOfRange;
        }
        if (results.faultyGames > 0 || outOfRange > 0) {
            allSound = false;
            std::printf("  INVARIANTS BROKEN in %llu games (%llu totals out of 0..56):\n",
                        static_cast<unsigned long long>(results.faultyGames),
                        static_cast<unsigned long long>(outOfRange));
            for (const std::string& f : results.firstFaults) {
                std::printf("    %s\n", f.c_str());
            }
        } else {
            std::printf("  invariants held in every game\n");
        }
    }
    return allSound ? 0 : 1;
}

}  // namespace
}  // namespace quintaro

int main(int argc, char** argv) {
    return quintaro::run(argc, argv);
}
