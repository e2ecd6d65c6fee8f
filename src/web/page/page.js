// The page around the show: downloads the module with a progress bar, waits
// for Play (a browser gives sound only after a gesture), drives the show at
// each animation frame, shows the picture upright on a screen taller than
// wide (a phone held upright) and turned otherwise, scales it by whole device
// pixels, pauses it while the tab is hidden (a phone locked, another app) or
// the window has lost the focus, and offers to play again at the end. With
// ?exact in the address it makes the offline render's frames instead, for
// comparing the page with the native program.
'use strict';

const byId = (id) => document.getElementById(id);
const canvas = byId('screen');
const context = canvas.getContext('2d');
const exactMode = new URLSearchParams(location.search).has('exact');

// What the show's module calls (its EM_JS functions) and what tests read.
const zemraPage = {
  paint(rgba, width, height) {
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      fitCanvas();
    }
    const pixels = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.length);
    context.putImageData(new ImageData(pixels, width, height), 0, 0);
  },
  message(text) {
    const box = byId('message');
    box.querySelector('p').textContent = text;
    box.hidden = false;
  },
  audio: {
    context: null,
    node: null,
    generation: 0,
    playedCount: 0,
    starvedCount: 0, // frames of silence where the music had run dry
    queuedCount: 0, // frames sent and not yet played: the sound's lead
    // Opened by the show: the page's context must run at the show's rate.
    open(rate) {
      if (!this.context || this.context.sampleRate !== rate) return false;
      this.reset();
      return true;
    },
    close() {
      if (this.node) this.reset();
    },
    reset() {
      this.generation += 1;
      this.playedCount = 0;
      this.starvedCount = 0;
      this.queuedCount = 0;
      this.node.port.postMessage({ reset: this.generation });
    },
    pause(paused) {
      if (!this.context) return;
      if (paused) this.context.suspend();
      else this.context.resume();
    },
    send(samples) {
      this.node.port.postMessage({ generation: this.generation, samples }, [samples.buffer]);
    },
    // Frames heard: played by the worklet, less what the device still holds.
    played() {
      const c = this.context;
      const delay = (c.baseLatency || 0) + (c.outputLatency || 0);
      return Math.max(0, this.playedCount - delay * c.sampleRate);
    },
  },
};
window.zemraPage = zemraPage;

// --- Orientation and whole-pixel scaling --------------------------------

// The picture's size on the page, in canvas pixels: whole device pixels
// each, as large as the window holds, centred on a whole device pixel (a
// canvas at a fraction of one would be resampled, blurred or uneven).
function fitCanvas() {
  const ratio = window.devicePixelRatio || 1;
  const across = Math.round(innerWidth * ratio);
  const down = Math.round(innerHeight * ratio);
  const times = Math.max(1, Math.floor(Math.min(across / canvas.width, down / canvas.height)));
  const width = canvas.width * times;
  const height = canvas.height * times;
  canvas.style.width = width / ratio + 'px';
  canvas.style.height = height / ratio + 'px';
  canvas.style.left = Math.floor((across - width) / 2) / ratio + 'px';
  canvas.style.top = Math.floor((down - height) / 2) / ratio + 'px';
}

// Upright (240 x 320, as the handheld showed it) on a screen taller than
// wide, turned (320 x 240) otherwise. A turn while playing only repaints the
// frame shown the new way round: the show and its music go on untouched.
let upright = null;
function layOut() {
  const tall = innerHeight > innerWidth;
  if (tall !== upright && !exactMode) {
    upright = tall;
    const [width, height] = upright ? [240, 320] : [320, 240];
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    if (window.Module && Module.calledRun) Module._zemra_set_upright(upright ? 1 : 0);
  }
  fitCanvas();
}
addEventListener('resize', layOut);
layOut();

// Full screen where the browser allows it (a phone's browser may not, or
// only for videos); a refusal is no fault of the page.
function toggleFullscreen() {
  const root = document.documentElement;
  if (document.fullscreenElement || document.webkitFullscreenElement) {
    (document.exitFullscreen || document.webkitExitFullscreen).call(document)?.catch?.(() => {});
  } else if (root.requestFullscreen || root.webkitRequestFullscreen) {
    (root.requestFullscreen || root.webkitRequestFullscreen).call(root)?.catch?.(() => {});
  }
}
addEventListener('keydown', (event) => {
  if ((event.key === 'f' || event.key === 'F') && !event.ctrlKey && !event.metaKey && !event.altKey) {
    toggleFullscreen();
  }
});

// A double tap (finger or stylus) on the picture: full screen. A single tap
// does nothing. A browser that also reports the double tap as a double-click
// is not obeyed twice.
const doubleTapMs = 350;
let lastTap = null;
let lastTouchUp = -Infinity;
byId('stage').addEventListener('pointerup', (event) => {
  if (event.pointerType === 'mouse') return;
  lastTouchUp = event.timeStamp;
  if (lastTap && event.timeStamp - lastTap.at < doubleTapMs &&
      Math.hypot(event.clientX - lastTap.x, event.clientY - lastTap.y) < 40) {
    lastTap = null;
    toggleFullscreen();
  } else {
    lastTap = { at: event.timeStamp, x: event.clientX, y: event.clientY };
  }
});
byId('stage').addEventListener('dblclick', (event) => {
  if (event.timeStamp - lastTouchUp > 2 * doubleTapMs) toggleFullscreen();
});
// A long press opens no menu over the picture.
addEventListener('contextmenu', (event) => event.preventDefault());
byId('message').querySelector('button').addEventListener('click', () => { byId('message').hidden = true; });

// --- Loading -------------------------------------------------------------

function setProgress(fraction) {
  byId('bar').firstElementChild.style.width = Math.round(100 * Math.min(1, fraction)) + '%';
}

function setStatus(text) {
  byId('status').textContent = text;
}

function missingFeature() {
  if (typeof WebAssembly !== 'object') return 'This browser cannot run WebAssembly, which the show is made of.';
  if (exactMode) return null;
  if (!window.AudioContext || !window.AudioWorkletNode) {
    return 'This browser has no Web Audio with audio worklets, which the show\'s music needs.';
  }
  return null;
}

// Downloads the module with its progress shown (to 90 % of the bar; the
// rest is the module's compiling and start-up).
async function downloadModule() {
  const response = await fetch('zemra.wasm');
  if (!response.ok) throw new Error('zemra.wasm: ' + response.status + ' ' + response.statusText);
  const total = Number(response.headers.get('Content-Length')) || 0;
  const reader = response.body.getReader();
  const parts = [];
  let received = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    parts.push(value);
    received += value.length;
    if (total > 0) setProgress(0.9 * (received / total));
  }
  const bytes = new Uint8Array(received);
  let at = 0;
  for (const part of parts) {
    bytes.set(part, at);
    at += part.length;
  }
  return bytes;
}

// Starts the module's runtime over the downloaded bytes.
function startRuntime(bytes) {
  return new Promise((resolve, reject) => {
    window.Module = {
      instantiateWasm(imports, done) {
        WebAssembly.instantiate(bytes, imports).then((result) => done(result.instance), reject);
        return {};
      },
      onRuntimeInitialized: resolve,
      onAbort: (what) => reject(new Error('the show stopped: ' + what)),
      print: (text) => console.log(text),
      printErr: (text) => console.error(text),
    };
    const script = document.createElement('script');
    script.src = 'zemra.js';
    script.onerror = () => reject(new Error('zemra.js could not be loaded'));
    document.body.appendChild(script);
  });
}

const text = (pointer) => Module.UTF8ToString(pointer);
// Why a start position is no place to start ('' when it is one).
const checkPosition = (position) => Module.ccall('zemra_check_position', 'string', ['string'], [position]);
const startShow = (position) => {
  Module._zemra_set_gentle(byId('gentle').checked ? 1 : 0);
  return Module.ccall('zemra_play', 'number', ['string'], [position]);
};

// The gentle mode is on where the viewer has asked the system for less
// motion; the switch keeps the viewer's own choice for this page.
const reducedMotion = window.matchMedia && matchMedia('(prefers-reduced-motion: reduce)').matches;
const gentleChoice = (() => {
  try {
    return localStorage.getItem('zemra.gentle');
  } catch {
    return null; // storage refused (a private window): the system's wish decides
  }
})();
byId('gentle').checked = gentleChoice === null ? reducedMotion : gentleChoice === '1';
byId('gentle').addEventListener('change', () => {
  try {
    localStorage.setItem('zemra.gentle', byId('gentle').checked ? '1' : '0');
  } catch {
    // Not kept: the switch still holds for this visit.
  }
});

// --- Playing -------------------------------------------------------------

// The start position the address names (#ORDER:ROW), or '' for the
// beginning (also where it names a cut).
function startFromAddress() {
  if (cutLinks.inAddress()) return '';
  const hash = location.hash.replace(/^#/, '');
  try {
    return decodeURIComponent(hash).trim();
  } catch {
    return hash.trim(); // a malformed escape: explained as no position, not a page that never loads
  }
}

// Frame times of the live show and the least sound queued ahead of the
// listener (ms), for the page's test and the curious.
const stats = { frames: 0, started: 0, startMs: 0, last: 0, worstGap: 0, worstWork: 0, leastLead: Infinity };
window.zemraStats = stats;
let playing = false;
let frameRequest = 0; // the one animation frame asked for, so a restart runs no second loop
let hidden = document.hidden;
let blurred = false;

async function openAudio() {
  const audio = zemraPage.audio;
  if (!audio.context) {
    audio.context = new AudioContext({ sampleRate: 44100, latencyHint: 'interactive' });
    await audio.context.audioWorklet.addModule('audio-sink.js');
    audio.node = new AudioWorkletNode(audio.context, 'zemra-sink', { outputChannelCount: [2] });
    audio.node.port.onmessage = (event) => {
      if (event.data.generation !== audio.generation) return;
      audio.playedCount = event.data.played;
      audio.starvedCount = event.data.starved;
      audio.queuedCount = event.data.queued;
      if (playing && audio.playedCount > 0) {
        stats.leastLead = Math.min(stats.leastLead, (1000 * audio.queuedCount) / audio.context.sampleRate);
      }
    };
    audio.node.connect(audio.context.destination);
  }
  await audio.context.resume();
}

async function play() {
  byId('play').disabled = true;
  byId('again').disabled = true;
  try {
    await openAudio();
  } catch (error) {
    // Without sound the show cannot keep time: say so and offer Play again.
    zemraPage.message('The sound could not be started: ' + error.message);
    byId('play').disabled = false;
    byId('again').disabled = false;
    return;
  }
  byId('start').hidden = true;
  byId('ended').hidden = true;
  const loadStart = performance.now();
  if (!startShow(startFromAddress())) {
    showEnded();
    return;
  }
  Object.assign(stats, { frames: 0, started: performance.now(), last: 0, worstGap: 0, worstWork: 0,
                         leastLead: Infinity });
  stats.startMs = stats.started - loadStart;
  frameDue = 0;
  playing = true;
  updateActive();
  cancelAnimationFrame(frameRequest);
  frameRequest = requestAnimationFrame(tick);
}

// At most 60 frames a second, as on the desktop: a faster display would
// otherwise run the effects that change with every frame (the water, the
// pole's scroller) faster than the music. The due time moves on in even
// steps; after a stall it starts again from now. A display's own 60 Hz
// comes with some jitter, so a frame up to a quarter early is drawn.
const frameInterval = 1000 / 60;
let frameDue = 0;

function tick(now) {
  if (!playing) return;
  if (now < frameDue - frameInterval / 4) {
    frameRequest = requestAnimationFrame(tick);
    return;
  }
  frameDue = now - frameDue > frameInterval ? now + frameInterval : frameDue + frameInterval;
  const before = performance.now();
  const going = Module._zemra_frame();
  const work = performance.now() - before;
  if (stats.last > 0) stats.worstGap = Math.max(stats.worstGap, now - stats.last);
  stats.worstWork = Math.max(stats.worstWork, work);
  stats.last = now;
  stats.frames += 1;
  if (going) frameRequest = requestAnimationFrame(tick);
  else showEnded();
}

function showEnded() {
  playing = false;
  byId('paused').hidden = true;
  byId('ended').hidden = false;
  byId('again').disabled = false;
  byId('again').focus();
}

// Hidden or unfocused, the show holds its picture and its music together.
function updateActive() {
  const active = !hidden && !blurred;
  byId('paused').hidden = active || !playing;
  if (!playing) return;
  if (active) stats.last = 0; // the time away is no slow frame
  Module._zemra_set_active(active ? 1 : 0);
}
document.addEventListener('visibilitychange', () => {
  hidden = document.hidden;
  updateActive();
});
// A phone's browser may put the page away whole (kept to come back to)
// rather than only hide it.
addEventListener('pagehide', () => {
  hidden = true;
  updateActive();
});
addEventListener('pageshow', () => {
  hidden = document.hidden;
  updateActive();
});
// A phone may take the sound away (a call, another app's sound) and not give
// it back by itself: a touch, once the show should be playing, asks again.
addEventListener('pointerdown', () => {
  const context = zemraPage.audio.context;
  if (playing && !hidden && !blurred && context && context.state !== 'running') context.resume();
});
addEventListener('blur', () => {
  blurred = true;
  updateActive();
});
addEventListener('focus', () => {
  blurred = false;
  updateActive();
});
// A new #ORDER:ROW starts the show there (or is explained before Play).
addEventListener('hashchange', () => {
  if (cutLinks.inAddress()) {
    location.reload(); // another cut: opened as the page opens one
  } else if (playing) {
    play();
  } else if (window.Module && Module.calledRun && !exactMode) {
    const reason = checkPosition(startFromAddress());
    byId('notice').textContent = reason ? reason + '; the show plays from the start.' : '';
    byId('notice').hidden = !reason;
  }
});

// --- Exact mode ----------------------------------------------------------

// Frame k of the offline render, at k * 1000 / 60 ms, without the clock.
const exact = {
  made: 0,
  // Makes frames until `frame` is the last one made (or the show ends);
  // gives its golden-frame line.
  advanceTo(frame) {
    while (exact.made <= frame) {
      const made = Module._zemra_exact_advance(Math.min(600, frame + 1 - exact.made));
      if (made === 0) break;
      exact.made += made;
    }
    return text(Module._zemra_exact_line());
  },
};

// --- Start ---------------------------------------------------------------

async function main() {
  const missing = missingFeature();
  if (missing) {
    setStatus(missing);
    byId('bar').hidden = true;
    return;
  }
  try {
    await startRuntime(await downloadModule());
  } catch (error) {
    const hint =
      location.protocol === 'file:' ? ' (serve this folder with any web server and open its address: see SERVING.txt)' : '';
    setStatus('The show could not be loaded: ' + error.message + hint);
    return;
  }
  setProgress(1);
  byId('version').textContent = 'version ' + text(Module._zemra_version());
  if (!exactMode) Module._zemra_set_upright(upright ? 1 : 0);
  window.zemraPosition = () => text(Module._zemra_position());
  const cutProblem = cutLinks.openFromAddress();
  if (cutProblem) zemraPage.message(cutProblem + '\n\nThe show plays with its own script.');
  if (exactMode) {
    setStatus('Exact mode: frames as the offline render makes them.');
    Module._zemra_set_gentle(new URLSearchParams(location.search).has('gentle') ? 1 : 0);
    if (!Module._zemra_exact_start()) return;
    window.zemraExact = exact;
    byId('start').hidden = true;
    return;
  }
  const reason = checkPosition(startFromAddress());
  if (reason) {
    byId('notice').textContent = reason + '; the show plays from the start.';
    byId('notice').hidden = false;
  }
  setStatus(cutLinks.inAddress() && !cutProblem ? 'Ready: a cut from the link, the show with its script.' : 'Ready.');
  byId('play').disabled = false;
  byId('play').focus();
}

byId('play').addEventListener('click', play);
byId('again').addEventListener('click', () => {
  if (location.hash && !cutLinks.inAddress()) history.replaceState(null, '', location.pathname + location.search);
  play();
});
main();
