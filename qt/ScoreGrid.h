#pragma once
// The score card: a grid with the row labels in column 0 and one column per player.
// Cell texts are the scores; a cell whose background colour has been set is booked.

#include <QTableWidget>
#include <string>

#include "rules/Board.h"
#include "shell/Layout.h"

namespace quintaro {

class ScoreGrid : public QTableWidget {
    Q_OBJECT
  public:
    // The card with the columns, header and row heights of the layout.
    explicit ScoreGrid(const MainWindowLayout& layout, QWidget* parent = nullptr);

    // Appends a row whose label is `label`; its player cells start empty.
    void appendRow(const QString& label);
    // Row of the current selection, -1 when nothing is selected.
    int selectedRow() const;
    // Draws this row as selected (-1 for none); only the shell selects.
    void showSelection(int row);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    bool cellColourSet(int row, int column) const;
    void setCellColour(int row, int column, Colour colour);
    void setRowColour(int row, Colour colour);

  signals:
    // A left click on a row while the card is enabled.
    void rowClicked(int row);

  protected:
    // The pointer neither selects nor drags a selection: a click is reported, nothing more.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int rowHeight_ = 0;
};

}  // namespace quintaro
