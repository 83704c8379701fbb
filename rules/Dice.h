#pragma once
// Dice, hand strings and the hand classifier.

#include <string>
#include <string_view>

#include "rules/Board.h"
#include "state/GameState.h"

namespace quintaro {

// Number of non-overlapping occurrences of a face label in a hand string.
int countFace(std::string_view hand, std::string_view label);

std::string rollFace();
// Every die that is not held gets a fresh face, in die order, one draw per rolled die.
void rollDice(Board& board);
// The texts of dice 1..5 joined without separators.
std::string currentHandString(const Board& board);
// The category of a hand string.
int classifyHandString(std::string_view hand);
// The category of the dice as they are shown now.
int classifyHand(const Board& board);
// The name of the hand on the dice from the current language file (empty default).
std::string currentHandName(const Board& board, const GameState& state);
// One of the five example hands of a category, one draw; "" for NoHand.
std::string exampleHand(int category);
// The stronger computer's simulated re-roll: three draws, an equal or better category.
int improveCategory(int category);

}  // namespace quintaro
