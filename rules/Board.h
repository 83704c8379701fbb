#pragma once
// What the rules see of the main window: the score card, the dice and the other controls.
//
// The window's widgets are the only store of the dice and the scores; the rules read them
// afresh through this interface on every call and keep no copy.

#include <cstdint>
#include <string>

#include "rules/ScoreCard.h"

namespace quintaro {

// Control numbers of the main window.
enum Control : int {
    ScoreCard = 0,
    Die1 = 1,  // dice 1..5 are controls 1..5
    Die5 = 5,
    RollButton = 6,
    TurnLabel = 8,
    HandLabel = 9,
};

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    // The Windows-style 0x00BBGGRR value.
    constexpr std::uint32_t bgr() const {
        return std::uint32_t(blue) << 16 | std::uint32_t(green) << 8 | red;
    }
    bool operator==(const Colour&) const = default;
};

// A booked cell: red 255, green 102, blue 51 (0x3366FF as 0x00BBGGRR), an orange red.
inline constexpr Colour bookedCellColour{255, 102, 51};
// The bonus and total rows: red 102, green 255, blue 255 (0xFFFF66 as 0x00BBGGRR), a light
// cyan.
inline constexpr Colour fixedRowColour{102, 255, 255};

class Board {
  public:
    virtual ~Board() = default;

    // Score card: rows 0..14, column 0 holds the labels, column p belongs to player p.
    virtual std::string cellText(int row, int column) const = 0;
    virtual void setCellText(int row, int column, const std::string& text) = 0;
    // A cell is booked exactly when its background colour has been set.
    virtual bool cellColourSet(int row, int column) const = 0;
    virtual void setCellColour(int row, int column, Colour colour) = 0;
    // Sets the colour of the row in every column.
    virtual void setRowColour(int row, Colour colour) = 0;

    // Dice 1..5: pressed means held; the text is the face, "" for not yet rolled.
    virtual bool dieHeld(int die) const = 0;
    virtual void setDieHeld(int die, bool held) = 0;

    // Text of a die (1..5), the roll button (6), the turn label (8) or the hand label (9).
    virtual std::string controlText(int control) const = 0;
    virtual void setControlText(int control, const std::string& text) = 0;
    virtual bool controlEnabled(int control) const = 0;
    virtual void setControlEnabled(int control, bool enabled) = 0;

    // A modal message box with an OK button over the window. It returns at once; the box's
    // closing is reported to the shell, which takes no input from the window meanwhile.
    virtual void showMessage(const std::string& caption, const std::string& text) = 0;
};

// A cell of the score card is booked exactly when its background colour has been set.
inline bool isBooked(const Board& board, int row, int column) {
    return board.cellColourSet(row, column);
}

}  // namespace quintaro
