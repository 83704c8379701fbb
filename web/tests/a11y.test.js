// The accessibility tree: the dialogs are named, and axe-core finds no violation.
import { test } from "node:test";
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { readFileSync } from "node:fs";
import { openGame, waitFor, sharedBrowser } from "./support.js";
import { WebDriver } from "./driver.js";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const shared = sharedBrowser();

async function axe(page, what) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ["violations"] }));
  const found = result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  assert.deepEqual(found, [], `${what}: axe-core violations`);
}

test("the new-game dialog is a named modal dialog with the focus inside, and passes axe", async () => {
  const { page } = await openGame(shared.browser, shared.server.url, "new-game dialog");
  await waitFor("new-game dialog: open", page, () => document.querySelector("dialog[open]"));
  const tree = await page.accessibility.snapshot({ interestingOnly: true });
  const dialog = (function find(node) {
    if (node.role === "dialog") return node;
    for (const child of node.children ?? []) {
      const hit = find(child);
      if (hit) return hit;
    }
    return null;
  })(tree);
  assert.ok(dialog, "a dialog in the accessibility tree");
  assert.equal(dialog.modal, true);
  assert.ok(await page.evaluate(() => document.querySelector("dialog[open]").contains(document.activeElement)));
  await axe(page, "new-game dialog");
  await page.close();
});

// The accessibility tree's node with this role whose name matches, searched depth first.
function findNode(node, role, name) {
  if (node.role === role && (name === undefined || name.test(node.name ?? ""))) {
    return node;
  }
  for (const child of node.children ?? []) {
    const hit = findNode(child, role, name);
    if (hit) return hit;
  }
  return null;
}

test("the main window's controls are named in the game's words, and each dialog passes axe", async () => {
  const page = await shared.browser.newPage();
  await page.setViewport({ width: 1000, height: 600 });
  const driver = new WebDriver(page, shared.server.url, "main window");
  await driver.startGame(2, false);
  await axe(page, "input boxes done: main window");
  await driver.clickRoll();
  await driver.clickDie(2);
  await driver.settle("main window: one roll, die 2 held");
  const tree = await page.accessibility.snapshot({ interestingOnly: true });
  const state = await driver.state();
  const face = { A: "Ace", K: "King", Q: "Queen", J: "Jack", 10: "Ten", 9: "Nine" }[state.texts[2]];
  const checks = [
    ["button", /^Die 2: (\w+), held$/, (m) => m[1] === face],
    ["button", /^Die 1: \w+$/],
    ["button", /^Roll, rolls left: 1$/],
    ["gridcell", /^Nines, Ann: free$/],
    ["gridcell", /^Total, Bob: /],
    ["menubar", undefined],
  ];
  for (const [role, name, extra] of checks) {
    const node = findNode(tree, role, name);
    assert.ok(node, `main window: a ${role} named ${name}`);
    if (extra) {
      assert.ok(extra(node.name.match(name)), `main window: ${node.name}`);
    }
  }
  await axe(page, "main window");

  // Each dialog: About (a message), New Game's question, Options.
  for (const [item, what, close] of [[4, "About", "ok"], [1, "New Game's question", "no"], [5, "Options", null]]) {
    await driver.chooseMenuItem(item);
    await waitFor(`${what}: open`, page, () => document.querySelector("dialog[open]"));
    await axe(page, what);
    if (close) {
      await driver.answer(close);
    } else {
      await page.keyboard.press("Escape");
    }
    await waitFor(`${what}: closed`, page, () => !document.querySelector("dialog[open]"));
  }
  await page.close();
});

test("the text-input box passes axe", async () => {
  const { page } = await openGame(shared.browser, shared.server.url, "input box");
  await page.click("dialog.new-game[open] button.picture");
  await waitFor("input box: open", page, () => document.querySelector("dialog.input-box[open]"));
  await axe(page, "input box");
  await page.close();
});
