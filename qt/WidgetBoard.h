#pragma once
// The board over the main window's widgets: the score card, the five dice, the roll button
// and the two labels. The widgets are the only store of the dice and the scores.

#include <array>

#include "rules/Board.h"
#include "shell/Accessibility.h"

class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

namespace quintaro {

class ScoreGrid;

class WidgetBoard : public Board {
  public:
    struct Widgets {
        QWidget* window = nullptr;  // the owner of message boxes
        ScoreGrid* scoreCard = nullptr;
        std::array<QPushButton*, 5> dice{};
        QPushButton* rollButton = nullptr;
        QLabel* turnLabel = nullptr;
        QLabel* handLabel = nullptr;
    };

    explicit WidgetBoard(const Widgets& widgets) : widgets_(widgets) {}

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

    // The widget of a control number, nullptr for none.
    QWidget* control(int number) const;

    // What a screen reader says of the controls: the dice, the roll button with the rolls
    // left, every cell of the score card. Kept current by every change made through the board;
    // a die clicked with the mouse calls refreshDie.
    void setAccessibleTexts(const AccessibleTexts& texts);
    void refreshDie(int die);

  private:
    void refreshRollButton();
    void refreshCell(int row, int column);
    void announce(QWidget* label);

    Widgets widgets_;
    AccessibleTexts texts_;
};

}  // namespace quintaro
