// The roll sound: dice.wav decoded by the game's own WAVE parser and played through Web
// Audio. The audio starts with the first roll, the player's gesture that allows sound; a
// second roll restarts it from the beginning. Anything that fails leaves the game silent.
export class RollSound {
  constructor(core) {
    this.core = core;
    this.bytes = null;
    this.context = null;
    this.buffer = null;
    this.source = null;
  }

  load(bytes) {
    this.bytes = bytes;
    this.buffer = null;
  }

  free() {
    this.stop();
    this.bytes = null;
    this.buffer = null;
  }

  stop() {
    try {
      this.source?.stop();
    } catch {
      // already over
    }
    this.source = null;
  }

  decode() {
    const frames = this.bytes ? this.core.decodeSound(this.bytes) : null;
    if (!frames) {
      return null;
    }
    const buffer = this.context.createBuffer(frames.channels, frames.frames, frames.rate);
    for (let c = 0; c < frames.channels; ++c) {
      buffer.copyToChannel(frames.samples.subarray(c * frames.frames, (c + 1) * frames.frames), c);
    }
    return buffer;
  }

  play() {
    try {
      if (!this.bytes) {
        return;
      }
      if (!this.context) {
        const Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) {
          this.bytes = null;
          return;
        }
        this.context = new Context();
      }
      if (this.context.state === "suspended") {
        this.context.resume().catch(() => {});
      }
      if (!this.buffer) {
        this.buffer = this.decode();
        if (!this.buffer) {
          this.bytes = null;
          return;
        }
      }
      this.stop();
      const source = this.context.createBufferSource();
      source.buffer = this.buffer;
      source.connect(this.context.destination);
      source.start();
      this.source = source;
    } catch {
      this.source = null; // no sound, no error
    }
  }
}
