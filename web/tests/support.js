// What every web test shares: the built site served on 127.0.0.1 at a free port, headless
// Debian Chromium through puppeteer-core, and waits that each have their own deadline and
// fail naming the case and the step they waited for.
import { before, after } from "node:test";
import { fileURLToPath } from "node:url";
import { dirname, join } from "node:path";
import { existsSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import puppeteer from "puppeteer-core";
import { serve } from "../serve.mjs";

const here = dirname(fileURLToPath(import.meta.url));
export const SITE = process.env.QUINTARO_SITE ?? join(here, "../../dist/web");
export const CHROMIUM = process.env.CHROMIUM ?? "/usr/bin/chromium";

export async function startServer(root = SITE, port = 0) {
  if (!existsSync(join(root, "index.html"))) {
    throw new Error(`no built site in ${root}: run sh tools/package-web.sh first`);
  }
  return serve(root, port);
}

// A browser with a profile of its own, removed when it closes.
export async function launch() {
  const profile = mkdtempSync(join(tmpdir(), "quintaro-chromium-"));
  const args = ["--no-first-run", "--no-default-browser-check", "--disable-gpu",
    "--autoplay-policy=no-user-gesture-required", "--lang=en-US", "--font-render-hinting=none"];
  if (process.getuid?.() === 0) {
    args.push("--no-sandbox");
  }
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM, headless: true, userDataDir: profile, args,
    protocolTimeout: 60000,
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    try {
      rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
    } catch {
      // a file the browser still writes as it ends: the system's temporary folder keeps it
    }
  };
  return browser;
}

// Waits for fn(page) to give a truthy value, at most ms; the error names what it waited for.
export async function waitFor(what, page, fn, arg, ms = 15000) {
  try {
    const handle = await page.waitForFunction(fn, { timeout: ms, polling: 50 }, arg);
    return handle.jsonValue();
  } catch (error) {
    throw new Error(`${what}: not within ${ms} ms (${error.message.split("\n")[0]})`);
  }
}

// Every console error and failed request of a page, for the checks that there are none.
export function watchErrors(page) {
  const errors = [];
  page.on("console", (message) => {
    if (message.type() === "error") {
      errors.push(message.text());
    }
  });
  page.on("pageerror", (error) => errors.push(String(error)));
  return errors;
}

export async function openGame(browser, url, what = "the game") {
  const page = await browser.newPage();
  await page.setViewport({ width: 1000, height: 600 });
  const errors = watchErrors(page);
  await page.goto(url, { waitUntil: "load", timeout: 30000 });
  await waitFor(`${what}: the page started`, page, () => window.quintaroPage?.ready === true);
  return { page, errors };
}

// A server on 127.0.0.1 and a browser for the tests of one file, started before them and
// ended after them; their fields are set once the tests run.
export function sharedBrowser() {
  const shared = { server: undefined, browser: undefined };
  before(async () => {
    shared.server = await startServer();
    shared.browser = await launch();
  });
  after(async () => {
    await shared.browser?.close();
    shared.server?.server.close();
  });
  return shared;
}

// settings.ini as the page stores it (IndexedDB "quintaro", store "files"), inside a page of
// the site: read (undefined when there is none), written, or removed (value undefined).
function settingsRecord(page, write, value) {
  return page.evaluate((write, text) => new Promise((done, fail) => {
    const open = indexedDB.open("quintaro", 1);
    open.onupgradeneeded = () => open.result.createObjectStore("files");
    open.onerror = () => fail(open.error);
    open.onsuccess = () => {
      const transaction = open.result.transaction("files", write ? "readwrite" : "readonly");
      const files = transaction.objectStore("files");
      const request = !write ? files.get("settings.ini")
        : text === undefined ? files.delete("settings.ini") : files.put(text, "settings.ini");
      transaction.oncomplete = () => {
        open.result.close();
        done(write ? undefined : request.result);
      };
      transaction.onerror = () => fail(transaction.error);
    };
  }), write, value);
}

export const storedSettings = (page) => settingsRecord(page, false);
export const storeSettings = (page, value) => settingsRecord(page, true, value);
