#include "shell/Accessibility.h"

#include "settings/KeyValueFile.h"
#include "state/GameState.h"

namespace quintaro {

AccessibleTexts readAccessibleTexts(const KeyValueFile& file) {
    AccessibleTexts texts;
    texts.die = file.readText("A11yDie", "Die");
    texts.held = file.readText("A11yHeld", "held");
    texts.notRolled = file.readText("A11yNotRolled", "not rolled");
    texts.rollsLeft = file.readText("A11yRollsLeft", "rolls left");
    texts.booked = file.readText("A11yBooked", "booked");
    texts.free = file.readText("A11yFree", "free");
    static constexpr std::array<std::string_view, 6> englishFaces = {"Ace",  "King", "Queen",
                                                                     "Jack", "Ten",  "Nine"};
    for (std::size_t face = 0; face < texts.faces.size(); ++face) {
        texts.faces[face] =
            file.readText("Face" + std::string(faceLabels[face]), englishFaces[face]);
    }
    return texts;
}

std::string dieDescription(const AccessibleTexts& texts, int die, const std::string& face,
                           bool held) {
    std::string name = texts.die + " " + std::to_string(die) + ": ";
    std::string faceName;
    for (std::size_t index = 0; index < texts.faces.size(); ++index) {
        if (face == faceLabels[index]) {
            faceName = texts.faces[index];
        }
    }
    name += faceName.empty() ? texts.notRolled : faceName;
    if (held) {
        name += ", " + texts.held;
    }
    return name;
}

std::string rollDescription(const AccessibleTexts& texts, const std::string& rollText,
                            int rollsLeft) {
    return rollText + ", " + texts.rollsLeft + ": " + std::to_string(rollsLeft);
}

std::string cellDescription(const AccessibleTexts& texts, int row, const std::string& rowLabel,
                            const std::string& playerName, const std::string& cellText,
                            bool booked) {
    std::string name = rowLabel + ", " + playerName + ": ";
    if (!isBookableRow(row)) {
        return name + (cellText.empty() ? "0" : cellText);
    }
    if (!booked) {
        return name + (cellText.empty() ? texts.free : cellText);
    }
    return name + cellText + ", " + texts.booked;
}

int rollsLeft(const Board& board) {
    if (!board.controlEnabled(RollButton)) {
        return 0;
    }
    return board.controlText(Die1).empty() ? 2 : 1;
}

}  // namespace quintaro
