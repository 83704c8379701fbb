#pragma once
// The dialog at start-up that asks how the game is played: people against each other or one
// person against the computer, then the number of players and their names.

#include <QWidget>
#include <memory>

#include "state/GameState.h"

namespace quintaro {

// Client size of the dialog and of its two picture buttons.
inline constexpr int newGameDialogWidth = 405;
inline constexpr int newGameDialogHeight = 75;
inline constexpr int modeButtonWidth = 185;
inline constexpr int modeButtonHeight = 40;

// Runs the dialog until a mode has been chosen and every name entered, and sets
// state.computerMode, state.playerCount and state.playerNames. Returns the dialog window, still
// on screen, for the caller to close once the main window stands in its place; returns nullptr
// when the dialog was closed before a mode was chosen (no game is to start).
std::unique_ptr<QWidget> runNewGameDialog(GameState& state);

}  // namespace quintaro
