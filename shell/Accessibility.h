#pragma once
// What a screen reader says of the main window's controls, in the game's language: the dice,
// the roll button, the score cards cells and the mode buttons of the new-game dialog.

#include <array>
#include <string>

#include "rules/Board.h"

namespace quintaro {

class KeyValueFile;

struct AccessibleTexts {
    std::string die;                   // "Die"
    std::string held;                  // "held"
    std::string notRolled;             // "not rolled"
    std::string rollsLeft;             // "rolls left"
    std::string booked;                // "booked"
    std::string free;                  // "free"
    std::array<std::string, 6> faces;  // by face index: "Ace" .. "Nine"
};

// Reads the texts from an open language file; a missing key gives the English text, so a
// screen reader never meets a nameless control.
AccessibleTexts readAccessibleTexts(const KeyValueFile& languageFile);

// "Die 3: King, held", "Die 3: King" or "Die 3: not rolled".
std::string dieDescription(const AccessibleTexts& texts, int die, const std::string& face,
                           bool held);
// "Roll, rolls left: 2".
std::string rollDescription(const AccessibleTexts& texts, const std::string& rollText,
                            int rollsLeft);
// "Aces, Ann: 3, booked" or "Aces, Ann: free"; the bonus and total rows give their value.
std::string cellDescription(const AccessibleTexts& texts, int row, const std::string& rowLabel,
                            const std::string& playerName, const std::string& cellText,
                            bool booked);
// The rolls left in this turn as the board shows it: 2 before the first roll (blank dice),
// 0 once the roll button is off, else 1.
int rollsLeft(const Board& board);

}  // namespace quintaro
