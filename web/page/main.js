// Starts the browser edition: loads the game's core, hands it the files it reads, restores
// settings.ini, starts the coach's worker and the game, and registers the service worker
// that keeps every file for playing offline.
import createQuintaro from "./quintaro.mjs";
import { wrapCore } from "./core.js";
import { SettingsStore } from "./storage.js";
import { RollSound } from "./sound.js";
import { startGame } from "./game.js";

const LANGUAGE_FILES = ["en.lang", "de.lang", "bg.lang"];

async function fetchBytes(name) {
  try {
    const response = await fetch(name);
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch {
    return null; // a missing file gives the defaults, as on the desktop
  }
}

// The coach's table, built by the worker; handed to the core as soon as it is there.
function startCoach(core, page) {
  let worker;
  try {
    worker = new Worker("coach-worker.js");
  } catch {
    return;
  }
  worker.onmessage = (event) => {
    worker.terminate();
    const { values, ms } = event.data;
    page.coachMs = ms;
    page.coachReady = Boolean(values) && core.adoptCoachTable(values);
    page.onCoachReady?.();
  };
  worker.onerror = () => worker.terminate();
}

async function start() {
  const page = (window.quintaroPage = { ready: false, coachReady: false });
  const [module, stored, ...files] = await Promise.all([
    createQuintaro({ noInitialRun: false }),
    SettingsStore.read(),
    ...LANGUAGE_FILES.map(fetchBytes),
  ]);
  const core = wrapCore(module);
  LANGUAGE_FILES.forEach((name, i) => core.putFile(name, files[i]));
  const settings = new SettingsStore(core);
  settings.restore(stored);
  module.onSettingsSaved = () => settings.saved();
  module._quintaro_watch_saves();
  // The back button and closing the tab wait for nothing: what is still queued is stored
  // at once.
  window.addEventListener("pagehide", () => settings.storeNow());
  const sound = new RollSound(core);
  page.core = core;
  page.settings = settings;
  // The new-game dialog first, with the whole machine to itself; the coach's worker starts
  // with the first game's window, as the desktop's coach does.
  page.onMainWindow = () => {
    page.onMainWindow = null;
    startCoach(core, page);
  };
  await startGame({ core, settings, sound, fetchBytes, page });
  page.ready = true;
  // Caching the whole site waits until the game is up and the page idle.
  if ("serviceWorker" in navigator) {
    const register = () => navigator.serviceWorker.register("sw.js").catch(() => {});
    if (window.requestIdleCallback) {
      requestIdleCallback(register, { timeout: 2000 });
    } else {
      setTimeout(register, 500);
    }
  }
}

start();
