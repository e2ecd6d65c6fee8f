// Study mode in the page, driven as a person would: with keys on a desktop
// page, with touch on a phone held upright and sideways; how long a jump and
// a step back take on the phone's slowed CPU (printed, not required: a
// shared machine's timings vary); and its frames against the exact mode's.
import { readFileSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { check, openPage, report, sleep, waitFor } from './page_checks.mjs';
import { phoneSideways, phoneUpright } from './phone_checks.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const goldenLines = readFileSync(join(here, '..', 'golden', 'show_frames.txt'), 'utf8').split('\n');

// The scenes' starts from the show's script, in order: { effect, start: 'ORDER:ROW' }.
const scenes = [...readFileSync(join(here, '..', '..', 'src', 'show', 'demo_script.cpp'), 'utf8')
  .matchAll(/\{(\d+), (\d+), "demosys", "seteffect", "(\w+)"\}/g)]
  .map(([, order, row, effect]) => ({ effect, start: `${order}:${row}` }));
// The song's length in ms, from the golden list's sound (44100 frames a second).
const songMs = Math.round(Number(/^sound (\d+) /m.exec(goldenLines.join('\n'))[1]) / 44.1);

// A frame's golden-frame line, "ORDER:ROW TIME SCENE FRAME EFFECT SHOWN", taken apart.
function frameOf(line) {
  const [position, time, scene, frame] = line.split(' ');
  return { line, position, time: Number(time), scene, frame: Number(frame) };
}

const studyState = (page) => page.evaluate(() => ({
  active: zemraStudy.active(),
  paused: zemraStudy.active() && zemraStudy.paused(),
  line: zemraStudy.active() ? zemraStudy.line() : '',
  hash: location.hash,
  passes: zemraStudy.passes,
  startShown: !document.getElementById('start').hidden,
}));
const shown = async (page) => frameOf((await studyState(page)).line);
const soundState = (page) => page.evaluate(() => ({
  state: zemraPage.audio.context.state, played: zemraPage.audio.playedCount, generation: zemraPage.audio.generation,
}));

// Waits until study mode has run two more passes: an input given before is done.
function settle(page) {
  return page.evaluate(() => new Promise((done) => {
    const from = zemraStudy.passes;
    const look = () => (zemraStudy.passes >= from + 2 || !zemraStudy.active() ? done() : requestAnimationFrame(look));
    look();
  }));
}

async function press(page, key) {
  await page.keyboard.press(key);
  await settle(page);
  return shown(page);
}

// Keys pressed at once in the page (a key held down), then done.
async function pressMany(page, key, times) {
  await page.evaluate((name, count) => {
    for (let i = 0; i < count; i++) Module.ccall('zemra_study_key', 'number', ['string', 'number'], [name, 1]);
  }, key, times);
  await settle(page);
  return shown(page);
}

function canvasDigest(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let hash = 2166136261;
    for (let i = 0; i < data.length; i += 1) hash = Math.imul(hash ^ data[i], 16777619);
    return `${canvas.width}x${canvas.height}:${hash >>> 0}`;
  });
}

// Where on the page (CSS pixels) the canvas's pixel (x, y) lies, and the canvas's place.
function canvasGeometry(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const box = canvas.getBoundingClientRect();
    return { width: canvas.width, height: canvas.height, left: box.left, top: box.top, across: box.width,
             down: box.height, ratio: devicePixelRatio, innerWidth, innerHeight };
  });
}
const pagePoint = (g, x, y) => ({ x: g.left + ((x + 0.5) * g.across) / g.width, y: g.top + ((y + 0.5) * g.down) / g.height });
// The page point on the timeline's strip at song time `ms`.
function timelinePoint(g, ms) {
  return pagePoint(g, Math.round((ms * (g.width - 1)) / songMs), g.height - 46 + 20);
}
// How far a landing may lie from a tapped time: the timeline pixel's span and a row.
const nearEnough = (g, landedMs, tappedMs) => Math.abs(landedMs - tappedMs) <= songMs / (g.width - 1) + 300;

// Paused frames hold: the canvas a second apart, pixel for pixel, and the frame.
async function holds(page, what) {
  const before = [await canvasDigest(page), (await studyState(page)).line];
  await sleep(1000);
  const after = [await canvasDigest(page), (await studyState(page)).line];
  check(before[0] === after[0] && before[1] === after[1], `${what}: a paused frame holds for a second (${before[1]})`);
}

// A step on shows the next frame, one sixtieth of a second on, a step back the one before.
async function stepsOneFrame(page, stepOn, stepBack, what) {
  const before = await shown(page);
  const picture = await canvasDigest(page);
  const on = await stepOn();
  const onPicture = await canvasDigest(page);
  const back = await stepBack();
  check(on.frame === before.frame + 1 && on.time - before.time >= 16 && on.time - before.time <= 17 &&
        onPicture !== picture && back.frame === before.frame && (await canvasDigest(page)) === picture,
    `${what}: a step on shows frame ${on.frame} (${on.time - before.time} ms on), a step back frame ${back.frame} again`);
}

// A click or tap on the picture plays, another pauses.
async function playsAndPauses(page, tap, what) {
  await tap();
  await sleep(700);
  const playing = await studyState(page);
  await tap();
  await settle(page);
  const held = await studyState(page);
  check(!playing.paused && held.paused && frameOf(held.line).frame > 10,
    `${what} on the picture plays, another pauses (frame ${frameOf(held.line).frame})`);
}

const sceneAfter = (position) => scenes.find((scene) => positionOrder(scene.start) > positionOrder(position));
const sceneBefore = (position) => [...scenes].reverse().find((scene) => positionOrder(scene.start) < positionOrder(position));
function positionOrder(text) {
  const [order, row] = text.split(':').map(Number);
  return order * 1000 + row;
}

// Keys on a desktop page: the Study button, Space, the steps, the jumps, a
// click on the picture and on the timeline, Escape and the back button.
export async function studyKeys(browser, base, out) {
  const errors = [];
  const page = await openPage(browser, base, errors, { width: 1280, height: 800 }); // room for twice the size
  if (!(await waitFor(page, () => !document.getElementById('study').disabled, 'the Study button is offered', 60000))) return;
  await page.click('#study');
  if (!(await waitFor(page, () => zemraStudy.active() && zemraStudy.passes > 2, 'Study opens study mode', 20000))) return;
  const first = await shown(page);
  await sleep(1500);
  const later = await studyState(page);
  check(!later.paused && frameOf(later.line).frame > first.frame + 30,
    `Study plays from the start (frame ${first.frame} -> ${frameOf(later.line).frame})`);
  const playingSound = await soundState(page);
  await press(page, 'Space');
  const paused = await studyState(page);
  const pausedSound = await soundState(page);
  check(paused.paused && paused.hash === '#study=' + frameOf(paused.line).position,
    `Space pauses, and the address follows the frame (${paused.hash})`);
  check(playingSound.state === 'running' && playingSound.played > 0 && pausedSound.state === 'suspended',
    `the music plays with the picture (${playingSound.state}) and holds with it (${pausedSound.state})`);
  await holds(page, 'keys');
  await stepsOneFrame(page, () => press(page, '.'), () => press(page, ','), 'keys');

  // The jumps land where they name, and the address follows. A loaded
  // machine may have paused before the first scene: one Right first, so
  // that there is a scene before the next one.
  if (!sceneBefore(sceneAfter((await shown(page)).position).start)) await press(page, 'ArrowRight');
  const from = await shown(page);
  const next = sceneAfter(from.position);
  const right = await press(page, 'ArrowRight');
  check(right.position === next.start && right.scene === next.effect && right.frame === 0 &&
        (await studyState(page)).hash === '#study=' + next.start,
    `Right jumps to the next scene, ${next.effect} at ${next.start} (${right.line})`);
  const left = await press(page, 'ArrowLeft');
  const previous = sceneBefore(next.start);
  check(left.position === previous.start && left.scene === previous.effect,
    `Left jumps to the scene before, ${previous.effect} at ${previous.start} (${left.position})`);
  const down = await press(page, 'ArrowDown');
  const [order, row] = left.position.split(':').map(Number);
  check(down.position === `${order + 1}:${row}`, `Down jumps an order on (${left.position} -> ${down.position})`);
  const pageDown = await press(page, 'PageDown');
  check(pageDown.position === `${order + 1}:${row + 16}`, `PageDown jumps 16 rows on (${pageDown.position})`);
  const home = await press(page, 'Home');
  check(home.position === '0:0' && home.frame === 0, `Home jumps to the start (${home.position})`);
  // After jumps and steps the music starts again at the frame shown.
  await press(page, 'Space');
  await sleep(500);
  const resumedSound = await soundState(page);
  await press(page, 'Space');
  check(resumedSound.state === 'running' && resumedSound.generation > pausedSound.generation && resumedSound.played > 0,
    `after the jumps the music starts anew from the frame shown (${resumedSound.state}, ${resumedSound.played} frames heard)`);

  // A click on the picture plays and pauses; on the timeline it jumps there.
  let g = await canvasGeometry(page);
  const picture = pagePoint(g, 100, 100);
  await playsAndPauses(page, () => page.mouse.click(picture.x, picture.y), 'a click');
  const tappedMs = 150000;
  const onTimeline = timelinePoint(g, tappedMs);
  await page.mouse.click(onTimeline.x, onTimeline.y);
  await settle(page);
  const clicked = await shown(page);
  check(nearEnough(g, clicked.time, tappedMs) && clicked.frame === 0,
    `a click on the timeline at ${tappedMs} ms lands at ${clicked.position} (${clicked.time} ms)`);

  // A nice frame to look at: the tunnel.
  await page.evaluate(() => { location.hash = '#study=9:32'; });
  await waitFor(page, () => zemraStudy.active() && zemraStudy.line().startsWith('9:32 '), '#study=9:32 opens there', 20000);
  await pressMany(page, '.', 20);
  g = await canvasGeometry(page);
  await page.screenshot({ path: join(out, 'study-desktop.png') });
  report.studyDesktop = `${g.width} x ${g.height} at ${(g.across * g.ratio / g.width).toFixed(2)} device pixels each`;

  // Escape leaves for the start panel and a plain address; so does the back button.
  await press(page, 'Escape');
  await sleep(300);
  const escaped = await studyState(page);
  check(!escaped.active && escaped.startShown && !escaped.hash.startsWith('#study'),
    `Escape returns to the start panel (address "${escaped.hash}")`);
  await page.click('#study');
  await waitFor(page, () => zemraStudy.active() && zemraStudy.passes > 2, 'Study opens again', 20000);
  await page.evaluate(() => history.back());
  await sleep(500);
  const backed = await studyState(page);
  check(!backed.active && backed.startShown && !backed.hash.startsWith('#study'),
    `the back button returns to the start panel (address "${backed.hash}")`);
  check(errors.length === 0, 'no console errors in study mode' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

// The canvas's scale in device pixels and the panel's text height (a
// glyph's cell of 8 pixels, the row under it for descenders included) in CSS pixels.
function describePlace(g) {
  const scale = Math.round((100 * g.across * g.ratio) / g.width) / 100; // layout's 64ths of a CSS pixel aside
  return { scale, textCss: (8 * scale) / g.ratio, text: `${g.width} x ${g.height} at ${scale.toFixed(2)} device pixels each` };
}

// The buttons' boxes, and whether any overlaps the canvas.
function padPlace(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen').getBoundingClientRect();
    const buttons = [...document.querySelectorAll('.pad button')].map((button) => button.getBoundingClientRect());
    const overlaps = buttons.some((b) => b.left < canvas.right && b.right > canvas.left && b.top < canvas.bottom &&
                                         b.bottom > canvas.top);
    const inside = buttons.every((b) => b.width > 0 && b.left >= 0 && b.right <= innerWidth && b.bottom <= innerHeight);
    return { shown: buttons.length === 4 && inside, overlaps };
  });
}

const stillPage = (page) => page.evaluate(() => window.visualViewport.scale === 1 && window.scrollY === 0 &&
                                                document.scrollingElement.scrollTop === 0);

// Touch on a phone: a link opens study mode paused; the buttons step and
// jump; taps on the picture play and pause; a tap and a drag on the
// timeline seek; upright and sideways, readable, nothing scrolls or zooms.
export async function studyTouch(browser, base, out) {
  const errors = [];
  const page = await openPage(browser, base + '#study=22:0', errors, phoneUpright);
  if (!(await waitFor(page, () => window.zemraStudy && zemraStudy.active() && zemraStudy.passes > 2,
    'a #study=22:0 link opens study mode on the phone', 60000))) return;
  const opened = await studyState(page);
  check(opened.paused && frameOf(opened.line).position === '22:0' && frameOf(opened.line).frame === 0,
    `#study=22:0 opens paused there (${opened.line})`);

  for (const [name, viewport, smallest] of [['upright', phoneUpright, 4], ['sideways', phoneSideways, 3]]) {
    await page.setViewport(viewport);
    await sleep(500);
    const g = await canvasGeometry(page);
    const place = describePlace(g);
    const pad = await padPlace(page);
    const size = name === 'upright' ? [258, 560] : [578, 286];
    check(g.width === size[0] && g.height === size[1] && Number.isInteger(place.scale) && place.scale >= smallest &&
          place.textCss >= 9,
      `${name}, the picture, panel and timeline stand ${place.text}, the panel's text ${place.textCss.toFixed(1)} CSS px high`);
    check(pad.shown && !pad.overlaps, `${name}, the four buttons are on the screen beside the picture`);
    await holds(page, name);
    await page.screenshot({ path: join(out, `study-phone-${name}.png`) });
    const tap = (selector) => async () => {
      await page.tap(selector);
      await settle(page);
      return shown(page);
    };
    await tap('#pad-on [data-key="."]')();
    await stepsOneFrame(page, tap('#pad-on [data-key="."]'), tap('#pad-back [data-key=","]'), `${name}, the buttons`);
    const before = await shown(page);
    const next = await tap('#pad-on [data-key="ArrowRight"]')();
    const back = await tap('#pad-back [data-key="ArrowLeft"]')();
    check(next.position === sceneAfter(before.position).start && back.position === sceneBefore(next.position).start,
      `${name}, the scene buttons jump to ${next.position} (${next.scene}) and back to ${back.position} (${back.scene})`);

    const picture = pagePoint(g, g.width / 2, 100);
    await playsAndPauses(page, () => page.touchscreen.tap(picture.x, picture.y), `${name}, a tap`);

    // A tap on the timeline, then a drag along it, seek.
    const tappedMs = 60000;
    const at = timelinePoint(g, tappedMs);
    await page.touchscreen.tap(at.x, at.y);
    await settle(page);
    const tapped = await shown(page);
    const dragTo = 180000;
    const end = timelinePoint(g, dragTo);
    await page.touchscreen.touchStart(at.x, at.y);
    for (let step = 1; step <= 8; step++) {
      await page.touchscreen.touchMove(at.x + ((end.x - at.x) * step) / 8, at.y);
      await sleep(40);
    }
    await page.touchscreen.touchEnd();
    await settle(page);
    await settle(page);
    const dragged = await shown(page);
    check(nearEnough(g, tapped.time, tappedMs) && nearEnough(g, dragged.time, dragTo),
      `${name}, a tap on the timeline at ${tappedMs} ms lands at ${tapped.time} ms, a drag to ${dragTo} ms at ${dragged.time} ms`);
    check(await stillPage(page), `${name}, nothing scrolled or zoomed`);
    report[`studyPhone${name === 'upright' ? 'Upright' : 'Sideways'}`] = `${place.text}, text ${place.textCss.toFixed(1)} CSS px`;
  }
  // A turn keeps the frame.
  const sideways = await shown(page);
  await page.setViewport(phoneUpright);
  await sleep(500);
  check((await shown(page)).line === sideways.line, 'a turn keeps the frame shown');

  await page.evaluate(() => history.back());
  await sleep(500);
  const left = await studyState(page);
  check(!left.active && left.startShown, 'the back button leaves study mode for the start panel on the phone');
  check(errors.length === 0, 'no console errors in study mode on the phone' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

// On the phone with its CPU slowed four times: jumps by taps on the
// timeline at places spread over the show, and at each the slowest step
// back (nothing kept to step back among: its frame is made again from the
// nearest kept state), timed from the input to its frame on the canvas;
// then a few seconds of play.
export async function studySpeed(browser, base) {
  const errors = [];
  const page = await openPage(browser, base + '#study=0:0', errors, phoneUpright);
  if (!(await waitFor(page, () => window.zemraStudy && zemraStudy.active() && zemraStudy.passes > 2,
    'study mode opens on the slowed phone', 60000))) return;
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  const g = await canvasGeometry(page);
  const jumps = [];
  const steps = [];
  for (let place = 0; place < 12; place++) {
    const ms = Math.round(((place + 0.5) * songMs) / 12);
    const at = timelinePoint(g, ms);
    await page.touchscreen.tap(at.x, at.y);
    await settle(page);
    const landed = await page.evaluate(() => [zemraStudy.line(), zemraStudy.lastResponseMs]);
    jumps.push({ at: frameOf(landed[0]).position, ms: landed[1] });
    // 24 frames on, a step back to the 23rd: made again from the state kept
    // at the 16th (one every eight frames), the most a step back makes.
    await page.evaluate(() => zemraStudy.keepFrames(1));
    await pressMany(page, '.', 24);
    await page.keyboard.press(',');
    await settle(page);
    const stepped = await page.evaluate(() => [zemraStudy.line(), zemraStudy.lastResponseMs]);
    check(frameOf(stepped[0]).frame === 23, `the step back at ${frameOf(stepped[0]).position} shows frame 23`);
    steps.push({ at: frameOf(stepped[0]).position, ms: stepped[1] });
  }
  const worst = (list) => list.reduce((a, b) => (b.ms > a.ms ? b : a));
  const median = (list) => [...list].sort((a, b) => a.ms - b.ms)[Math.floor(list.length / 2)].ms;
  const jumpWorst = worst(jumps);
  const stepWorst = worst(steps);
  console.log(`     study mode, CPU slowed 4 times: a jump shows its frame in ${median(jumps).toFixed(0)} ms ` +
    `(median of ${jumps.length}), worst ${jumpWorst.ms.toFixed(0)} ms at ${jumpWorst.at}; a step back ` +
    `in ${median(steps).toFixed(0)} ms, worst ${stepWorst.ms.toFixed(0)} ms at ${stepWorst.at}`);
  console.log('     jumps: ' + jumps.map((j) => `${j.at} ${j.ms.toFixed(0)}`).join(', '));
  console.log('     steps back: ' + steps.map((s) => `${s.at} ${s.ms.toFixed(0)}`).join(', '));

  // Playing on the slowed phone: frames shown a second.
  await page.evaluate(() => { zemraStudy.keepFrames(300); });
  await page.keyboard.press('Home');
  await settle(page);
  await page.keyboard.press('Space');
  await sleep(2000);
  const before = await page.evaluate(() => [zemraStudy.line(), performance.now()]);
  await sleep(5000);
  const after = await page.evaluate(() => [zemraStudy.line(), performance.now()]);
  const playedFps = (frameOf(after[0]).frame - frameOf(before[0]).frame) / ((after[1] - before[1]) / 1000);
  console.log(`     study mode, CPU slowed 4 times, playing from ${frameOf(before[0]).position}: ` +
    `${playedFps.toFixed(1)} frames a second`);
  report.studySlowCpu = { jumps, steps, playedFps };
  check(errors.length === 0, 'no console errors in study mode on the slowed phone' +
    (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

// The frame shown after #study=ORDER:ROW and N steps is the exact render's
// frame N from there (the page's exact mode started there); from the start
// it is also the golden list's line.
export async function studyExactness(browser, base) {
  const errors = [];
  const study = await openPage(browser, base + '#study=0:0', errors);
  if (!(await waitFor(study, () => window.zemraStudy && zemraStudy.active(), 'study mode opens', 60000))) return;
  for (const [position, steps] of [['0:0', 150], ['9:16', 37], ['22:0', 100], ['28:8', 50]]) {
    await study.evaluate((p) => { location.hash = '#study=' + p; }, position);
    await waitFor(study, `zemraStudy.active() && zemraStudy.line().startsWith('${position} ')`,
      `#study=${position} opens`, 20000);
    const stepped = (await pressMany(study, '.', steps)).line;
    const exact = await openPage(browser, `${base}?exact#${position}`, errors);
    let expected = '';
    if (await waitFor(exact, () => window.zemraExact !== undefined, 'the exact mode starts', 60000)) {
      expected = await exact.evaluate((k) => zemraExact.advanceTo(k), steps);
    }
    await exact.close();
    const golden = goldenLines.find((line) => line.split(' ')[3] === String(steps));
    const alsoGolden = position === '0:0' ? stepped === golden : true;
    check(stepped === expected && alsoGolden,
      `#study=${position} and ${steps} steps show the exact render's frame there (${stepped})` +
      (stepped === expected ? '' : ` - exact mode: ${expected}`));
  }
  // The gentle show's frames alike.
  await study.evaluate(() => localStorage.setItem('zemra.gentle', '1'));
  await study.goto(base + '#study=11:0');
  await study.reload();
  if (await waitFor(study, () => window.zemraStudy && zemraStudy.active() && zemraStudy.passes > 2,
    'study mode opens gentle', 60000)) {
    const stepped = (await pressMany(study, '.', 30)).line;
    const exact = await openPage(browser, `${base}?exact&gentle#11:0`, errors);
    await waitFor(exact, () => window.zemraExact !== undefined, 'the gentle exact mode starts', 60000);
    const expected = await exact.evaluate(() => zemraExact.advanceTo(30));
    await exact.close();
    check(stepped === expected, `gentle, #study=11:0 and 30 steps show the gentle exact frame (${stepped})`);
  }
  await study.evaluate(() => localStorage.removeItem('zemra.gentle'));
  check(errors.length === 0, 'no console errors comparing study mode' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await study.close();
}
