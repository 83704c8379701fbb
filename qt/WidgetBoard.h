#pragma once
// The board over the main window's widgets: the score card, the five dice, the roll button
// and the two labels. The widgets are the only store of the dice and the scores. It also
// hands the screen-reader names the shell composes to the widgets.

#include <array>

#include "rules/Board.h"
#include "shell/AccessibleSink.h"
#include "shell/Frontend.h"

class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

namespace quintaro {

class ScoreGrid;

class WidgetBoard : public Board, public AccessibleSink {
  public:
    struct Widgets {
        QWidget* window = nullptr;  // the owner of message boxes
        ScoreGrid* scoreCard = nullptr;
        std::array<QPushButton*, 5> dice{};
        QPushButton* rollButton = nullptr;
        QLabel* turnLabel = nullptr;
        QLabel* handLabel = nullptr;
    };

    // Message boxes report their closing to events.
    WidgetBoard(const Widgets& widgets, WindowEvents& events)
        : widgets_(widgets), events_(events) {}

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

    // AccessibleSink: accessible names, the cells' accessible text role, name-changed events.
    void nameControl(int control, const std::string& name) override;
    void nameCell(int row, int column, const std::string& name) override;
    void announce(int control) override;

  private:
    Widgets widgets_;
    WindowEvents& events_;
};

}  // namespace quintaro
