// Starts the browser edition: loads the game's core, hands it the files it reads, restores
// settings.ini, starts the coach's worker and the game, and registers the service worker
// that keeps every file for playing offline.
import createQuintaro from "./quintaro.mjs";
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

// The calls the page makes into the core, with the copying of bytes in and out.
function wrapCore(module) {
  const heap = () => module.HEAPU8;
  const withString = (text, use) => {
    const bytes = new TextEncoder().encode(text + "\0");
    const at = module._malloc(bytes.length);
    heap().set(bytes, at);
    try {
      return use(at);
    } finally {
      module._free(at);
    }
  };
  const withBytes = (bytes, use) => {
    if (!bytes) {
      return use(0, -1);
    }
    const at = module._malloc(Math.max(1, bytes.length));
    heap().set(bytes, at);
    try {
      return use(at, bytes.length);
    } finally {
      module._free(at);
    }
  };
  return {
    module,
    withString,
    putFile: (name, bytes) =>
      withString(name, (n) => withBytes(bytes, (at, size) => module._quintaro_put_file(n, at, size))),
    mergeSettings: (name, state, bytes) =>
      withString(name, (n) => withBytes(bytes, (at, size) => {
        const count = module._quintaro_settings_merge(n, state, at, Math.max(0, size));
        if (!count) {
          return null;
        }
        const data = module._quintaro_merged_data();
        return { count, bytes: heap().slice(data, data + module._quintaro_merged_size()) };
      })),
    writeText: (name, key, value) =>
      withString(name, (n) => withString(key, (k) => withString(value, (v) => module._quintaro_write_text(n, k, v)))),
    readText: (name, key, fallback) =>
      withString(name, (n) => withString(key, (k) => withString(fallback, (d) =>
        module.UTF8ToString(module._quintaro_read_text(n, k, d))))),
    settingsStored: (name, count) => withString(name, (n) => module._quintaro_settings_stored(n, count)),
    adoptCoachTable: (values) => {
      const at = module._malloc(values.byteLength);
      module.HEAPF64.set(values, at / 8);
      try {
        return module._quintaro_adopt_coach_table(at, values.length) === 1;
      } finally {
        module._free(at);
      }
    },
    coachReady: () => module._quintaro_coach_ready() === 1,
    decodeSound: (bytes) => withBytes(bytes, (at, size) => {
      const frames = module._quintaro_sound_decode(at, size);
      if (!frames) {
        return null;
      }
      const channels = module._quintaro_sound_channels();
      const first = module._quintaro_sound_samples() / 4;
      return {
        frames,
        channels,
        rate: module._quintaro_sound_rate(),
        samples: module.HEAPF32.slice(first, first + frames * channels),
      };
    }),
    menu: () => JSON.parse(module.UTF8ToString(module._quintaro_menu())),
    layout: (players) => JSON.parse(module.UTF8ToString(module._quintaro_layout(players))),
  };
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
  const [module, ...files] = await Promise.all([
    createQuintaro({ noInitialRun: false }),
    ...LANGUAGE_FILES.map(fetchBytes),
  ]);
  const core = wrapCore(module);
  LANGUAGE_FILES.forEach((name, i) => core.putFile(name, files[i]));
  const settings = new SettingsStore(core);
  await settings.restore();
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
}

if ("serviceWorker" in navigator) {
  window.addEventListener("load", () => {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  });
}

start();
