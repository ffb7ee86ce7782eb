/* global FS, IDBFS, addRunDependency, removeRunDependency */
// The page's side of the browser platform: the canvas and its scaling,
// banners and messages, Web Audio, and the browser's storage for the
// player's files. The program calls in through Module.glyphfallPage and
// Module.glyphfallAudio.
'use strict';

const Width = 800, Height = 600;
const canvas = document.getElementById('canvas');
const stage = document.getElementById('stage');
const context = canvas.getContext('2d', { alpha: false });

// What a test (or a curious player) can read back.
window.glyphfall = { firstFrameMs: 0, frames: 0, storageSyncs: 0, storageReady: false, storageMs: 0, runtimeMs: 0 };

// The largest size of the playfield's shape that fits the page; pixels stay
// sharp (pixelated scaling).
function fit() {
  const w = stage.clientWidth, h = stage.clientHeight;
  const scale = Math.max(0.25, Math.min(w / Width, h / Height));
  canvas.style.width = Math.floor(Width * scale) + 'px';
  canvas.style.height = Math.floor(Height * scale) + 'px';
}
window.addEventListener('resize', fit);
document.addEventListener('fullscreenchange', fit);
fit();

const audio = {
  context: null,
  master: null,
  muted: false,
  voices: new Map(),
  init() {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    try {
      this.context = new Context();
      this.master = this.context.createGain();
      this.master.connect(this.context.destination);
    } catch (e) {
      this.context = null;  // no sound, the game plays on silently
    }
  },
  // Browsers start sound only after the player has pressed or clicked.
  resume() {
    if (this.context && this.context.state !== 'running') this.context.resume().catch(() => {});
  },
  state() { return this.context ? this.context.state : 'none'; },
  play(voice, bytes, channels, bits, rate, delayMs, gainLeft, gainRight) {
    const ctx = this.context;
    if (!ctx || ctx.state !== 'running') return;
    const size = channels * bits / 8;
    const frames = Math.floor(bytes.length / size);
    if (frames === 0) return;
    let buffer;
    try {
      buffer = ctx.createBuffer(2, frames, rate);
    } catch (e) {
      return;  // a rate Web Audio does not take: silent
    }
    const left = buffer.getChannelData(0), right = buffer.getChannelData(1);
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    const sample = bits === 8 ? (at) => (view.getUint8(at) - 128) / 128 : (at) => view.getInt16(at, true) / 32768;
    const step = bits / 8;
    for (let i = 0; i < frames; i++) {
      const at = i * size;
      const l = sample(at);
      const r = channels === 2 ? sample(at + step) : l;
      left[i] = l * gainLeft;
      right[i] = r * gainRight;
    }
    const source = ctx.createBufferSource();
    source.buffer = buffer;
    source.connect(this.master);
    let playing = this.voices.get(voice);
    if (!playing) this.voices.set(voice, playing = new Set());
    playing.add(source);
    source.onended = () => playing.delete(source);
    source.start(ctx.currentTime + delayMs / 1000);
  },
  stop(voice) {
    const playing = this.voices.get(voice);
    if (!playing) return;
    for (const source of playing) {
      try { source.stop(); } catch (e) { /* not started yet */ }
    }
    this.voices.delete(voice);
  },
  mute(muted) {
    this.muted = muted;
    if (this.master) this.master.gain.value = muted ? 0 : 1;
  },
};
audio.init();
for (const type of ['keydown', 'mousedown', 'pointerdown', 'touchstart'])
  window.addEventListener(type, () => audio.resume(), { capture: true });

const page = {
  image: null,
  // The frame's pixels in the program's memory, shown as the canvas's image
  // data; only the changed rectangle is put.
  put(heap, pointer, width, x, y, w, h) {
    if (!this.image || this.image.data.buffer !== heap.buffer || this.pointer !== pointer) {
      this.image = new ImageData(new Uint8ClampedArray(heap.buffer, pointer, width * Height * 4), width, Height);
      this.pointer = pointer;
    }
    context.putImageData(this.image, 0, 0, x, y, w, h);
  },
  presented() {
    if (window.glyphfall.frames++ === 0) window.glyphfall.firstFrameMs = performance.now();
  },
  banner(text) { document.getElementById('banner').textContent = text; },
  message(text) {
    const m = document.getElementById('message');
    m.textContent = text;
    m.style.display = text ? 'block' : 'none';
  },
  error(text) {
    console.error(text);
    this.message(text);
  },
  toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
  },
  // Saves land in memory; this writes them to the browser's storage, one
  // write at a time, once more if saves came meanwhile.
  syncing: false,
  again: false,
  syncStorage() {
    if (this.syncing) {
      this.again = true;
      return;
    }
    this.syncing = true;
    FS.syncfs(false, (err) => {
      this.syncing = false;
      if (err) console.error('Could not keep the saved files in the browser: ' + err);
      else window.glyphfall.storageSyncs++;
      if (this.again) {
        this.again = false;
        this.syncStorage();
      }
    });
  },
};

var Module = {
  canvas,
  glyphfallPage: page,
  glyphfallAudio: audio,
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  preRun: [() => {
    // The player's files, read back from the browser's storage before the
    // game starts (not earlier: the files need the program's memory).
    FS.mkdir('/data');
    FS.mount(IDBFS, {}, '/data');
    addRunDependency('storage');
    FS.syncfs(true, (err) => {
      if (err) console.error('The browser\'s storage could not be read: ' + err);
      window.glyphfall.storageReady = true;
      window.glyphfall.storageMs = performance.now();
      removeRunDependency('storage');
    });
  }],
  onRuntimeInitialized: () => { window.glyphfall.runtimeMs = performance.now(); },
  onAbort: (what) => page.error('Glyphfall stopped: ' + what),
};
canvas.focus();
