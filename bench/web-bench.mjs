// The browser edition's figures, side by side in one run of headless Chromium:
//   node bench/web-bench.mjs [RUNS] [SITE]     (after sh tools/package-web.sh)
// - time to the first interactive new-game dialog, against a bare page with one button served
//   by the same server, loaded alternately, first and repeat visits, each measured in the page
//   and over DevTools (target: at most 1.3 times the bare page's time);
// - transfer size, gzip, of the code (wasm + js + html + css; target at most 100 kB) and of
//   every file;
// - the coach's table built in the worker once the first game's window is up (target: at most
//   1 s on this machine), and the longest the page's thread went without a frame meanwhile;
// - memory after 100 New Games;
// - a Lighthouse run (performance, accessibility, best practices; target 95 each).
// Figures are printed, never asserted.
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync, cpSync } from "node:fs";
import { extname, join, dirname } from "node:path";
import { tmpdir } from "node:os";
import { gzipSync } from "node:zlib";
import { fileURLToPath } from "node:url";
import { createRequire } from "node:module";

const here = dirname(fileURLToPath(import.meta.url));
const tests = join(here, "../web/tests");
const require = createRequire(join(tests, "package.json"));
const { launch, startServer } = await import(join(tests, "support.js"));
const { WebDriver } = await import(join(tests, "driver.js"));
const runs = Number(process.argv[2] ?? 15);
const site = process.argv[3] ?? join(here, "../dist/web");

// The site and the bare page beside it, served together.
const root = mkdtempSync(join(tmpdir(), "quintaro-bench-"));
cpSync(site, root, { recursive: true });
writeFileSync(join(root, "bare.html"), `<!doctype html><html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1"><title>Bare</title></head>
<body><button type="button" onclick="">Start</button></body></html>`);
const server = await startServer(root);
const browser = await launch();

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// First visit: a fresh profile. Repeat visit: the same page loaded again once its files are
// in the cache (and, for the game, its service worker holds them). Two times each: from the
// navigation's start to the page's answer over DevTools that it is ready (which includes
// DevTools' own round trips), and in the page, from the navigation's start to the first frame
// that shows it ready.
async function timeToInteractive(path, ready, repeat = false, offline = false) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(`(() => {
    const ready = ${ready};
    const frame = () => {
      if (ready()) {
        window.readyAt = performance.now();
      } else {
        requestAnimationFrame(frame);
      }
    };
    requestAnimationFrame(frame);
  })()`);
  if (repeat) {
    await page.goto(server.url + path, { waitUntil: "load" });
    await page.waitForFunction(ready, { timeout: 30000, polling: "raf" });
    if (offline) {
      await page.waitForFunction(() => navigator.serviceWorker.controller, { timeout: 30000 });
    }
    await new Promise((done) => setTimeout(done, 300));
  }
  const start = Date.now();
  await page.goto(server.url + path, { waitUntil: "domcontentloaded" });
  await page.waitForFunction(ready, { timeout: 30000, polling: "raf" });
  const wall = Date.now() - start;
  const inPage = await page.waitForFunction(() => window.readyAt, { timeout: 30000 }).then((h) => h.jsonValue());
  await context.close();
  return { wall, inPage };
}

const dialogReady = () => {
  const b = document.querySelector("dialog[open] button.picture");
  return b && !b.disabled && b.querySelector("img")?.complete;
};
for (const repeat of [false, true]) {
  const game = [];
  const bare = [];
  for (let i = 0; i < runs; ++i) {
    bare.push(await timeToInteractive("bare.html", () => document.querySelector("button"), repeat));
    game.push(await timeToInteractive("", dialogReady, repeat, true));
  }
  const figures = (key) => {
    const [g, b] = [median(game.map((t) => t[key])), median(bare.map((t) => t[key]))];
    return `new-game dialog ${g.toFixed(0)} ms, bare page ${b.toFixed(0)} ms, ratio ${(g / b).toFixed(2)}`;
  };
  console.log(`start-up, ${repeat ? "repeat" : "first"} visit (target <= 1.3, ${runs} runs each): ` +
    `over DevTools ${figures("wall")}; in the page ${figures("inPage")}`);
}

// Transfer sizes, gzip at level 9 as the server sends them.
const code = new Set([".wasm", ".js", ".mjs", ".html", ".css"]);
let codeBytes = 0;
let allBytes = 0;
for (const name of readdirSync(site)) {
  const size = gzipSync(readFileSync(join(site, name)), { level: 9 }).length;
  allBytes += size;
  if (code.has(extname(name)) && name !== "quintaro-coach.js" && name !== "quintaro-coach.wasm") {
    codeBytes += size;
  }
}
const coachBytes = ["quintaro-coach.js", "quintaro-coach.wasm"]
  .map((n) => gzipSync(readFileSync(join(site, n)), { level: 9 }).length).reduce((a, b) => a + b);
console.log(`transfer, gzip: page's code ${(codeBytes / 1024).toFixed(1)} kB (target <= 100), ` +
  `coach worker ${(coachBytes / 1024).toFixed(1)} kB, everything ${(allBytes / 1024).toFixed(1)} kB`);

// The coach's table in the worker, and the page's longest wait for a frame meanwhile.
const coachMs = [];
const gaps = [];
for (let i = 0; i < Math.min(runs, 5); ++i) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    let last = performance.now();
    window.longestFrameGap = 0;
    const tick = (now) => {
      window.longestFrameGap = Math.max(window.longestFrameGap, now - last);
      last = now;
      if (!window.quintaroPage?.coachReady) requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  });
  // The worker starts with the first game's window.
  await new WebDriver(page, server.url, "coach").startGame(2, false);
  await page.waitForFunction(() => window.quintaroPage?.coachReady, { timeout: 30000 });
  coachMs.push(await page.evaluate(() => window.quintaroPage.coachMs));
  gaps.push(await page.evaluate(() => window.longestFrameGap));
  await context.close();
}
console.log(`coach's table in the worker: median ${median(coachMs).toFixed(0)} ms ` +
  `(${coachMs.map((v) => v.toFixed(0)).join(", ")}; target <= 1000); longest frame gap on the page ` +
  `${median(gaps).toFixed(0)} ms`);

// Memory after 100 New Games (Game -> New Game, Yes; a roll in each), against the first game:
// the page's JavaScript heap after a collection, the core's WebAssembly memory, the DOM's
// nodes.
{
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  const driver = new WebDriver(page, server.url, "memory");
  await driver.startGame(2, false);
  const session = await page.createCDPSession();
  const measure = async () => {
    await session.send("HeapProfiler.collectGarbage");
    const { metrics } = await session.send("Performance.getMetrics");
    const metric = (name) => metrics.find((m) => m.name === name)?.value ?? 0;
    const wasm = await page.evaluate(() => window.quintaroPage.core.module.HEAPU8.length);
    return { heap: metric("JSHeapUsedSize"), nodes: metric("Nodes"), wasm };
  };
  await session.send("Performance.enable");
  const first = await measure();
  for (let i = 0; i < 100; ++i) {
    await page.evaluate(() => {
      const m = window.quintaroPage.core.module;
      m._quintaro_roll();
      m._quintaro_menu_item(1);
      document.querySelector("dialog.message-box[open] .buttons button").click();
    });
  }
  const after = await measure();
  const mb = (bytes) => (bytes / 1048576).toFixed(2);
  console.log(`memory after 100 New Games: JS heap ${mb(first.heap)} -> ${mb(after.heap)} MB, ` +
    `wasm memory ${mb(first.wasm)} -> ${mb(after.wasm)} MB, DOM nodes ${first.nodes} -> ${after.nodes}`);
  await context.close();
}

// Lighthouse against the same Chromium.
try {
  const { default: lighthouse } = await import(require.resolve("lighthouse"));
  const port = Number(new URL(browser.wsEndpoint()).port);
  const result = await lighthouse(server.url, {
    port, output: "json", logLevel: "error",
    onlyCategories: ["performance", "accessibility", "best-practices"],
  });
  const scores = Object.values(result.lhr.categories)
    .map((c) => `${c.id} ${Math.round(c.score * 100)}`).join(", ");
  console.log(`lighthouse: ${scores} (target >= 95 each)`);
} catch (error) {
  console.log(`lighthouse: not run (${error.message.split("\n")[0]})`);
}

await browser.close();
server.server.close();
rmSync(root, { recursive: true, force: true });
