// The browser edition's driver for the shared behaviour cases (tests/behaviour/cases.txt):
// every step is real input through DevTools (keys at the focused element, clicks at the
// controls' places), every read is what the page shows.
import { readFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { dirname, join } from "node:path";
import assert from "node:assert/strict";
import { waitFor, storeSettings } from "./support.js";

const here = dirname(fileURLToPath(import.meta.url));

// The cases in order: { name, lines: [{ number, text }] }.
export function behaviourCases(file = join(here, "../../tests/behaviour/cases.txt")) {
  const cases = [];
  readFileSync(file, "utf8").split("\n").forEach((raw, i) => {
    const line = raw.replace(/\r$/, "");
    if (line === "" || line.startsWith("#")) {
      return;
    }
    if (line.startsWith("case ")) {
      cases.push({ name: line.slice(5), lines: [] });
    } else if (cases.length) {
      cases.at(-1).lines.push({ number: i + 1, text: line });
    }
  });
  return cases;
}

const KEYS = { Space: "Space", Up: "ArrowUp", Down: "ArrowDown", Enter: "Enter" };
const keyName = (key) => KEYS[key] ?? (/^\d$/.test(key) ? `Digit${key}` : `Key${key.toUpperCase()}`);

export class WebDriver {
  constructor(page, url, what) {
    this.page = page;
    this.url = url;
    this.what = what;
  }

  state() {
    return this.page.evaluate(() => window.quintaroTest.state());
  }

  // A new game through the new-game dialog, as a player starts one: the mode's picture, then
  // the number of players and the names typed into the input box. No pause after the
  // computer's turn (delay = 0 in the stored settings). With a seed the page's dice come from
  // the sequence it repeats (quintaro_test_seed) from before the game starts.
  async startGame(players, computer, names = ["Ann", "Bob", "Cid", "Dee"], seed = undefined) {
    const page = this.page;
    await page.goto(this.url, { waitUntil: "load" });
    await storeSettings(page, "delay = 0\r\n");
    await page.reload({ waitUntil: "load" });
    await waitFor(`${this.what}: the new-game dialog`, page,
      () => window.quintaroPage?.ready && document.querySelector("dialog.new-game[open]"));
    if (seed !== undefined) {
      await page.evaluate((n) => window.quintaroPage.core.module._quintaro_test_seed(n), seed);
    }
    const pictures = await page.$$("dialog.new-game[open] button.picture");
    await pictures[computer ? 1 : 0].click();
    const answers = computer ? [names[0]] : [String(players), ...names.slice(0, players)];
    for (const [i, answer] of answers.entries()) {
      // Enter closes the box and the next question opens at once: each box is a new one.
      await waitFor(`${this.what}: input box ${i + 1}`, page,
        () => document.activeElement?.matches("dialog.input-box[open] input"));
      // The box starts with its default text and the caret after it: select it, then type.
      await page.keyboard.down("Control");
      await page.keyboard.press("KeyA");
      await page.keyboard.up("Control");
      await page.keyboard.type(answer);
      await page.keyboard.press("Enter");
    }
    await waitFor(`${this.what}: the main window`, page,
      () => window.quintaroTest.state().window && !document.querySelector("dialog[open]"));
  }

  async pressKey(key, ctrl) {
    const keyboard = this.page.keyboard;
    if (key.startsWith("Keypad")) {
      // puppeteer's keypad is the one with Num Lock off (arrows); a player's has it on.
      const digit = key.slice(6);
      const cdp = await this.page.createCDPSession();
      const event = { key: digit, code: `Numpad${digit}`, location: 3, windowsVirtualKeyCode: 96 + Number(digit) };
      await cdp.send("Input.dispatchKeyEvent", { type: "keyDown", text: digit, ...event });
      await cdp.send("Input.dispatchKeyEvent", { type: "keyUp", ...event });
      await cdp.detach();
      return;
    }
    if (ctrl) {
      await keyboard.down("Control");
    }
    await keyboard.press(keyName(key));
    if (ctrl) {
      await keyboard.up("Control");
    }
  }

  clickRoll() {
    return this.page.click(".window.main button.roll");
  }

  async clickDie(die) {
    const dice = await this.page.$$(".window.main button.die");
    await dice[die - 1].click();
  }

  // A cell of the score card; the first player's column unless told.
  clickCell(row, column = 1) {
    return this.page.click(`.card [role=row][aria-rowindex="${row + 2}"] > :nth-child(${column + 1})`);
  }

  // The menu by the pointer: its title, the submenu where the item is in one, the item.
  async chooseMenuItem(item) {
    const page = this.page;
    const path = await page.evaluate((n) => {
      const node = document.querySelector(`[data-item="${n}"]`);
      const steps = [];
      for (let at = node; at && !at.matches("[role=menubar]"); at = at.parentElement) {
        if (at.getAttribute("role") === "menuitem") {
          steps.unshift([...document.querySelectorAll("[role=menuitem]")].indexOf(at));
        }
      }
      return steps;
    }, item);
    for (const index of path) {
      const nodes = await page.$$("[role=menuitem]");
      await nodes[index].click();
    }
  }

  async answer(answer) {
    const page = this.page;
    await waitFor(`${this.what}: a box to answer ${answer}`, page, () => document.querySelector("dialog.message-box[open]"));
    const buttons = await page.$$("dialog.message-box[open] .buttons button");
    await buttons[answer === "no" ? 1 : 0].click();
  }

  // Everything the page has queued is handled: the computer's pause is over and a frame has
  // been drawn.
  async settle(step) {
    await waitFor(`${step}: settled`, this.page, () => !window.quintaroTest.state().pausing, undefined, 10000);
    await this.page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
  }

  // The cell as drawn, 0xRRGGBB (white where it has no colour of its own).
  cellColour(row, column) {
    return this.page.evaluate((r, c) => {
      const cell = document.querySelector(`.card [role=row][aria-rowindex="${r + 2}"] > :nth-child(${c + 1})`);
      const match = getComputedStyle(cell).backgroundColor.match(/\d+/g).map(Number);
      const [red, green, blue, alpha = 1] = match;
      return alpha === 0 ? 0xffffff : (red << 16) | (green << 8) | blue;
    }, row, column);
  }
}

// Runs one case; a failure names the case and the line.
export async function runCase(driver, behaviour) {
  const lines = behaviour.lines;
  const run = async (from, to) => {
    for (let i = from; i < to; ++i) {
      const { number, text } = lines[i];
      const where = `${behaviour.name}, line ${number}: ${text}`;
      const [verb, ...words] = text.split(" ");
      if (verb === "repeat") {
        let end = i + 1;
        for (let depth = 1; end < to; ++end) {
          depth += lines[end].text.startsWith("repeat ") ? 1 : lines[end].text === "end" ? -1 : 0;
          if (depth === 0) {
            break;
          }
        }
        for (let n = 0; n < Number(words[0]); ++n) {
          await run(i + 1, end);
        }
        i = end;
        continue;
      }
      if (verb === "game") {
        await driver.startGame(Number(words[0]), words[1] === "computer");
      } else if (verb === "key") {
        const ctrl = words[0].startsWith("Ctrl+");
        await driver.pressKey(ctrl ? words[0].slice(5) : words[0], ctrl);
      } else if (verb === "click") {
        if (words[0] === "roll") {
          await driver.clickRoll();
        } else if (words[0] === "die") {
          await driver.clickDie(Number(words[1]));
        } else {
          await driver.clickCell(Number(words[1]));
        }
      } else if (verb === "menu") {
        await driver.chooseMenuItem(Number(words[0]));
      } else if (verb === "answer") {
        await driver.answer(words[0]);
      } else if (verb === "expect") {
        await driver.settle(where);
        const s = await driver.state();
        const [what, a, b, c] = words;
        const yes = (word) => word === "yes";
        if (what === "booked") {
          assert.equal(s.booked[Number(a)], Number(b), where);
        } else if (what === "selection") {
          assert.equal(s.selection, Number(a), where);
        } else if (what === "colour") {
          assert.equal((await driver.cellColour(Number(a), Number(b))).toString(16).padStart(6, "0"), c, where);
        } else if (what === "text") {
          assert.equal(s.texts[Number(a)] ?? "", text.split(" ").slice(3).join(" "), where);
        } else if (what === "held") {
          assert.equal(s.held[Number(a) - 1], yes(b), where);
        } else if (what === "enabled") {
          assert.equal(s.enabled[Number(a)], yes(b), where);
        } else if (what === "focus") {
          assert.equal(s.focus, Number(a), where);
        } else if (what === "message") {
          assert.equal(s.message, yes(a), where);
        } else {
          assert.fail(`${where}: unknown check`);
        }
        continue;
      } else if (verb !== "end") {
        assert.fail(`${where}: unknown step`);
      }
      await driver.settle(where);
    }
  };
  await run(0, lines.length);
}
