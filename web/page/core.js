// The calls the page makes into the game's core, with the copying of bytes in and out. Also
// used at build time (web/prerender.mjs), where the same core runs under node.
export function wrapCore(module) {
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
