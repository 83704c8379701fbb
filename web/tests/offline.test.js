// Installable and offline: after one visit the game starts with the network gone, a new
// build replaces the cached one on the next visit, and nothing but the game's own files is
// ever asked for.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { tmpdir } from "node:os";
import { SITE, launch, startServer, openGame, waitFor } from "./support.js";

let copy;
let server;
let browser;

before(async () => {
  // A copy of the site of this test's own, so that a new build can be made of it.
  copy = mkdtempSync(join(tmpdir(), "quintaro-site-"));
  cpSync(SITE, copy, { recursive: true });
  server = await startServer(copy);
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.server.close();
  rmSync(copy, { recursive: true, force: true });
});

const controlled = (what, page) =>
  waitFor(what, page, () => navigator.serviceWorker.controller !== null &&
    caches.keys().then((keys) => keys.length === 1));

test("after one visit the game starts offline, and a new build replaces the cached one", async () => {
  const { page, errors } = await openGame(browser, server.url, "first visit");
  const requested = [];
  page.on("request", (request) => requested.push(request.url()));
  await page.reload();
  await waitFor("first visit: ready again", page, () => window.quintaroPage?.ready);
  await controlled("first visit: the service worker controls the page", page);
  const manifest = await page.evaluate(() => fetch("manifest.webmanifest").then((r) => r.json()));
  assert.equal(manifest.name, "Quintaro");
  assert.ok(manifest.icons.some((icon) => icon.sizes === "any" || icon.sizes === "128x128"));

  // The network gone: the server stops.
  const port = new URL(server.url).port;
  await new Promise((done) => {
    server.server.close(done);
    server.server.closeAllConnections();
  });
  await page.reload();
  await waitFor("offline: the game starts from the cache", page,
    () => window.quintaroPage?.ready && document.querySelector("dialog[open] button.picture img")?.complete);
  // The coach's worker starts with the first game's window: two players, the names offered.
  await page.click("dialog.new-game[open] button.picture");
  for (const question of ["the number", "the first name", "the second name"]) {
    await waitFor(`offline: the input box asks ${question}`, page,
      () => document.activeElement?.matches("dialog.input-box[open] input"));
    await page.keyboard.press("Enter");
  }
  await waitFor("offline: the coach's worker runs from the cache", page, () => window.quintaroPage.coachReady);
  server = await startServer(copy, Number(port));

  // A new build: another cache name in the service worker.
  const worker = join(copy, "sw.js");
  const old = readFileSync(worker, "utf8");
  const name = /const CACHE = "([^"]+)"/.exec(old)[1];
  writeFileSync(worker, old.replace(name, "quintaro-next-build"));
  await page.reload();
  await waitFor("new build: cached under its own name, the old cache gone", page,
    () => caches.keys().then((keys) => keys.join() === "quintaro-next-build"));
  for (const url of requested) {
    assert.ok(url.startsWith(server.url), `a request left the game's own files: ${url}`);
  }
  assert.deepEqual(errors, []);
  await page.close();
});
