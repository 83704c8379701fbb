#include "qt/WidgetBoard.h"

#include <QAccessible>
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
}

bool WidgetBoard::cellColourSet(int row, int column) const {
    return widgets_.scoreCard->cellColourSet(row, column);
}

void WidgetBoard::setCellColour(int row, int column, Colour colour) {
    widgets_.scoreCard->setCellColour(row, column, colour);
}

void WidgetBoard::setRowColour(int row, Colour colour) {
    widgets_.scoreCard->setRowColour(row, colour);
}

bool WidgetBoard::dieHeld(int die) const {
    const auto* button = qobject_cast<const QAbstractButton*>(control(die));
    return button != nullptr && button->isChecked();
}

void WidgetBoard::setDieHeld(int die, bool held) {
    if (auto* button = qobject_cast<QAbstractButton*>(control(die))) {
        button->setChecked(held);
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
        label->setText(toQString(text));
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
}

void WidgetBoard::nameControl(int control, const std::string& name) {
    if (QWidget* widget = this->control(control)) {
        widget->setAccessibleName(toQString(name));
    }
}

void WidgetBoard::nameCell(int row, int column, const std::string& name) {
    if (QTableWidgetItem* cell = widgets_.scoreCard->item(row, column)) {
        cell->setData(Qt::AccessibleTextRole, toQString(name));
    }
}

void WidgetBoard::announce(int control) {
    if (QWidget* widget = this->control(control)) {
        QAccessibleEvent event(widget, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void WidgetBoard::showMessage(const std::string& caption, const std::string& text) {
    // A box over the window, which takes no input until it is closed; the shell hears of that.
    QWidget* owner = widgets_.window;
    auto* box = new QMessageBox(QMessageBox::NoIcon, toQString(caption), toQString(text),
                                QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::WindowModal);
    QObject::connect(box, &QDialog::finished, owner, [this, owner] {
        // The keys go back to the window, not to the box that has gone.
        if (owner->isVisible()) {
            owner->activateWindow();
        }
        events_.messageClosed();
    });
    box->open();
}

}  // namespace quintaro
