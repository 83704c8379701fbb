#include "rules/MemoryBoard.h"

#include <stdexcept>

namespace quintaro {

MemoryBoard::MemoryBoard(int playerCount)
    : columns_(playerCount + 1), cells_(std::size_t(rowCount) * std::size_t(playerCount + 1)) {
    enabled_.fill(true);
    enabled_[ScoreCard] = false;
    setRowColour(totalRow, fixedRowColour);
    setRowColour(bonusRow, fixedRowColour);
}

MemoryBoard::Cell& MemoryBoard::cell(int row, int column) {
    if (row < 0 || row >= rowCount || column < 0 || column >= columns_) {
        throw std::out_of_range("score-card cell out of range");
    }
    return cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
}

const MemoryBoard::Cell& MemoryBoard::cell(int row, int column) const {
    return const_cast<MemoryBoard*>(this)->cell(row, column);
}

std::string MemoryBoard::cellText(int row, int column) const {
    return cell(row, column).text;
}

void MemoryBoard::setCellText(int row, int column, const std::string& text) {
    cell(row, column).text = text;
}

bool MemoryBoard::cellColourSet(int row, int column) const {
    return cell(row, column).colour.has_value();
}

void MemoryBoard::setCellColour(int row, int column, Colour colour) {
    cell(row, column).colour = colour;
}

void MemoryBoard::setRowColour(int row, Colour colour) {
    for (int column = 0; column < columns_; ++column) {
        cell(row, column).colour = colour;
    }
}

std::optional<Colour> MemoryBoard::cellColour(int row, int column) const {
    return cell(row, column).colour;
}

bool MemoryBoard::dieHeld(int die) const {
    return held_.at(std::size_t(die));
}

void MemoryBoard::setDieHeld(int die, bool held) {
    held_.at(std::size_t(die)) = held;
}

std::string MemoryBoard::controlText(int control) const {
    return texts_.at(std::size_t(control));
}

void MemoryBoard::setControlText(int control, const std::string& text) {
    texts_.at(std::size_t(control)) = text;
}

bool MemoryBoard::controlEnabled(int control) const {
    return enabled_.at(std::size_t(control));
}

void MemoryBoard::setControlEnabled(int control, bool enabled) {
    enabled_.at(std::size_t(control)) = enabled;
}

void MemoryBoard::showMessage(const std::string& caption, const std::string& text) {
    messages_.emplace_back(caption, text);
}

void MemoryBoard::setDice(const std::array<std::string, 5>& faces) {
    for (int die = 1; die <= 5; ++die) {
        texts_[std::size_t(die)] = faces[std::size_t(die - 1)];
    }
}

}  // namespace quintaro
