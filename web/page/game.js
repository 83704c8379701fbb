// The game's window in the page. (Drawn from what the game's shell says; see view.js.)
export async function startGame() {}
