// The game in the page: the view over the game's shell. Until the shell answers later
// (rather than waiting), the page shows the first question of every start, the mode.
import { GameView } from "./view.js";

export async function startGame({ core, page }) {
  const root = document.getElementById("game");
  const view = new GameView(root, core.layout(2), core.menu(), {});
  page.view = view;
  root.querySelector(".placeholder")?.remove();
  page.newGame = view.newGameDialog("", {
    people: "pvp_0.jpg",
    computer: "pvc_0.jpg",
  });
}
