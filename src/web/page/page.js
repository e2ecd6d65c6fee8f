// The page around the show: downloads the module with a progress bar, waits
// for Play (a browser gives sound only after a gesture), drives the show at
// each animation frame, shows the picture upright on a screen taller than
// wide (a phone held upright) and turned otherwise, scales it by whole device
// pixels, pauses it while the tab is hidden (a phone locked, another app) or
// the window has lost the focus, and offers to play again at the end. Study
// mode (the Study button, or #study and #study=ORDER:ROW in the address) is
// the desktop's, the same C++ code: the page hands it keys, clicks and
// touches, and runs one pass of it at each animation frame. With ?exact in
// the address it makes the offline render's frames instead (from #ORDER:ROW
// when given), for comparing the page with the native program.
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
    unlocked: false, // a touch or key has let the context sound
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

// A screen that is touched (a phone, a tablet): study mode shows its buttons there.
const touchScreen = navigator.maxTouchPoints > 0 || Boolean(window.matchMedia && matchMedia('(any-pointer: coarse)').matches);
let playing = false; // the live show runs
let studying = false; // study mode runs

// The room study mode's buttons take on a touch screen, in CSS pixels: a
// bar under the picture upright, a column at each side sideways.
function padRoom() {
  if (!studying || !touchScreen) return { bottom: 0, side: 0 };
  return upright ? { bottom: 56, side: 0 } : { bottom: 0, side: 72 };
}

// The picture's size on the page, in canvas pixels: whole device pixels
// each, as large as the window holds, centred on a whole device pixel (a
// canvas at a fraction of one would be resampled, blurred or uneven).
function fitCanvas() {
  const ratio = window.devicePixelRatio || 1;
  const room = padRoom();
  // Study mode's script editor takes the room at the right it needs (editor.js).
  const editorRoom = studying && window.zemraEditor ? zemraEditor.room(canvas.width, canvas.height, room.side) : 0;
  const across = Math.round((innerWidth - 2 * room.side - editorRoom) * ratio);
  const down = Math.round((innerHeight - room.bottom) * ratio);
  const times = Math.max(1, Math.floor(Math.min(across / canvas.width, down / canvas.height)));
  const width = canvas.width * times;
  const height = canvas.height * times;
  canvas.style.width = width / ratio + 'px';
  canvas.style.height = height / ratio + 'px';
  canvas.style.left = Math.floor(room.side * ratio + (across - width) / 2) / ratio + 'px';
  canvas.style.top = Math.floor((down - height) / 2) / ratio + 'px';
}

// The play mode's canvas, 240 x 320 upright or 320 x 240 (study mode's
// picture sets its own size when it is painted).
function setPlaySize() {
  const [width, height] = upright ? [240, 320] : [320, 240];
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
  }
}

// Upright (240 x 320, as the handheld showed it) on a screen taller than
// wide, turned (320 x 240) otherwise. A turn while playing only repaints the
// frame shown the new way round: the show and its music go on untouched.
let upright = null;
function layOut() {
  const tall = innerHeight > innerWidth;
  if (tall !== upright && !exactMode) {
    upright = tall;
    if (!studying) setPlaySize();
    if (window.Module && Module.calledRun) Module._zemra_set_upright(upright ? 1 : 0);
    if (playing && upright) showTurnHint();
    if (!upright) byId('turn').classList.add('gone');
  }
  document.body.classList.toggle('upright', Boolean(upright));
  document.body.classList.toggle('sideways', !upright);
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
// Keys typed into the script editor are its own (by the event's path: the
// editor may have removed the element typed in, its search field on Escape).
const inEditor = (event) => event.composedPath().some((node) => node.id === 'editor');
addEventListener('keydown', (event) => {
  if (inEditor(event)) return;
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
  if (event.pointerType === 'mouse' || studying) return; // in study mode a tap pauses
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
  if (!studying && event.timeStamp - lastTouchUp > 2 * doubleTapMs) toggleFullscreen();
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

// The module's response, its bytes counted as they come to show the
// download's progress (to 90 % of the bar; the rest is the module's
// start-up). The browser compiles the module while it downloads.
async function moduleResponse() {
  const response = await fetch('zemra.wasm');
  if (!response.ok) throw new Error('zemra.wasm: ' + response.status + ' ' + response.statusText);
  // The module's size as built, written into the page's head: a compressed
  // transfer's Content-Length is the copy's, smaller than the bytes counted.
  const total = Number(document.querySelector('link[href="zemra.wasm"]').dataset.bytes) || 0;
  let received = 0;
  const counted = response.body.pipeThrough(new TransformStream({
    transform(chunk, controller) {
      received += chunk.length;
      if (total > 0) setProgress(Math.min(0.9, 0.9 * (received / total)));
      controller.enqueue(chunk);
    },
  }));
  return new Response(counted, { headers: { 'Content-Type': 'application/wasm' } });
}

function instantiate(response, imports) {
  if (WebAssembly.instantiateStreaming) return WebAssembly.instantiateStreaming(response, imports);
  return response.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports));
}

// Starts the module's runtime over the module being downloaded; its script
// comes meanwhile, so that no round trip waits for the other.
function startRuntime(download) {
  return new Promise((resolve, reject) => {
    download.catch(reject);
    window.Module = {
      instantiateWasm(imports, done) {
        download.then((response) => instantiate(response, imports)).then((result) => done(result.instance), reject);
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
const useGentle = () => Module._zemra_set_gentle(byId('gentle').checked ? 1 : 0);
const startShow = (position) => {
  useGentle();
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
let frameRequest = 0; // the one animation frame asked for, so a restart runs no second loop
let hidden = document.hidden;
let blurred = false;

// The page's sound: an AudioContext with the show's worklet, made once. A
// browser lets it sound only after a click, tap or key; made before one, it
// waits, and the first one lets it go (unlockAudio).
async function prepareAudio() {
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
}

async function openAudio() {
  await prepareAudio();
  await zemraPage.audio.context.resume();
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
  if (upright) showTurnHint();
  const loadStart = performance.now();
  await dataFor(startFromAddress());
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

// Whether a frame is due at `now`; moves the due time on when it is.
function frameIsDue(now) {
  if (now < frameDue - frameInterval / 4) return false;
  frameDue = now - frameDue > frameInterval ? now + frameInterval : frameDue + frameInterval;
  return true;
}

function tick(now) {
  if (!playing) return;
  if (!frameIsDue(now)) {
    frameRequest = requestAnimationFrame(tick);
    return;
  }
  const before = performance.now();
  const going = Module._zemra_frame();
  showLoading();
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
  if (!playing && !studying) return;
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
// A new #ORDER:ROW starts the show there (or is explained before Play); a
// #study address opens study mode there, and leaving one (the browser's
// back button) leaves study mode.
addEventListener('hashchange', () => {
  if (!window.Module || !Module.calledRun || exactMode) return;
  if (cutLinks.inAddress() && location.hash !== cutLinks.opened) {
    location.reload(); // another cut: opened as the page opens one
    return;
  }
  if (studyFromAddress() !== null) {
    openStudyFromAddress();
    return;
  }
  if (studying) {
    leaveStudy();
  } else if (playing) {
    play();
  } else {
    const reason = checkPosition(startFromAddress());
    byId('notice').textContent = reason ? reason + '; the show plays from the start.' : '';
    byId('notice').hidden = !reason;
  }
});

// --- The turn hint -------------------------------------------------------

// Upright, the show plays turned as on the handheld: a short hint says the
// phone may be turned for the wide picture, and goes.
let turnHintTimer = 0;
function showTurnHint() {
  if (!touchScreen) return;
  const hint = byId('turn');
  hint.hidden = false;
  requestAnimationFrame(() => hint.classList.remove('gone'));
  clearTimeout(turnHintTimer);
  turnHintTimer = setTimeout(() => hint.classList.add('gone'), 4000);
}

// --- Study mode ----------------------------------------------------------

let studyRequest = 0;
let addressWrittenAt = -Infinity;
let addressWritten = null; // the address study mode wrote last
let dragPointer = null; // the pointer held on the timeline
let dragTo = null; // where it has moved since the last frame, in canvas pixels
let inputAt = 0; // when the input waiting for the next frame came
// What study mode did, for the page's test and the curious: passes run, the
// time from the last input to its frame on the canvas, the slowest pass.
const study = {
  passes: 0,
  lastResponseMs: 0,
  worstPassMs: 0,
  active: () => studying,
  paused: () => studyPaused(),
  line: () => text(Module._zemra_study_line()), // the frame shown's golden-frame line
  keepFrames: (frames) => Module._zemra_study_keep_frames(frames),
};
window.zemraStudy = study;

// The position a study address names: '' for #study, ORDER:ROW for
// #study=ORDER:ROW; null for an address that is not one.
function studyFromAddress() {
  const match = /^study(?:=(.*))?$/.exec(startFromAddress());
  return match ? (match[1] || '').trim() : null;
}

const studyPaused = () => Module._zemra_study_paused() !== 0;

// Opens study mode at `position` ('' for the start), paused or playing. Its
// address is an entry of the history of its own, so that the browser's back
// button returns to the start panel.
async function openStudy(position, paused) {
  byId('play').disabled = true;
  byId('study').disabled = true;
  try {
    await prepareAudio();
  } catch {
    // Without Web Audio study mode goes on silently.
  }
  if (!(history.state && history.state.study)) history.pushState({ study: true }, '', '#study');
  byId('start').hidden = true;
  byId('ended').hidden = true;
  playing = false;
  cancelAnimationFrame(frameRequest);
  useGentle();
  await Promise.all([dataFor(position, true), loadEditor()]);
  if (!Module.ccall('zemra_study_start', 'number', ['string', 'number'], [position, paused ? 1 : 0])) {
    leaveStudy();
    return;
  }
  studying = true;
  window.zemraEditor?.opened();
  for (const pad of document.querySelectorAll('.pad')) pad.hidden = !touchScreen;
  Object.assign(study, { passes: 0, lastResponseMs: 0, worstPassMs: 0 });
  addressWrittenAt = -Infinity;
  addressWritten = location.hash;
  layOut();
  updateActive();
  cancelAnimationFrame(studyRequest);
  studyRequest = requestAnimationFrame(studyTick);
}

// #study or #study=ORDER:ROW: paused there (a link is looked at first); a
// position the song does not play is explained on the start panel.
function openStudyFromAddress() {
  const position = studyFromAddress();
  const reason = checkPosition(position);
  if (reason) {
    history.replaceState(null, '', location.pathname + location.search);
    if (studying) leaveStudy();
    byId('notice').textContent = reason.replace('The address\'s #', 'The address\'s #study=') +
      '; study mode opens at the start.';
    byId('notice').hidden = false;
    return;
  }
  // The page itself first, then study mode: the back button leads to it.
  if (!(history.state && history.state.study)) {
    history.replaceState(null, '', location.pathname + location.search);
    history.pushState({ study: true }, '', '#study' + (position ? '=' + position : ''));
  }
  openStudy(position, true);
}

function leaveStudy() {
  studying = false;
  cancelAnimationFrame(studyRequest);
  Module._zemra_study_end();
  window.zemraEditor?.closed();
  for (const pad of document.querySelectorAll('.pad')) pad.hidden = true;
  setPlaySize();
  fitCanvas();
  byId('start').hidden = false;
  byId('play').disabled = false;
  byId('study').disabled = false;
  byId('play').focus();
}

// Escape: back to the page's own entry in the history, or to the plain
// address where study mode was the first entry.
function studyEnded() {
  if (history.state && history.state.study) {
    studying = false; // the back step's hashchange finds study mode left already
    history.back();
  } else {
    history.replaceState(null, '', location.pathname + location.search);
  }
  leaveStudy();
}

// The address follows the frame shown (#study=ORDER:ROW), so that a copied
// address opens the same moment: at once while paused, at most once a
// second while playing (browsers limit how often a page rewrites it). An
// address changed by hand is left for its hashchange to open.
function followAddress() {
  const address = '#study=' + text(Module._zemra_position());
  if (address === location.hash || location.hash !== addressWritten) return;
  const now = performance.now();
  if (!studyPaused() && now - addressWrittenAt < 1000) return;
  addressWrittenAt = now;
  history.replaceState(history.state, '', address);
  addressWritten = location.hash;
}

function studyTick(now) {
  if (!studying) return;
  studyRequest = requestAnimationFrame(studyTick);
  if (!frameIsDue(now) && !inputAt) return;
  if (dragTo) {
    Module._zemra_study_pointer(dragTo.x, dragTo.y, 1);
    dragTo = null;
  }
  const before = performance.now();
  const going = Module._zemra_study_frame();
  const after = performance.now();
  study.passes += 1;
  study.worstPassMs = Math.max(study.worstPassMs, after - before);
  if (inputAt) study.lastResponseMs = after - inputAt;
  inputAt = 0;
  if (!going) {
    studyEnded();
    return;
  }
  followAddress();
  const paused = studyPaused();
  for (const button of document.querySelectorAll('.pad .step')) button.disabled = !paused;
}

// The canvas pixel under a pointer.
function canvasPoint(event) {
  const box = canvas.getBoundingClientRect();
  return {
    x: Math.floor(((event.clientX - box.left) * canvas.width) / box.width),
    y: Math.floor(((event.clientY - box.top) * canvas.height) / box.height),
  };
}

// The first touch or key lets the page's sound start (held again at once
// while study mode is paused).
function unlockAudio() {
  const context = zemraPage.audio.context;
  if (!context || context.state === 'running' || zemraPage.audio.unlocked) return;
  zemraPage.audio.unlocked = true;
  context.resume();
  if (studyPaused()) context.suspend();
}

addEventListener('keydown', (event) => {
  if (!studying || event.ctrlKey || event.metaKey || event.altKey || inEditor(event)) return;
  unlockAudio();
  if (Module.ccall('zemra_study_key', 'number', ['string', 'number'], [event.key, event.repeat ? 1 : 0])) {
    event.preventDefault();
    inputAt = inputAt || performance.now();
  }
});
// A click or tap on the picture pauses and resumes; on the timeline it
// seeks, and so does a drag along it (one seek a frame, to where it got).
canvas.addEventListener('pointerdown', (event) => {
  if (!studying || (event.pointerType === 'mouse' && event.button !== 0)) return;
  unlockAudio();
  const at = canvasPoint(event);
  Module._zemra_study_pointer(at.x, at.y, 0);
  inputAt = inputAt || performance.now();
  if (Module._zemra_study_on_timeline(at.x, at.y)) {
    dragPointer = event.pointerId;
    canvas.setPointerCapture(event.pointerId);
  }
});
canvas.addEventListener('pointermove', (event) => {
  if (studying && event.pointerId === dragPointer) dragTo = canvasPoint(event);
});
for (const type of ['pointerup', 'pointercancel']) {
  canvas.addEventListener(type, (event) => {
    if (event.pointerId === dragPointer) dragPointer = null;
  });
}
for (const button of document.querySelectorAll('.pad button')) {
  button.addEventListener('pointerdown', (event) => {
    event.preventDefault(); // no focus, no text selection
    if (!studying || button.disabled) return;
    unlockAudio();
    Module.ccall('zemra_study_key', 'number', ['string', 'number'], [button.dataset.key, 0]);
    inputAt = inputAt || performance.now();
  });
}

// --- Exact mode ----------------------------------------------------------

// Frame k of the offline render, at k * 1000 / 60 ms, without the clock.
const exact = {
  made: 0,
  waits: 0, // how often a frame waited for its data
  // Makes frames until `frame` is the last one made (or the show ends),
  // waiting where a frame's data has not arrived; gives its golden-frame line.
  async advanceTo(frame) {
    while (exact.made <= frame) {
      const made = Module._zemra_exact_advance(Math.min(600, frame + 1 - exact.made));
      exact.made += made;
      if (made > 0) continue;
      if (!Module._zemra_waiting()) break;
      exact.waits += 1;
      showLoading();
      await zemraData.nextArrival();
    }
    showLoading();
    return text(Module._zemra_exact_line());
  },
};

// --- The show's data ----------------------------------------------------

// "loading..." while the show waits for data its next frame needs.
function showLoading() {
  byId('loading').hidden = !(window.Module && Module.calledRun && Module._zemra_waiting());
}

// Waits, saying so, until the data a start at `position` needs has arrived;
// study mode, which may jump anywhere, waits for all of it.
async function dataFor(position, all = false) {
  const ready = () => (all ? zemraData.done() : zemraData.readyFor(position));
  if (ready()) return;
  byId('loading').hidden = false;
  await zemraData.until(ready);
  byId('loading').hidden = true;
}

// A file that keeps failing or was refused: said on the page.
function dataProblem(problem) {
  byId('data-problem').textContent = problem;
  byId('data-problem').hidden = !problem;
}

// --- Start ---------------------------------------------------------------

async function main() {
  const missing = missingFeature();
  if (missing) {
    setStatus(missing);
    byId('bar').hidden = true;
    return;
  }
  try {
    await startRuntime(moduleResponse());
  } catch (error) {
    const hint =
      location.protocol === 'file:' ? ' (serve this folder with any web server and open its address: see SERVING.txt)' : '';
    setStatus('The show could not be loaded: ' + error.message + hint);
    return;
  }
  setProgress(1);
  byId('version').textContent = 'version ' + text(Module._zemra_version());
  zemraData.start(showLoading, dataProblem);
  setStatus('Loading the music and the first scenes\u2026');
  await zemraData.until(() => zemraData.readyFor(''));
  if (!exactMode) Module._zemra_set_upright(upright ? 1 : 0);
  window.zemraPosition = () => text(Module._zemra_position());
  const cutProblem = cutLinks.openFromAddress();
  if (cutProblem) zemraPage.message(cutProblem + '\n\nThe show plays with its own script.');
  if (exactMode) {
    setStatus('Exact mode: frames as the offline render makes them.');
    Module._zemra_set_gentle(new URLSearchParams(location.search).has('gentle') ? 1 : 0);
    await dataFor(startFromAddress());
    if (!Module.ccall('zemra_exact_start', 'number', ['string'], [startFromAddress()])) return;
    window.zemraExact = exact;
    byId('start').hidden = true;
    return;
  }
  setStatus(cutLinks.inAddress() && !cutProblem ? 'Ready: the show with the script of the link\'s cut.' : 'Ready.');
  warmUpWhenIdle();
  window.zemraPlayOfferedAt = performance.now();
  byId('play').disabled = false;
  byId('study').disabled = false;
  byId('play').focus();
  loadEditor();
  if (studyFromAddress() !== null) {
    openStudyFromAddress();
    return;
  }
  const reason = checkPosition(startFromAddress());
  if (reason) {
    byId('notice').textContent = reason + '; the show plays from the start.';
    byId('notice').hidden = false;
  }
}

// Study mode's script editor (editor.js, CodeMirror) is fetched once Play
// is offered, so that its bytes do not delay the start. Without it (a failed
// fetch) study mode opens all the same.
let editorLoaded = null;
function loadEditor() {
  editorLoaded ??= new Promise((resolve) => {
    const script = document.createElement('script');
    script.src = 'editor.js';
    script.onload = script.onerror = resolve;
    document.body.append(script);
  });
  return editorLoaded;
}

// The show's pictures are decoded one effect at a time while the browser
// has nothing else to do, in the order the show needs them, so that no
// scene's first frame waits for its decoding. A step can take longer than a
// frame on a slow phone, so none is taken while the show moves.
function warmUpWhenIdle() {
  const idle = window.requestIdleCallback || ((work) => setTimeout(work, 50));
  const next = () => {
    if (playing || (studying && !Module._zemra_study_paused())) setTimeout(() => idle(next), 500);
    else if (Module._zemra_warm_up()) idle(next);
    else window.zemraWarm = true;
  };
  idle(next);
}

byId('play').addEventListener('click', play);
// Study from the address's #ORDER:ROW where it names one, else from the start.
byId('study').addEventListener('click', () => {
  const position = checkPosition(startFromAddress()) ? '' : startFromAddress();
  openStudy(position, false);
});
byId('again').addEventListener('click', () => {
  if (location.hash && !cutLinks.inAddress()) history.replaceState(null, '', location.pathname + location.search);
  play();
});
main();
