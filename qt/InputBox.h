#pragma once
// The small modal text-input box that asks for the number of players and their names.

#include <QString>

namespace quintaro {

// Client size of the box: a 300 x 130 window less its title bar and border.
inline constexpr int inputBoxWidth = 294;
inline constexpr int inputBoxHeight = 104;

// Shows the box over the program's window in front and waits for the answer. All other
// windows of the program take no input while it is open. Enter or "OK" returns the field's
// text (possibly empty); Escape or the window's close command returns an empty text.
QString inputBox(const QString& title, const QString& prompt, const QString& defaultText);

}  // namespace quintaro
