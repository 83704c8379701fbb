#include "qt/WidgetBoard.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "qt/ScoreGrid.h"
#include "qt/UiText.h"

namespace quintaro {

QWidget* WidgetBoard::control(int number) const {
    switch (number) {
        case ScoreCard:
            return widgets_.scoreCard;
        case RollButton:
            return widgets_.rollButton;
        case TurnLabel:
            return widgets_.turnLabel;
        case HandLabel:
            return widgets_.handLabel;
        default:
            if (number >= Die1 && number <= Die5) {
                return widgets_.dice[std::size_t(number - Die1)];
            }
            return nullptr;
    }
}

std::string WidgetBoard::cellText(int row, int column) const {
    return toStdString(widgets_.scoreCard->cellText(row, column));
}

void WidgetBoard::setCellText(int row, int column, const std::string& text) {
    widgets_.scoreCard->setCellText(row, column, toQString(text));
    if (column == 0) {
        // A new label renames the whole row.
        for (int player = 1; player < widgets_.scoreCard->columnCount(); ++player) {
            refreshCell(row, player);
        }
    } else {
        refreshCell(row, column);
    }
}

bool WidgetBoard::cellColourSet(int row, int column) const {
    return widgets_.scoreCard->cellColourSet(row, column);
}

void WidgetBoard::setCellColour(int row, int column, Colour colour) {
    widgets_.scoreCard->setCellColour(row, column, colour);
    refreshCell(row, column);
}

void WidgetBoard::setRowColour(int row, Colour colour) {
    widgets_.scoreCard->setRowColour(row, colour);
    for (int player = 1; player < widgets_.scoreCard->columnCount(); ++player) {
        refreshCell(row, player);
    }
}

bool WidgetBoard::dieHeld(int die) const {
    const auto* button = qobject_cast<const QAbstractButton*>(control(die));
    return button != nullptr && button->isChecked();
}

void WidgetBoard::setDieHeld(int die, bool held) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(die))) {
        button->setChecked(held);
        refreshDie(die);
    }
}

std::string WidgetBoard::controlText(int control) const {
    QWidget* widget = this->control(control);
    if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return toStdString(button->text());
    }
    if (const auto* label = qobject_cast<QLabel*>(widget)) {
        return toStdString(label->text());
    }
    return {};
}

void WidgetBoard::setControlText(int control, const std::string& text) {
    QWidget* widget = this->control(control);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(toQString(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        const bool changed = label->text() != toQString(text);
        label->setText(toQString(text));
        if (changed) {
            announce(label);
        }
    }
    if (control >= Die1 && control <= Die5) {
        refreshDie(control);
    }
    if ((control >= Die1 && control <= Die5) || control == RollButton) {
        refreshRollButton();
    }
}

bool WidgetBoard::controlEnabled(int control) const {
    const QWidget* widget = this->control(control);
    return widget != nullptr && widget->isEnabled();
}

void WidgetBoard::setControlEnabled(int control, bool enabled) {
    if (QWidget* widget = this->control(control)) {
        widget->setEnabled(enabled);
    }
    if (control == RollButton) {
        refreshRollButton();
    }
}

void WidgetBoard::setAccessibleTexts(const AccessibleTexts& texts) {
    texts_ = texts;
    for (int die = Die1; die <= Die5; ++die) {
        refreshDie(die);
    }
    refreshRollButton();
    for (int row = 0; row < widgets_.scoreCard->rowCount(); ++row) {
        for (int player = 1; player < widgets_.scoreCard->columnCount(); ++player) {
            refreshCell(row, player);
        }
    }
}

void WidgetBoard::refreshDie(int die) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(die))) {
        button->setAccessibleName(toQString(
            dieDescription(texts_, die, toStdString(button->text()), button->isChecked())));
    }
}

void WidgetBoard::refreshRollButton() {
    if (QAbstractButton* button = widgets_.rollButton) {
        button->setAccessibleName(
            toQString(rollDescription(texts_, toStdString(button->text()), rollsLeft(*this))));
    }
}

void WidgetBoard::refreshCell(int row, int column) {
    ScoreGrid* card = widgets_.scoreCard;
    QTableWidgetItem* cell = card->item(row, column);
    if (cell == nullptr || column == 0) {
        return;
    }
    const QTableWidgetItem* header = card->horizontalHeaderItem(column);
    const std::string player = header != nullptr ? toStdString(header->text()) : std::string();
    cell->setData(Qt::AccessibleTextRole,
                  toQString(cellDescription(texts_, row, cellText(row, 0), player,
                                            cellText(row, column), cellColourSet(row, column))));
}

void WidgetBoard::announce(QWidget* label) {
    QAccessibleEvent event(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void WidgetBoard::showMessage(const std::string& caption, const std::string& text) {
    QWidget* owner = widgets_.window;
    const bool active = owner != nullptr && owner->isActiveWindow();
    QMessageBox box(QMessageBox::NoIcon, toQString(caption), toQString(text), QMessageBox::Ok,
                    active ? owner : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // The keys go back to the window, not to the box that has gone.
    if (active && owner->isVisible()) {
        owner->activateWindow();
    }
}

}  // namespace quintaro
