// Whole games played in the page by the pointer and the keys, three people and one person
// against the computer, from a seeded random sequence. After every booking the page's board
// matches the same scripted game played by the turn flow on the in-memory board from the same
// seed (the page's test hooks, web/TestHooks.cpp), and the card drawn shows that board's
// texts. The end message names the winner or the tie.
import { test } from "node:test";
import assert from "node:assert/strict";
import { watchErrors, waitFor, sharedBrowser } from "./support.js";
import { WebDriver } from "./driver.js";

const shared = sharedBrowser();

const ROWS = 15;
const TOTAL_ROW = 14;

// The board of the page's running game as the hooks write it.
function pageBoard(page) {
  return page.evaluate(() => {
    const m = window.quintaroPage.core.module;
    return m.UTF8ToString(m._quintaro_test_board());
  });
}

// The scripted game on the in-memory board: { turns: [the board after each booking],
// messages: [[caption, text], ...] }.
async function replay(page, names, computer, seed) {
  const json = await page.evaluate((names, computer, seed) => {
    const core = window.quintaroPage.core;
    const m = core.module;
    return core.withString("en.lang", (language) => core.withString(names.join("\n"), (n) =>
      m.UTF8ToString(m._quintaro_test_replay(language, n, computer ? 1 : 0, seed))));
  }, names, computer, seed);
  return JSON.parse(json);
}

// The script both games follow: die 1 + turn % 5 held between the rolls, then the player's
// first free row from (turn * 7) % 15 down, wrapping. Here a die is held by a click or its
// key, the second roll is R or Space, and the row is clicked or chosen with Down and Enter.
async function playTurn(driver, what, turn, names) {
  const page = driver.page;
  await driver.clickRoll();
  if (turn % 2) {
    await driver.clickDie(1 + (turn % 5));
  } else {
    await driver.pressKey(String(1 + (turn % 5)), false);
  }
  // Space on a die the pointer focused presses that die: R rolls from anywhere.
  await driver.pressKey(turn % 2 ? "R" : "Space", false);
  await waitFor(`${what}, turn ${turn}: the card open after the second roll`, page,
    () => window.quintaroTest.state().enabled[0]);
  const player = names.indexOf((await driver.state()).texts[8]) + 1;
  const free = await page.evaluate((p) =>
    window.quintaroPage.view.cells.map((cells) => !cells[p].classList.contains("coloured")), player);
  let row = (turn * 7) % ROWS;
  while (!free[row]) {
    row = (row + 1) % ROWS;
  }
  if (turn % 3) {
    for (let presses = 0; (await driver.state()).selection !== row; ++presses) {
      assert.ok(presses < ROWS, `${what}, turn ${turn}: Down reaches row ${row}`);
      await driver.pressKey("Down", false);
    }
    await driver.pressKey("Enter", false);
  } else {
    await driver.clickCell(row, player);
  }
  await driver.settle(`${what}, turn ${turn}`);
  await waitFor(`${what}, turn ${turn}: the booking`, page, () => !window.quintaroTest.state().enabled[0]);
}

async function playAlongside(what, players, computer, seed) {
  const names = computer ? ["Ann", "Computer"] : ["Ann", "Bob", "Cid", "Dee"].slice(0, players);
  const page = await shared.browser.newPage();
  await page.setViewport({ width: 1000, height: 600 });
  const errors = watchErrors(page);
  const driver = new WebDriver(page, shared.server.url, what);
  await driver.startGame(players, computer, names, seed);
  const memory = await replay(page, names.slice(0, computer ? 1 : players), computer, seed);
  for (let turn = 0; turn < memory.turns.length; ++turn) {
    await playTurn(driver, what, turn, names);
    const board = await pageBoard(page);
    const expected = memory.turns[turn];
    assert.ok(board === expected,
      `${what}, turn ${turn}: the page's board\n${board}\ndiffers from the in-memory board\n${expected}`);
    const drawn = (await driver.state()).cells.map((cells) => cells.slice(1, names.length + 1));
    const texts = board.split("\n").slice(0, ROWS).map((line) =>
      line.split("|").slice(0, names.length).map((cell) => cell.replace(/\*$/, "")));
    assert.deepEqual(drawn, texts, `${what}, turn ${turn}: the card drawn`);
  }
  const s = await driver.state();
  assert.equal(s.message, true, `${what}: the end message`);
  const totals = names.map((_, i) => Number(s.cells[TOTAL_ROW][i + 1]));
  const best = Math.max(...totals);
  const winners = names.filter((_, i) => totals[i] === best);
  const text = await page.$eval("dialog.message-box[open] p", (p) => p.textContent);
  assert.equal(text, winners.length > 1 ? "It's a tie!" : `${winners[0]} wins!`, `${what}: the end message's text`);
  assert.deepEqual(memory.messages.map(([, t]) => t), [text], `${what}: the in-memory board's end message`);
  await driver.answer("ok");
  await driver.settle(`${what}: message closed`);
  assert.equal((await driver.state()).message, false, `${what}: the message closed`);
  assert.deepEqual(errors, []);
  await page.close();
}

test("three people play a whole game by the pointer and the keys, as on the in-memory board", () =>
  playAlongside("three people", 3, false, 2024));

test("one person plays a whole game against the computer, as on the in-memory board", () =>
  playAlongside("against the computer", 1, true, 77));
