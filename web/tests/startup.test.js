// The page's first paint: the new-game dialog drawn into the page is the one the game shows,
// in the language the game last used, and a choice made on it before the game has loaded is
// answered once it has; and the windows fit a phone held either way.
import { test } from "node:test";
import assert from "node:assert/strict";
import { waitFor, watchErrors, sharedBrowser } from "./support.js";

const shared = sharedBrowser();

// A page of the site whose game script (main.js) can be held back, as on a slow network.
async function pageWithHeldGame() {
  const page = await shared.browser.newPage();
  await page.setViewport({ width: 1000, height: 600 });
  await page.setBypassServiceWorker(true);
  await page.setRequestInterception(true);
  const held = [];
  const control = { page, errors: watchErrors(page), holding: false };
  control.hold = () => {
    control.holding = true;
  };
  page.on("request", (request) => {
    if (control.holding && new URL(request.url()).pathname.endsWith("/main.js")) {
      held.push(request);
    } else {
      request.continue();
    }
  });
  control.release = () => {
    control.holding = false;
    held.splice(0).forEach((request) => request.continue());
  };
  return control;
}

// What the open new-game dialog shows, and how.
const shownDialog = () => {
  const dialog = document.querySelector("dialog.new-game[open]");
  return dialog && {
    lang: document.documentElement.lang,
    caption: dialog.querySelector(".caption").textContent,
    labelledBy: document.getElementById(dialog.getAttribute("aria-labelledby"))?.textContent,
    client: dialog.querySelector(".client").getAttribute("style"),
    buttons: [...dialog.querySelectorAll("button.picture")].map((b) =>
      [b.getAttribute("aria-label"), b.getAttribute("style"), b.querySelector("img").getAttribute("src")]),
    scale: document.documentElement.style.getPropertyValue("--scale"),
    focused: document.activeElement === dialog.querySelector("button.picture"),
  };
};

test("the dialog on the first paint is the game's own, in the language last used", async () => {
  const { page, errors, hold, release } = await pageWithHeldGame();
  const url = shared.server.url;
  await page.goto(url, { waitUntil: "load" });
  await waitFor("first paint: the game started", page, () => window.quintaroPage?.ready);
  for (const [code, caption] of [["de", "Spielmodus wählen"], ["bg", "Изберете вид игра"],
    ["en", "Choose the game mode"]]) {
    // The language chosen and stored; the next start shows it.
    await page.evaluate((c) => window.quintaroPage.core.writeText("settings.ini", "lang", c), code);
    await waitFor(`first paint, ${code}: the setting stored`, page,
      () => window.quintaroPage.settings.pending === null);
    await page.reload({ waitUntil: "load" });
    await waitFor(`first paint, ${code}: the game started in it`, page, () => window.quintaroPage?.ready);
    // Started again with the game held back: the page's own dialog, then the game's.
    hold();
    await page.reload({ waitUntil: "domcontentloaded" });
    const before = await waitFor(`first paint, ${code}: the page's dialog`, page, shownDialog);
    assert.equal(await page.evaluate(() => window.quintaroPage), undefined, `${code}: the game not yet loaded`);
    release();
    await waitFor(`first paint, ${code}: the game took the dialog over`, page,
      () => window.quintaroPage?.ready);
    const after = await page.evaluate(shownDialog);
    assert.deepEqual(before, after, `${code}: the dialog as the game draws it`);
    assert.equal(after.caption, caption);
    assert.equal(after.labelledBy, caption);
    assert.equal(after.lang, code);
    assert.ok(after.focused, `${code}: the focus on the first picture`);
  }
  assert.deepEqual(errors, []);
  await page.close();
});

test("a picture chosen before the game has loaded is answered once it has", async () => {
  const { page, errors, hold, release } = await pageWithHeldGame();
  hold();
  await page.goto(shared.server.url, { waitUntil: "domcontentloaded" });
  await waitFor("early choice: the page's dialog", page, shownDialog);
  await page.click("dialog.new-game[open] button.picture");
  release();
  await waitFor("early choice: the game asks the number of players", page,
    () => document.activeElement?.matches("dialog.input-box[open] input"));
  assert.equal(await page.evaluate(() => document.querySelectorAll("dialog.input-box").length), 1,
    "early choice: answered once");
  assert.deepEqual(errors, []);
  await page.close();
});

// Whether the open window (the top dialog, else the main window) and every control in it lie
// inside the viewport; the controls that stick out, by class.
const outside = () => {
  const windowNode = [...document.querySelectorAll("dialog[open]")].pop() ?? document.querySelector(".window.main");
  const inside = (r) => r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight;
  const frame = windowNode.getBoundingClientRect();
  const within = (r) => r.left >= frame.left && r.top >= frame.top && r.right <= frame.right && r.bottom <= frame.bottom;
  return [windowNode, ...windowNode.querySelectorAll("button, input, [role=grid]")]
    .filter((node) => !inside(node.getBoundingClientRect()) || !within(node.getBoundingClientRect()))
    .map((node) => node.className || node.tagName);
};

test("the windows fit a phone held upright or sideways", async () => {
  const { page, errors } = await pageWithHeldGame();
  for (const [width, height] of [[390, 844], [740, 360]]) {
    await page.setViewport({ width, height });
    await page.goto(shared.server.url, { waitUntil: "load" });
    await waitFor(`${width}x${height}: the game started`, page, () => window.quintaroPage?.ready);
    assert.deepEqual(await page.evaluate(outside), [], `${width}x${height}: the new-game dialog`);
    await page.click("dialog.new-game[open] button.picture");
    for (let answer = 0; answer < 3; ++answer) {
      await waitFor(`${width}x${height}: question ${answer + 1}`, page,
        () => document.activeElement?.matches("dialog.input-box[open] input"));
      await page.keyboard.press("Enter");
    }
    await waitFor(`${width}x${height}: the main window`, page, () => !document.querySelector("dialog[open]"));
    assert.deepEqual(await page.evaluate(outside), [], `${width}x${height}: the main window`);
  }
  assert.deepEqual(errors, []);
  await page.close();
});
