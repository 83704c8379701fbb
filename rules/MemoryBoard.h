#pragma once
// A board held in memory: the score card, the dice and the controls of the main window as
// plain data. The tests and the simulator play on it.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rules/Board.h"

namespace quintaro {

class MemoryBoard : public Board {
  public:
    // A score card with the label column and playerCount player columns, rows 6 and 14
    // coloured as the window builds them.
    explicit MemoryBoard(int playerCount);

    std::string cellText(int row, int column) const override;
    void setCellText(int row, int column, const std::string& text) override;
    bool cellColourSet(int row, int column) const override;
    void setCellColour(int row, int column, Colour colour) override;
    void setRowColour(int row, Colour colour) override;
    bool dieHeld(int die) const override;
    void setDieHeld(int die, bool held) override;
    std::string controlText(int control) const override;
    void setControlText(int control, const std::string& text) override;
    bool controlEnabled(int control) const override;
    void setControlEnabled(int control, bool enabled) override;
    void showMessage(const std::string& caption, const std::string& text) override;

    int columnCount() const { return columns_; }
    std::optional<Colour> cellColour(int row, int column) const;
    // Every message shown, as (caption, text), oldest first.
    const std::vector<std::pair<std::string, std::string>>& messages() const { return messages_; }
    // Sets the five dice texts at once (for tests): "A", "10", ... or "".
    void setDice(const std::array<std::string, 5>& faces);

  private:
    struct Cell {
        std::string text;
        std::optional<Colour> colour;
    };
    Cell& cell(int row, int column);
    const Cell& cell(int row, int column) const;

    int columns_;
    std::vector<Cell> cells_;  // rowCount x columns_
    std::array<std::string, 10> texts_{};
    std::array<bool, 10> enabled_{};
    std::array<bool, 6> held_{};
    std::vector<std::pair<std::string, std::string>> messages_;
};

}  // namespace quintaro
