// The accessibility tree: the dialogs are named, and axe-core finds no violation.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { readFileSync } from "node:fs";
import { launch, startServer, openGame, waitFor } from "./support.js";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
let server;
let browser;

before(async () => {
  server = await startServer();
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.server.close();
});

async function axe(page, what) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ["violations"] }));
  const found = result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
  assert.deepEqual(found, [], `${what}: axe-core violations`);
}

test("the new-game dialog is a named modal dialog with the focus inside, and passes axe", async () => {
  const { page } = await openGame(browser, server.url, "new-game dialog");
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
