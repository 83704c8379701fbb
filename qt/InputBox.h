#pragma once
// The small modal text-input box that asks for the number of players and their names.

#include <QString>

namespace quintaro {

// Shows the box over the program's window in front and waits for the answer. All other
// windows of the program take no input while it is open. Enter or "OK" returns the field's
// text (possibly empty); Escape or the window's close command returns an empty text.
QString inputBox(const QString& title, const QString& prompt, const QString& defaultText);

}  // namespace quintaro
