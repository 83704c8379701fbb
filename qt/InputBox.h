#pragma once
// The text-input box: a prompt, one line of text and OK. It answers once it is left: OK or
// Enter with the text, Escape or the close command with Cancel.

#include <QString>

#include "shell/Frontend.h"

class QDialog;

namespace quintaro {

// Opens the modal box and returns it at once; the answer reaches events when it closes, and
// the box then deletes itself.
QDialog* showInputBox(const QString& title, const QString& prompt, const QString& defaultText,
                      DialogEvents& events);

}  // namespace quintaro
