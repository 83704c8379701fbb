#pragma once
// What the page's test hooks (web/TestHooks.cpp) need of the running game.

namespace quintaro {

class Board;

// The board of the page's main window and its number of player columns; nullptr while no
// main window is open. Defined beside the game, in WebMain.cpp.
const Board* pageBoard(int& players);

}  // namespace quintaro
