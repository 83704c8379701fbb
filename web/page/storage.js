// settings.ini in the browser: the bytes the game's own writer makes, kept in the site's
// storage under one key, one character per byte.
//
// The game saves into its copy in memory and its change is queued there. This store then
// takes the browser's lock (shared by every tab of the game, as the desktop's save takes a
// lock on the file), reads the stored bytes as they are now, lets the game apply every queued
// change to them and stores the result: two tabs saving at once keep each other's keys. A
// full or denied storage keeps what it had; the changes stay queued for the next save.

// The site's IndexedDB: one store of files, settings.ini under its name, as a string of one
// character per byte. IndexedDB, not localStorage: a read in one tab sees what another tab
// has just written, which localStorage does not promise across the browser's processes.
export const DATABASE = "quintaro";
export const STORE = "files";
export const FILE = "settings.ini";
const LOCK = "quintaro-settings";

let database = null;
// The database, or null where the browser denies it (the game then runs on its defaults).
function openDatabase() {
  if (!database) {
    database = new Promise((done) => {
      try {
        const request = indexedDB.open(DATABASE, 1);
        request.onupgradeneeded = () => request.result.createObjectStore(STORE);
        request.onsuccess = () => done(request.result);
        request.onerror = () => done(null);
        request.onblocked = () => done(null);
      } catch {
        done(null);
      }
    });
  }
  return database;
}

const settle = (request) =>
  new Promise((done, fail) => {
    request.onsuccess = () => done(request.result);
    request.onerror = () => fail(request.error);
  });

// The stored file as the game reads it: { state: 0 missing | 1 read, bytes }. A value that is
// no string of bytes is not one of ours: the game starts on its defaults, as with a file it
// cannot read, and its next save replaces the value.
function asFile(text) {
  if (typeof text !== "string") {
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

  // The stored settings.ini, read while the game's core loads.
  static async read() {
    try {
      const db = await openDatabase();
      return db ? await settle(db.transaction(STORE).objectStore(STORE).get(FILE)) : undefined;
    } catch {
      return undefined;
    }
  }

  // Hands what read() gave to the game before it starts.
  restore(text) {
    const { state, bytes } = asFile(text);
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

  // Reads, merges and stores in one transaction; under the lock, or as the page goes away.
  async storeNow() {
    const db = await openDatabase();
    if (!db) {
      this.failed += 1;
      return;
    }
    try {
      const transaction = db.transaction(STORE, "readwrite");
      const files = transaction.objectStore(STORE);
      const { state, bytes } = asFile(await settle(files.get(FILE)));
      const merged = this.core.mergeSettings(FILE, state, bytes);
      if (!merged) {
        return;
      }
      await settle(files.put(bytesToText(merged.bytes), FILE));
      await new Promise((done, fail) => {
        transaction.oncomplete = done;
        transaction.onerror = transaction.onabort = () => fail(transaction.error);
      });
      this.core.settingsStored(FILE, merged.count);
      this.stored += 1;
    } catch {
      this.failed += 1; // full or denied: the stored file stays as it was
    }
  }
}
