#pragma once
// The options dialog: the pause after the computer's turn, in whole seconds from 0 to 5, and
// the computer opponent's stronger level.

#include <QWidget>

#include "shell/Options.h"

namespace quintaro {

// Shows the dialog, starting from choice with shownSeconds in the field, and waits until it
// ends. mainWindow is disabled meanwhile and enabled again before this returns, whichever way
// the dialog ends. Returns true for Apply, with the new values in choice; Cancel and the
// close box return false and leave choice alone.
bool runOptionsDialog(QWidget* mainWindow, const OptionsTexts& texts, int shownSeconds,
                      OptionsChoice& choice);

}  // namespace quintaro
