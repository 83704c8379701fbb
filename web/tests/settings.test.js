// settings.ini kept by the browser: the desktop's bytes, kept over a reload, two tabs keeping
// each other's keys, a foreign stored value and a full storage.
import { test } from "node:test";
import assert from "node:assert/strict";
import { openGame, waitFor, watchErrors, sharedBrowser, storedSettings, storeSettings } from "./support.js";
import { WebDriver } from "./driver.js";

const BOM = "\u00EF\u00BB\u00BF\r\n";
const shared = sharedBrowser();

const stored = storedSettings;
const write = (page, key, value) =>
  page.evaluate((k, v) => window.quintaroPage.core.writeText("settings.ini", k, v), key, value);
const read = (page, key) =>
  page.evaluate((k) => window.quintaroPage.core.readText("settings.ini", k, "(default)"), key);
const settled = (what, page) =>
  waitFor(what, page, () => window.quintaroPage.settings.pending === null);

test("options and a language switch store the desktop's bytes, kept over a reload", async () => {
  const page = await shared.browser.newPage();
  await page.setViewport({ width: 1000, height: 600 });
  const errors = watchErrors(page);
  const driver = new WebDriver(page, shared.server.url, "options");
  await driver.startGame(2, false);
  await storeSettings(page, undefined);
  // Tools -> Options: the seconds typed over, the field left, the box ticked, Apply.
  await driver.chooseMenuItem(5);
  await waitFor("options: the dialog", page, () => document.activeElement?.matches("dialog.options[open] input.number"));
  await page.keyboard.down("Control");
  await page.keyboard.press("KeyA");
  await page.keyboard.up("Control");
  await page.keyboard.type("3");
  await page.keyboard.press("Tab");
  await page.click("dialog.options[open] input[type=checkbox]");
  await page.click("dialog.options[open] .client > button:nth-last-of-type(2)");
  await waitFor("options: the dialog closed", page, () => !document.querySelector("dialog[open]"));
  // Tools -> Language -> German.
  await driver.chooseMenuItem(11);
  await settled("options: saves stored", page);
  assert.equal(await stored(page), `${BOM}delay = 3000\r\nstrongerCPU = 1\r\nlang = de\r\n`);
  assert.equal(await page.evaluate(() => document.documentElement.lang), "de");
  await page.reload();
  await waitFor("options: the new-game dialog after the reload", page,
    () => window.quintaroPage?.ready && document.querySelector("dialog.new-game[open]"));
  assert.equal(await page.evaluate(() => document.documentElement.lang), "de");
  assert.equal(await read(page, "delay"), "3000");
  assert.deepEqual(errors, []);
  await page.close();
});

test("two tabs saving at once keep each other's keys", async () => {
  const { page: first } = await openGame(shared.browser, shared.server.url, "first tab");
  await storeSettings(first, undefined);
  const { page: second } = await openGame(shared.browser, shared.server.url, "second tab");
  // Each tab saves a key of its own, many times, interleaved.
  await Promise.all([
    first.evaluate(() => {
      for (let i = 0; i < 20; ++i) window.quintaroPage.core.writeText("settings.ini", "lang", i % 2 ? "bg" : "de");
    }),
    second.evaluate(() => {
      for (let i = 0; i <= 20; ++i) window.quintaroPage.core.writeText("settings.ini", "delay", String(i * 100));
    }),
  ]);
  await settled("first tab: saves stored", first);
  await settled("second tab: saves stored", second);
  const text = await stored(first);
  assert.match(text, /\r\nlang = bg\r\n/);
  assert.match(text, /\r\ndelay = 2000\r\n/);
  await first.close();
  await second.close();
});

test("a foreign stored value gives the defaults; a full storage keeps what it had", async () => {
  const { page, errors } = await openGame(shared.browser, shared.server.url, "foreign value");
  await storeSettings(page, "\u4E2D\u6587 = 1");
  await page.reload();
  await waitFor("foreign value: page ready", page, () => window.quintaroPage?.ready);
  assert.equal(await read(page, "lang"), "(default)");
  await write(page, "lang", "bg");
  await settled("foreign value: save stored", page);
  assert.equal(await stored(page), `${BOM}lang = bg\r\n`);

  // The storage refuses every write: the game goes on, the stored file stays whole, and the
  // change is stored with the next save once there is room again.
  await page.evaluate(() => {
    const put = IDBObjectStore.prototype.put;
    window.restoreStorage = () => (IDBObjectStore.prototype.put = put);
    IDBObjectStore.prototype.put = () => {
      throw new DOMException("full", "QuotaExceededError");
    };
  });
  await write(page, "delay", "4000");
  await settled("full storage: save tried", page);
  assert.equal(await stored(page), `${BOM}lang = bg\r\n`);
  assert.equal(await read(page, "delay"), "4000");
  await page.evaluate(() => window.restoreStorage());
  await write(page, "strongerCPU", "1");
  await settled("full storage: later save stored", page);
  assert.equal(await stored(page), `${BOM}lang = bg\r\ndelay = 4000\r\nstrongerCPU = 1\r\n`);
  assert.deepEqual(errors, []);
  await page.close();
});
