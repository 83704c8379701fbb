#pragma once
// The options dialog: the pause after the computer's turn, in whole seconds from 0 to 5, and
// the computer opponent's stronger level.

#include <QWidget>

#include "state/GameState.h"

namespace quintaro {

// Client size of the dialog.
inline constexpr int optionsDialogWidth = 280;
inline constexpr int optionsDialogHeight = 120;
// The range of the seconds control.
inline constexpr int maxDelaySeconds = 5;

// Shows the dialog and waits until it ends. Apply sets state.delayMs and state.strongerCPU and
// saves both in settings.ini; Cancel and the close box change nothing. The caller disables
// mainWindow before the call; it is enabled again before this returns, whichever way the
// dialog ends.
void runOptionsDialog(QWidget* mainWindow, GameState& state);

}  // namespace quintaro
