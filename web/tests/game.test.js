// Whole games played in the page by the pointer and the keys: three people, and one person
// against the computer. At the end every column has its 13 bookings, each total is the sum of
// its rows with the bonus, and the end message names the winner or the tie.
import { test } from "node:test";
import assert from "node:assert/strict";
import { watchErrors, waitFor, sharedBrowser } from "./support.js";
import { WebDriver } from "./driver.js";

const shared = sharedBrowser();

const NAMES = ["Ann", "Bob", "Cid"];
const BONUS_ROW = 6;
const TOTAL_ROW = 14;

function checkCard(what, cells, players) {
  const totals = [];
  for (let p = 1; p <= players; ++p) {
    const value = (r) => Number(cells[r][p] || 0);
    const upper = [0, 1, 2, 3, 4, 5].reduce((sum, r) => sum + value(r), 0);
    const lower = [7, 8, 9, 10, 11, 12, 13].reduce((sum, r) => sum + value(r), 0);
    assert.equal(value(BONUS_ROW), upper >= 15 ? 3 : 0, `${what}: column ${p}'s bonus`);
    assert.equal(value(TOTAL_ROW), upper + value(BONUS_ROW) + lower, `${what}: column ${p}'s total`);
    totals.push(value(TOTAL_ROW));
  }
  return totals;
}

// One person's turn: Roll clicked, a die held by click or key, Space or R for the second roll, then
// a free row booked by a click or by Down and Enter.
async function playTurn(driver, what, turn) {
  const page = driver.page;
  await driver.clickRoll();
  if (turn % 2) {
    await driver.clickDie(1 + (turn % 5));
  } else {
    await driver.pressKey(String(1 + (turn % 5)), false);
  }
  // Space on a die the pointer focused presses that die: R rolls from anywhere.
  await driver.pressKey(turn % 2 ? "R" : "Space", false);
  const s = await driver.state();
  assert.equal(s.enabled[0], true, `${what}, turn ${turn}: the card open after the second roll`);
  if (turn % 3) {
    await driver.pressKey("Down", false);
    await driver.pressKey("Enter", false);
  } else {
    const player = NAMES.indexOf(s.texts[8]) + 1;
    const row = s.cells.findIndex((cells, r) => r !== BONUS_ROW && r !== TOTAL_ROW && cells[player] === "");
    await driver.clickCell(row, player);
  }
  await driver.settle(`${what}, turn ${turn}`);
  await waitFor(`${what}, turn ${turn}: the booking`, page, () => !window.quintaroTest.state().enabled[0]);
}

async function endOfGame(driver, what, players, names) {
  const s = await driver.state();
  assert.deepEqual(s.booked.slice(1), Array(players).fill(13), `${what}: 13 bookings each`);
  const totals = checkCard(what, s.cells, players);
  assert.equal(s.message, true, `${what}: the end message`);
  const best = Math.max(...totals);
  const winners = totals.flatMap((t, i) => (t === best ? [names[i]] : []));
  const text = await driver.page.$eval("dialog.message-box[open] p", (p) => p.textContent);
  assert.equal(text, winners.length > 1 ? "It's a tie!" : `${winners[0]} wins!`, `${what}: the end message's text`);
  await driver.answer("ok");
  await driver.settle(`${what}: message closed`);
  assert.equal((await driver.state()).message, false, `${what}: the message closed`);
}

test("three people play a whole game by the pointer and the keys", async () => {
  const page = await shared.browser.newPage();
  await page.setViewport({ width: 1000, height: 600 });
  const errors = watchErrors(page);
  const driver = new WebDriver(page, shared.server.url, "three people");
  await driver.startGame(3, false, NAMES);
  for (let turn = 0; turn < 39; ++turn) {
    await playTurn(driver, "three people", turn);
  }
  await endOfGame(driver, "three people", 3, NAMES);
  assert.deepEqual(errors, []);
  await page.close();
});

test("one person plays a whole game against the computer", async () => {
  const page = await shared.browser.newPage();
  await page.setViewport({ width: 1000, height: 600 });
  const errors = watchErrors(page);
  const driver = new WebDriver(page, shared.server.url, "against the computer");
  await driver.startGame(1, true, NAMES);
  for (let turn = 0; turn < 13; ++turn) {
    await playTurn(driver, "against the computer", turn);
    // The computer has played its turn: the person's turn again (or the game is over).
    await waitFor(`against the computer, turn ${turn}: the computer's turn`, page,
      () => window.quintaroTest.state().booked[2] === window.quintaroTest.state().booked[1]);
  }
  await endOfGame(driver, "against the computer", 2, ["Ann", "Computer"]);
  assert.deepEqual(errors, []);
  await page.close();
});
