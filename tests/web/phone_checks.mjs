// The page on a phone: Chromium's device metrics and touch emulation at a
// mid-range phone's screen (412 x 915 CSS pixels at 2.625 device pixels
// each), held upright and turned sideways.
import { join } from 'node:path';
import { canvasLook, check, openPage, positionValue, report, sleep, waitFor } from './page_checks.mjs';

export const phoneUpright = { width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true };
export const phoneSideways = { ...phoneUpright, width: 915, height: 412, isLandscape: true };

// The canvas's size in picture pixels and where it lies, in device pixels.
function canvasPlace(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const box = canvas.getBoundingClientRect();
    const ratio = devicePixelRatio;
    return { width: canvas.width, height: canvas.height, left: box.left * ratio, top: box.top * ratio,
             across: box.width * ratio, down: box.height * ratio,
             screenAcross: innerWidth * ratio, screenDown: innerHeight * ratio };
  });
}

// The picture fills the screen by whole device pixels: each picture pixel
// is the same whole number of device pixels both ways, the largest the
// screen holds, and the canvas starts on a device pixel, centred. Layout
// places boxes in 64ths of a CSS pixel (up to 0.05 of a device pixel at 3
// device pixels each), which the painting snaps to the device pixel.
function fillsByWholePixels(place) {
  const near = (value, target) => Math.abs(value - target) < 0.06;
  const times = Math.round(place.across / place.width);
  const largest = Math.floor(Math.min(place.screenAcross / place.width, place.screenDown / place.height));
  return times === largest && near(place.across, times * place.width) && near(place.down, times * place.height) &&
    near(place.left, Math.round(place.left)) && near(place.top, Math.round(place.top)) &&
    Math.abs(place.left - (place.screenAcross - place.across) / 2) <= 1 &&
    Math.abs(place.top - (place.screenDown - place.down) / 2) <= 1;
}

const describe = (place) =>
  `${place.width} x ${place.height} at ${(place.across / place.width).toFixed(2)} device pixels each, ` +
  `from (${place.left.toFixed(2)}, ${place.top.toFixed(2)})`;

// The canvas's pixels, as RGBA bytes, and its size.
function canvasPixels(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return { width: canvas.width, height: canvas.height, data: Array.from(data) };
  });
}

// The landscape picture is the upright one turned a quarter clockwise:
// landscape row r, column c shows upright row 319 - c, column r.
function turnedClockwise(upright, sideways) {
  if (upright.width !== 240 || upright.height !== 320 || sideways.width !== 320 || sideways.height !== 240) return false;
  for (let r = 0; r < 240; r++) {
    for (let c = 0; c < 320; c++) {
      const a = 4 * (r * 320 + c);
      const b = 4 * ((319 - c) * 240 + r);
      for (let k = 0; k < 3; k++) if (sideways.data[a + k] !== upright.data[b + k]) return false;
    }
  }
  return true;
}

async function doubleTap(page, x, y) {
  await page.touchscreen.tap(x, y);
  await sleep(80);
  await page.touchscreen.tap(x, y);
  await sleep(300);
}

// Says the page is hidden (a phone locking its screen or switching apps)
// or shown again, as the browser would.
function setHidden(page, hidden) {
  return page.evaluate((value) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => value });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (value ? 'hidden' : 'visible') });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

const playState = (page) => page.evaluate(() => ({
  position: window.zemraPosition(),
  audio: zemraPage.audio.context.state,
  generation: zemraPage.audio.generation,
  starved: zemraPage.audio.starvedCount,
  frames: zemraStats.frames,
}));

// Before Play: nothing zooms, scrolls, selects or reloads under a finger.
async function touchesBeforePlay(page) {
  await page.evaluate(() => { window.zemraNotReloaded = true; });
  const title = await page.$eval('h1', (element) => {
    const box = element.getBoundingClientRect();
    return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
  });
  await doubleTap(page, title.x, title.y);
  // A pull down from the top, as for a refresh, held still before the
  // finger lifts (a fling would swallow the next tap, as on a phone).
  await page.touchscreen.touchStart(200, 40);
  for (let y = 60; y <= 600; y += 60) {
    await page.touchscreen.touchMove(200, y);
    await sleep(16);
  }
  await sleep(300);
  await page.touchscreen.touchEnd();
  await sleep(500);
  const after = await page.evaluate(() => ({
    scale: window.visualViewport.scale, scrolled: window.scrollY + document.scrollingElement.scrollTop,
    selected: String(window.getSelection()), same: window.zemraNotReloaded === true,
  }));
  check(after.scale === 1 && after.scrolled === 0 && after.selected === '' && after.same,
    `a double tap and a pull on the page neither zoom (scale ${after.scale}), scroll (${after.scrolled}), ` +
    `select ("${after.selected}") nor reload it`);
}

// Other phones' screens, with device pixels of other fractional sizes: the
// picture still lies on whole device pixels, upright and sideways.
async function otherScreens(page) {
  const placed = [];
  for (const [width, height, deviceScaleFactor] of [[390, 844, 3], [360, 780, 2.75], [384, 854, 2.8125], [768, 1024, 2]]) {
    for (const [across, down] of [[width, height], [height, width]]) {
      await page.setViewport({ ...phoneUpright, width: across, height: down, deviceScaleFactor, isLandscape: across > down });
      await sleep(300);
      const place = await canvasPlace(page);
      const upright = across < down;
      if (!fillsByWholePixels(place) || place.width !== (upright ? 240 : 320)) {
        placed.push(`${across} x ${down} at ${deviceScaleFactor}: ${describe(place)}`);
      }
    }
  }
  await page.setViewport(phoneUpright);
  check(placed.length === 0, 'on four other screens, upright and sideways, the picture lies on whole device pixels' +
    (placed.length ? ': not ' + placed.join('; ') : ''));
}

export async function phonePlay(browser, base, out) {
  const errors = [];
  const page = await openPage(browser, base, errors, phoneUpright);
  if (!(await waitFor(page, () => !document.getElementById('play').disabled, 'the phone is offered Play', 60000))) {
    return;
  }
  await otherScreens(page);
  await touchesBeforePlay(page);
  await page.tap('#play');
  if (!(await waitFor(page, () => window.zemraPosition() !== '', 'a tap on Play starts the show on the phone', 10000))) {
    return;
  }
  const started = await playState(page);
  check(started.audio === 'running', `a tap on Play starts the show with its sound (${started.audio})`);

  // Upright: the handheld's 240 x 320, by whole device pixels.
  await waitFor(page, () => Number(window.zemraPosition().split(':')[0]) >= 2, 'the phone plays to the globe', 20000);
  const upright = await canvasPlace(page);
  check(upright.width === 240 && upright.height === 320 && fillsByWholePixels(upright),
    `upright, the picture stands 240 x 320 and fills the screen by whole pixels (${describe(upright)})`);
  check((await canvasLook(page)).mean > 8, 'upright, the globe is on the canvas');
  await page.screenshot({ path: join(out, 'phone-upright.png') });

  // A tap on the picture does nothing; a double tap asks for full screen.
  const middle = { x: phoneUpright.width / 2, y: phoneUpright.height / 2 };
  const beforeTap = await playState(page);
  await page.touchscreen.tap(middle.x, middle.y);
  await sleep(600);
  const afterTap = await page.evaluate(() => ({
    panels: ['start', 'ended', 'paused', 'message'].filter((id) => !document.getElementById(id).hidden),
    fullscreen: document.fullscreenElement !== null,
    position: window.zemraPosition(),
  }));
  check(afterTap.panels.length === 0 && !afterTap.fullscreen &&
        positionValue(afterTap.position) > positionValue(beforeTap.position),
    `a tap on the picture changes nothing (${beforeTap.position} -> ${afterTap.position}, ` +
    `panels shown: ${afterTap.panels.join(', ') || 'none'})`);
  await doubleTap(page, middle.x, middle.y);
  const fullscreen = await page.evaluate(() => document.fullscreenElement !== null);
  await doubleTap(page, middle.x, middle.y);
  const leftFullscreen = await page.evaluate(() => document.fullscreenElement === null);
  check(fullscreen && leftFullscreen, 'a double tap on the picture switches to full screen, another one back');

  // Turned while playing: the landscape picture, the music going on.
  const beforeTurn = await playState(page);
  await page.setViewport(phoneSideways);
  await sleep(1000);
  const afterTurn = await playState(page);
  const sideways = await canvasPlace(page);
  check(sideways.width === 320 && sideways.height === 240 && fillsByWholePixels(sideways),
    `sideways, the picture lies 320 x 240 and fills the screen by whole pixels (${describe(sideways)})`);
  check(afterTurn.generation === beforeTurn.generation && afterTurn.starved === beforeTurn.starved &&
        positionValue(afterTurn.position) > positionValue(beforeTurn.position) && afterTurn.frames > beforeTurn.frames,
    `a turn while playing keeps the music and the picture going (${beforeTurn.position} -> ${afterTurn.position}, ` +
    `no new song, no silence)`);
  await page.screenshot({ path: join(out, 'phone-sideways.png') });

  // Held, a turn shows the same frame the other way round.
  await setHidden(page, true);
  await sleep(300);
  const heldSideways = await canvasPixels(page);
  await page.setViewport(phoneUpright);
  await sleep(300);
  const heldUpright = await canvasPixels(page);
  check(turnedClockwise(heldUpright, heldSideways),
    'the held frame turned back upright is the landscape one, pixel for pixel');

  // Locked (hidden): picture and sound hold together; back: both go on.
  const held = await playState(page);
  await sleep(1000);
  const stillHeld = await playState(page);
  const heldPicture = await canvasPixels(page);
  check(stillHeld.position === held.position && stillHeld.audio === 'suspended' &&
        heldPicture.data.every((value, i) => value === heldUpright.data[i]),
    `a locked phone holds the picture and the music (${held.position} -> ${stillHeld.position}, ${stillHeld.audio})`);
  await setHidden(page, false);
  await sleep(1000);
  const back = await playState(page);
  check(positionValue(back.position) > positionValue(held.position) && back.audio === 'running' &&
        back.starved === held.starved,
    `unlocked, both go on where they stood (${held.position} -> ${back.position}, ${back.audio})`);

  check(errors.length === 0, 'no console errors on the phone' + (errors.length ? ': ' + errors.join(' | ') : ''));
  report.phone = { upright: describe(upright), sideways: describe(sideways) };
  await page.close();
}

// The phone's CPU four times slower (as a mid-range phone compares with a
// desktop): Play from the start, then ten seconds from the first second on,
// across the globe's start-up (its pictures decoded while the music plays).
// The picture may drop frames; the music may not fall silent.
async function measureSlowCpu(browser, base) {
  const errors = [];
  const page = await openPage(browser, base, errors, phoneUpright);
  if (!(await waitFor(page, () => !document.getElementById('play').disabled, 'the slowed phone is offered Play', 60000))) {
    return null;
  }
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  await page.tap('#play');
  if (!(await waitFor(page, () => window.zemraPosition() !== '', 'the slowed phone starts the show', 20000))) return null;
  await sleep(1000);
  const sample = () => page.evaluate(() => ({
    frames: zemraStats.frames, at: performance.now(), starved: zemraPage.audio.starvedCount,
    position: window.zemraPosition(), worstGap: zemraStats.worstGap, worstWork: zemraStats.worstWork,
    leastLead: Number.isFinite(zemraStats.leastLead) ? zemraStats.leastLead : null,
  }));
  await page.evaluate(() => { zemraStats.worstGap = 0; zemraStats.worstWork = 0; zemraStats.leastLead = Infinity; });
  const before = await sample();
  await sleep(10000);
  const after = await sample();
  await page.close();
  const slow = {
    fps: (after.frames - before.frames) / ((after.at - before.at) / 1000),
    worstFrameGapMs: after.worstGap,
    worstFrameWorkMs: after.worstWork,
    silentFrames: after.starved - before.starved,
    leastSoundLeadMs: after.leastLead,
    from: before.position,
    to: after.position,
    errors,
  };
  console.log(`     CPU slowed 4 times, ${slow.from} -> ${slow.to}: ${slow.fps.toFixed(1)} frames a second, ` +
    `worst gap ${slow.worstFrameGapMs.toFixed(1)} ms, worst frame's work ${slow.worstFrameWorkMs.toFixed(1)} ms, ` +
    `${slow.silentFrames} silent frames, least sound ahead ` +
    `${slow.leastSoundLeadMs === null ? '-' : slow.leastSoundLeadMs.toFixed(0)} ms`);
  return slow;
}

// The slowed run: its speed is printed, not required (another program on
// this machine takes CPU as a slow phone would not); the music may never
// run dry. A run that falls silent is measured once more and the second
// run decides; both are printed.
export async function slowCpu(browser, base) {
  let slow = null;
  for (let attempt = 0; attempt < 2; attempt++) {
    slow = await measureSlowCpu(browser, base);
    if (!slow || slow.silentFrames === 0) break;
  }
  if (!slow) return;
  report.slowCpu = slow;
  check(slow.silentFrames === 0, `with the CPU slowed 4 times the music never runs dry (${slow.silentFrames} silent frames)`);
  check(slow.errors.length === 0, 'no console errors on the slowed phone' +
    (slow.errors.length ? ': ' + slow.errors.join(' | ') : ''));
}
