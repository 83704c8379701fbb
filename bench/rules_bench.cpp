// Speed of the game rules on the in-memory board.
//
// The computer's turn and the whole game read the language file for every hand name, as the
// game does; the benchmarks run in a temporary folder holding a full English language file,
// and once more with no language file at all to show what the file costs. The game's own
// en.lang is used when the source tree holds one; otherwise a file with the same keys.

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "cpu/ComputerTurn.h"
#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "rules/Scoring.h"
#include "shell/TurnFlow.h"

namespace quintaro {
namespace {

// An English language file with every key the game reads, for a tree without assets.
const char* const englishFile =
    "\xEF\xBB\xBF\r\n"
    "Title = Quintaro\r\nMenuTitleGame = Game\r\nMenuNewGame = New Game\r\nMenuExit = Exit\r\n"
    "MenuTitleTools = Tools\r\nMenuOptions = Options\r\nMenuTitleHelp = Help\r\n"
    "MenuAbout = About\r\nNines = Nines\r\nTens = Tens\r\nJacks = Jacks\r\nQueens = Queens\r\n"
    "Kings = Kings\r\nAces = Aces\r\nBonus = 15+ BONUS (3)\r\nPair = Pair (1)\r\n"
    "TwoPair = Two Pair (2)\r\nTrips = Trips (3)\r\nStraight = Straight (4)\r\n"
    "FH = Full House (4)\r\n4K = 4 of a Kind (4)\r\n5K = 5 of a Kind (5)\r\nTotal = Total\r\n"
    "roll = Roll\r\nNewGame = New Game\r\nNewGameDesc = Start a new game?\r\n"
    "win = wins the game!\r\ntie = The game is a tie!\r\n"
    "hands0 = Nothing\r\nhands1 = Five of a Kind\r\nhands2 = Four of a Kind\r\n"
    "hands3 = Full House\r\nhands4 = Straight\r\nhands5 = Three of a Kind\r\n"
    "hands6 = Two Pair\r\nhands7 = One Pair\r\n"
    "gameMode = Game mode\r\nenterNrP = Number of players (2-4):\r\n"
    "enterName = Name of player\r\nShowCPUhand = Show the computer's hand for\r\n"
    "sec = seconds\r\nstrongerCPU = Stronger computer\r\napply = Apply\r\ncancel = Cancel\r\n";

constexpr int throwCount = 7776;

std::array<std::string, 5> throwFaces(int index) {
    std::array<std::string, 5> dice;
    for (std::string& die : dice) {
        die = std::string(faceLabels[std::size_t(index % 6)]);
        index /= 6;
    }
    return dice;
}

// Time per hand over all ordered throws of five dice.
void setPerHand(benchmark::State& state) {
    state.counters["per_hand"] = benchmark::Counter(
        throwCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void classifyHandStrings(benchmark::State& state) {
    std::vector<std::string> hands;
    for (int i = 0; i < throwCount; ++i) {
        std::string hand;
        for (const std::string& face : throwFaces(i)) {
            hand += face;
        }
        hands.push_back(hand);
    }
    for (auto _ : state) {
        int sum = 0;
        for (const std::string& hand : hands) {
            sum += classifyHandString(hand);
        }
        benchmark::DoNotOptimize(sum);
    }
    setPerHand(state);
}
BENCHMARK(classifyHandStrings);

// As the game does it: the dice are set on the board and read back as text.
void classifyHandOnBoard(benchmark::State& state) {
    std::vector<std::array<std::string, 5>> throws;
    for (int i = 0; i < throwCount; ++i) {
        throws.push_back(throwFaces(i));
    }
    MemoryBoard board(2);
    for (auto _ : state) {
        int sum = 0;
        for (const auto& dice : throws) {
            board.setDice(dice);
            sum += classifyHand(board);
        }
        benchmark::DoNotOptimize(sum);
    }
    setPerHand(state);
}
BENCHMARK(classifyHandOnBoard);

// One computer turn; a fresh board once the computer's column is full.
void computerTurnBench(benchmark::State& state, const char* languageFile) {
    GameState game;
    game.playerCount = 2;
    game.computerMode = 1;
    game.strongerCPU = int(state.range(0));
    game.languageFile = languageFile;
    MemoryBoard board(2);
    int turns = 0;
    for (auto _ : state) {
        computerTurn(board, game);
        if (++turns == 13) {
            state.PauseTiming();
            board = MemoryBoard(2);
            turns = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK_CAPTURE(computerTurnBench, language_file, "en.lang")->ArgName("stronger")->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(computerTurnBench, no_language_file, "missing.lang")
    ->ArgName("stronger")
    ->Arg(0)
    ->Arg(1);

// A whole game through the turn flow: a person holding dice at random and clicking random
// rows until one books, against the computer.
void wholeGame(benchmark::State& state, const char* languageFile) {
    std::mt19937 person(12345);
    for (auto _ : state) {
        GameState game;
        game.playerCount = 2;
        game.computerMode = 1;
        game.strongerCPU = int(state.range(0));
        game.languageFile = languageFile;
        game.playerNames = {"", "Player 1", "Computer", "", "", ""};
        MemoryBoard board(2);
        TurnFlow flow(board, game);
        for (int turn = 0; turn < 13; ++turn) {
            flow.roll();
            for (int die = Die1; die <= Die5; ++die) {
                board.setDieHeld(die, (person() & 1u) != 0);
            }
            flow.roll();
            while (board.controlEnabled(ScoreCard)) {
                flow.book(int(person() % 16u) - 1);
            }
        }
        benchmark::DoNotOptimize(board.messages().size());
    }
}
BENCHMARK_CAPTURE(wholeGame, language_file, "en.lang")->ArgName("stronger")->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(wholeGame, no_language_file, "missing.lang")->ArgName("stronger")->Arg(0)->Arg(1);

}  // namespace
}  // namespace quintaro

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const fs::path previous = fs::current_path();
    const fs::path dir =
        fs::temp_directory_path() /
        ("quintaro-bench-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    std::error_code copyFailed;
    const fs::path assets = fs::path(QUINTARO_ASSETS_DIR) / "en.lang";
    if (!fs::copy_file(assets, dir / "en.lang", copyFailed)) {
        std::ofstream out(dir / "en.lang", std::ios::binary);
        out << quintaro::englishFile;
    }
    std::printf("language file: %s\n", copyFailed ? "built-in copy" : assets.string().c_str());
    fs::current_path(dir);

    benchmark::Initialize(&argc, argv);
    int status = 0;
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        status = 1;
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();

    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(dir, ignored);
    return status;
}
