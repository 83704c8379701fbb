#pragma once
// Shared helpers of the game tests that need no toolkit: a repeatable random source, a
// scratch folder with the game's language files, and a game state with named players.

#include <filesystem>
#include <string>
#include <vector>

#include "rules/Board.h"
#include "rules/Random.h"
#include "state/GameState.h"
#include "tests/support/TempFolder.h"

namespace quintaro::testing {

// Draws from a fixed list over and over (each value taken modulo maximum + 1), or from a
// seeded linear congruential sequence when the list is empty.
class RepeatRandom : public RandomSource {
  public:
    explicit RepeatRandom(std::vector<int> values, unsigned seed = 1)
        : values_(std::move(values)), state_(seed) {}
    int draw(int maximum) override;
    int draws() const { return draws_; }

  private:
    std::vector<int> values_;
    unsigned state_;
    int draws_ = 0;
};

// Installs a random source for the lifetime of the object.
class RandomScope {
  public:
    explicit RandomScope(RandomSource& source) : previous_(setRandomSource(&source)) {}
    ~RandomScope() { setRandomSource(previous_); }

  private:
    RandomSource* previous_;
};

// A fresh temporary folder, made the current folder, holding copies of the language files;
// the previous current folder is restored and the folder removed afterwards.
class ScratchFolder : public testing::TempFolder {
  public:
    explicit ScratchFolder(bool withLanguageFiles = true);
};

// A game state for a game of `players` named Ann, Bob, Cid and Dee, or Ann against the
// computer, with texts from `language`.
GameState gameState(int players, int computerMode = 0, const std::string& language = "en.lang");

// Everything the rules can see of a board (cells, colours, control texts, holds, enabled
// states), as text for comparing two boards turn by turn.
std::string snapshot(const Board& board, int players);

// Reads a key from a language file in the assets folder (for expected texts).
std::string languageText(const std::string& file, const std::string& key);

}  // namespace quintaro::testing
