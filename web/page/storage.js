// settings.ini in the browser: the bytes the game's own writer makes, kept in the site's
// storage under one key, one character per byte.
//
// The game saves into its copy in memory and its change is queued there. This store then
// takes the browser's lock (shared by every tab of the game, as the desktop's save takes a
// lock on the file), reads the stored bytes as they are now, lets the game apply every queued
// change to them and stores the result: two tabs saving at once keep each other's keys. A
// full or denied storage keeps what it had; the changes stay queued for the next save.

export const STORAGE_KEY = "quintaro/settings.ini";
export const FILE = "settings.ini";
const LOCK = "quintaro-settings";

function storage() {
  try {
    return window.localStorage;
  } catch {
    return null; // denied: the game runs on its defaults
  }
}

// The stored file: { state: 0 missing | 1 read, bytes }. A value that is no string of bytes is
// not one of ours: the game starts on its defaults, as with a file it cannot read, and its
// next save replaces the value.
export function readStored() {
  let text = null;
  try {
    text = storage()?.getItem(STORAGE_KEY) ?? null;
  } catch {
    text = null;
  }
  if (text === null) {
    return { state: 0, bytes: new Uint8Array(0) };
  }
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) {
    const code = text.charCodeAt(i);
    if (code > 255) {
      return { state: 0, bytes: new Uint8Array(0) };
    }
    bytes[i] = code;
  }
  return { state: 1, bytes };
}

function bytesToText(bytes) {
  let text = "";
  for (let i = 0; i < bytes.length; i += 8192) {
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  }
  return text;
}

export class SettingsStore {
  constructor(core) {
    this.core = core;
    this.pending = null;
    this.stored = 0; // saves that reached the storage, for the tests
    this.failed = 0;
  }

  // Hands the stored settings.ini to the game before it starts.
  restore() {
    const { state, bytes } = readStored();
    this.core.putFile(FILE, state === 1 ? bytes : null);
  }

  // A save was made in memory: store it under the lock, once per burst of saves.
  saved() {
    if (this.pending) {
      this.again = true;
      return this.pending;
    }
    const run = () => this.storeNow();
    const locks = navigator.locks;
    this.pending = (locks ? locks.request(LOCK, run) : Promise.resolve().then(run))
      .catch(() => {})
      .then(() => {
        this.pending = null;
        if (this.again) {
          this.again = false;
          return this.saved();
        }
        return undefined;
      });
    return this.pending;
  }

  // Reads, merges and stores at once; under the lock, or as the page goes away.
  storeNow() {
    const { state, bytes } = readStored();
    const merged = this.core.mergeSettings(FILE, state, bytes);
    if (!merged) {
      return;
    }
    try {
      storage().setItem(STORAGE_KEY, bytesToText(merged.bytes));
    } catch {
      this.failed += 1; // full or denied: the stored file stays as it was
      return;
    }
    this.core.settingsStored(FILE, merged.count);
    this.stored += 1;
  }
}
