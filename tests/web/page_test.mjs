// The web page in a real headless browser: it loads without console errors,
// Play starts the show, the globe and then the logo appear, the music goes
// on; on an emulated phone, upright and sideways, with touch and with its CPU
// slowed; study mode with keys and with touch, its speed and its frames;
// its exact mode gives the native program's frames (the golden list); cut
// links open, and bad ones are explained; the script editor makes the
// cut's link from an edit typed into it; and the speed, the download size
// and screenshots are recorded.
//
//   node tests/web/page_test.mjs SITE_DIR OUT_DIR
//
// Exits 0 when every check passed, 1 otherwise.
import { readFileSync, readdirSync, statSync, mkdirSync, writeFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serveFolder } from '../../scripts/web-serve.mjs';
import { launchBrowser } from './launch_browser.mjs';
import {
  canvasLook, check, failures, lookDistance, openPage, positionValue, report, sleep, waitFor,
} from './page_checks.mjs';
import { phonePlay, slowCpu } from './phone_checks.mjs';
import { studyExactness, studyKeys, studySpeed, studyTouch } from './study_checks.mjs';
import { badCutLinks, cutExactFrames, cutLinkOpens, previewTags } from './cut_checks.mjs';
import { editorCut } from './editor_checks.mjs';
import { badNetworks, compressedSite, phoneNetworks, removeSite } from './data_checks.mjs';

const [site, out] = process.argv.slice(2);
if (!site || !out) {
  console.error('usage: node tests/web/page_test.mjs SITE_DIR OUT_DIR');
  process.exit(2);
}
mkdirSync(out, { recursive: true });
const here = dirname(fileURLToPath(import.meta.url));
const goldenFile = join(here, '..', 'golden', 'show_frames.txt');

async function livePlay(browser, base) {
  const errors = [];
  const page = await openPage(browser, null, errors);
  // A slow line, so that the loading bar can be seen and photographed.
  const cdp = await page.createCDPSession();
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions',
    { offline: false, latency: 20, downloadThroughput: 1.5e6, uploadThroughput: 1e6 });
  await page.goto(base);
  await sleep(1200);
  await page.screenshot({ path: join(out, 'loading.png') });
  await cdp.send('Network.emulateNetworkConditions',
    { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
  if (!(await waitFor(page, () => !document.getElementById('play').disabled, 'the Play button is offered', 60000))) {
    return;
  }
  await page.click('#play');
  check(await waitFor(page, () => window.zemraPosition && window.zemraPosition() !== '', 'Play starts the show', 10000),
    'the music plays after Play');
  report.showStartMs = await page.evaluate(() => zemraStats.startMs);
  const audioState = await page.evaluate(() => zemraPage.audio.context && zemraPage.audio.context.state);
  check(audioState === 'running', `the audio context runs (${audioState})`);

  // The globe: from 0:32 on, faded in by 2:0.
  await waitFor(page, () => Number(window.zemraPosition().split(':')[0]) >= 2, 'the music reaches 2:0', 20000);
  const globe = await canvasLook(page);
  check(globe.mean > 8, `the globe is on the canvas (mean brightness ${globe.mean.toFixed(1)})`);

  // Speed over ten seconds of the show.
  const before = await page.evaluate(() => ({
    frames: zemraStats.frames, at: performance.now(), starved: zemraPage.audio.starvedCount,
  }));
  await page.evaluate(() => { zemraStats.worstGap = 0; zemraStats.worstWork = 0; });
  const firstPosition = await page.evaluate(() => window.zemraPosition());
  await sleep(10000);
  const after = await page.evaluate(() => ({
    frames: zemraStats.frames, at: performance.now(), worstGap: zemraStats.worstGap, worstWork: zemraStats.worstWork,
    starved: zemraPage.audio.starvedCount,
  }));
  const secondPosition = await page.evaluate(() => window.zemraPosition());
  report.fps = (after.frames - before.frames) / ((after.at - before.at) / 1000);
  report.worstFrameGapMs = after.worstGap;
  report.worstFrameWorkMs = after.worstWork;
  check(positionValue(secondPosition) > positionValue(firstPosition),
    `the music position advances (${firstPosition} -> ${secondPosition})`);
  check(report.fps > 30, `frames per second over 10 s: ${report.fps.toFixed(1)}`);
  report.starvedFrames = after.starved - before.starved;
  check(report.starvedFrames === 0, `the music ran without a gap over those 10 s (${report.starvedFrames} frames of silence)`);

  // Focus lost: picture and music hold together; regained: both go on.
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  await sleep(300);
  const held = await page.evaluate(() => [window.zemraPosition(), zemraStats.frames]);
  await sleep(1000);
  const stillHeld = await page.evaluate(() => [window.zemraPosition(), zemraPage.audio.context.state]);
  check(stillHeld[0] === held[0] && stillHeld[1] === 'suspended',
    `losing the focus holds the music and its sound (${held[0]} -> ${stillHeld[0]}, ${stillHeld[1]})`);
  await page.evaluate(() => window.dispatchEvent(new Event('focus')));
  await sleep(1000);
  const resumed = await page.evaluate(() => [window.zemraPosition(), zemraPage.audio.context.state]);
  check(positionValue(resumed[0]) > positionValue(held[0]) && resumed[1] === 'running',
    `regaining it goes on (${held[0]} -> ${resumed[0]}, ${resumed[1]})`);
  console.log(`     worst gap between frames ${after.worstGap.toFixed(1)} ms, ` +
              `worst frame's own work ${after.worstWork.toFixed(1)} ms`);

  // The logo: from 4:0 on, faded in and scrolled into view by 5:32.
  if (await waitFor(page, () => {
    const [order, row] = window.zemraPosition().split(':').map(Number);
    return order > 5 || (order === 5 && row >= 32);
  }, 'the music reaches the logo at 5:32', 30000)) {
    const logo = await canvasLook(page);
    check(logo.mean > 8 && lookDistance(globe, logo) > 4,
      `the logo follows on the canvas (mean ${logo.mean.toFixed(1)}, change from the globe ` +
      `${lookDistance(globe, logo).toFixed(1)})`);
    await page.screenshot({ path: join(out, 'playing.png') });
  }
  // A new address while playing starts the show there with one loop of frames
  // (two would go past 60 a second; a busy machine may give fewer).
  await page.evaluate(() => { location.hash = '#9:0'; });
  if (await waitFor(page, () => window.zemraPosition().startsWith('9:'), 'a new #9:0 starts the show there', 10000)) {
    await sleep(2000);
    const rate = await page.evaluate(() => zemraStats.frames / ((performance.now() - zemraStats.started) / 1000));
    check(rate > 30 && rate < 64, `after #9:0 the tunnel plays at ${rate.toFixed(1)} frames a second`);
  }
  check(errors.length === 0, 'no console errors while loading and playing' +
    (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

async function playToEnd(browser, base) {
  const errors = [];
  const page = await openPage(browser, base + '#34:40', errors);
  if (!(await waitFor(page, () => !document.getElementById('play').disabled, 'the page loads for the end', 60000))) {
    return;
  }
  await page.click('#play');
  await waitFor(page, () => window.zemraPosition() !== '', 'the show starts at #34:40', 10000);
  const first = await page.evaluate(() => window.zemraPosition());
  check(positionValue(first) >= positionValue('34:40') && positionValue(first) < positionValue('34:80'),
    `#34:40 starts the music there (${first})`);
  if (await waitFor(page, () => !document.getElementById('ended').hidden, 'the show ends and offers to play again',
    60000)) {
    await page.screenshot({ path: join(out, 'ended.png') });
    await page.click('#again');
    check(await waitFor(page, () => document.getElementById('ended').hidden && window.zemraPosition() !== '',
      'Play again starts the show again', 10000), 'Play again plays from the start');
  }
  check(errors.length === 0, 'no console errors at the end' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

// A position the song does not play, or an address that is no position at
// all: said plainly, and the show offered from the start.
async function badPosition(browser, base) {
  for (const [hash, said] of [['#99:0', /past the end of the song/], ['#%E0%A4%A', /no music position/]]) {
    const errors = [];
    const page = await openPage(browser, base + hash, errors);
    await waitFor(page, () => !document.getElementById('play').disabled, `the page loads with ${hash}`, 60000);
    const notice = await page.$eval('#notice', (element) => (element.hidden ? '' : element.textContent));
    check(said.test(notice), `a bad start ${hash} is explained ("${notice}")`);
    check(errors.length === 0, `no console errors with ${hash}` + (errors.length ? ': ' + errors.join(' | ') : ''));
    await page.close();
  }
}

// The start panel warns of the flashes; its gentle switch is on where the
// system asks for reduced motion, off otherwise, and a gentle show plays.
async function gentleSwitch(browser, base) {
  for (const reduce of [false, true]) {
    const errors = [];
    const page = await openPage(browser, null, errors);
    await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: reduce ? 'reduce' : 'no-preference' }]);
    await page.goto(base + '#11:16');
    if (!(await waitFor(page, () => !document.getElementById('play').disabled, 'the page loads', 60000))) return;
    const state = await page.evaluate(() => ({
      on: document.getElementById('gentle').checked,
      warning: document.getElementById('warning').textContent,
    }));
    check(state.on === reduce, `the gentle switch is ${state.on ? 'on' : 'off'} with reduced motion ${reduce ? 'asked' : 'not asked'}`);
    check(/flashing lights/.test(state.warning), 'the start panel warns of flashing lights');
    if (reduce) {
      await page.click('#play');
      check(await waitFor(page, () => window.zemraPosition() !== '', 'the gentle show plays', 10000),
        'the gentle show plays from #11:16');
    }
    check(errors.length === 0, 'no console errors with the gentle switch' + (errors.length ? ': ' + errors.join(' | ') : ''));
    await page.close();
  }
}

// A browser without WebAssembly, or without audio worklets, is told so.
async function missingFeatures(browser, base) {
  for (const [feature, said] of [['WebAssembly', /cannot run WebAssembly/], ['AudioWorkletNode', /no Web Audio/]]) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument((name) => { delete window[name]; }, feature);
    await page.goto(base);
    await sleep(300);
    const status = await page.$eval('#status', (element) => element.textContent);
    const playable = await page.$eval('#play', (button) => !button.disabled);
    check(said.test(status) && !playable, `without ${feature} the page says "${status}"`);
    await page.close();
  }
}

// The golden list's frame lines, and one frame in the middle of each scene
// and the last, whose pictures are kept to look at.
function goldenFrames() {
  const lines = readFileSync(goldenFile, 'utf8').split('\n').filter((line) => /^\d+:\d+ /.test(line));
  const byScene = new Map();
  for (const line of lines) {
    const scene = line.split(' ')[2];
    if (!byScene.has(scene)) byScene.set(scene, []);
    byScene.get(scene).push(line);
  }
  const pictured = new Set([lines[lines.length - 1]]);
  for (const sceneLines of byScene.values()) pictured.add(sceneLines[Math.floor(sceneLines.length / 2)]);
  return { lines, pictured };
}

// Every recorded frame of the whole show, made by the page's exact mode,
// against the native render's digests.
async function exactFrames(browser, base) {
  const errors = [];
  const page = await openPage(browser, base + '?exact', errors);
  if (!(await waitFor(page, () => window.zemraExact !== undefined, 'the exact mode starts', 60000))) return;
  const started = Date.now();
  const { lines, pictured } = goldenFrames();
  let same = 0;
  let shownDiffers = 0;
  for (const expected of lines) {
    const [, , scene, frame] = expected.split(' ');
    const line = await page.evaluate((k) => zemraExact.advanceTo(k), Number(frame));
    if (line === expected) {
      same += 1;
    } else {
      if (shownDiffers < 5) console.log(`     frame ${frame}: native "${expected}"\n                 page   "${line}"`);
      shownDiffers += 1;
    }
    if (pictured.has(expected)) {
      const canvas = await page.$('#screen');
      await canvas.screenshot({ path: join(out, `exact-${frame.padStart(5, '0')}-${scene}.png`) });
    }
  }
  report.exactSeconds = (Date.now() - started) / 1000;
  check(same === lines.length,
    `exact mode: ${same} of ${lines.length} recorded frames equal the native render's (${pictured.size} kept as PNG)`);
  check(errors.length === 0, 'no console errors in exact mode' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

function downloadSize() {
  let bytes = 0;
  let gzipped = 0;
  for (const name of [...readdirSync(site), ...readdirSync(join(site, 'data')).map((file) => join('data', file))]) {
    const path = join(site, name);
    // A release bundle's precompressed copies and its note are alternatives
    // a server may send, not more to download.
    if (!statSync(path).isFile() || /\.(gz|br|txt)$/.test(name)) continue;
    const content = readFileSync(path);
    bytes += content.length;
    gzipped += gzipSync(content, { level: 9 }).length;
  }
  report.downloadBytes = bytes;
  report.downloadGzipBytes = gzipped;
  // A server sends the compressed copies (SERVING.txt): that is what a
  // visitor waits for, and what must not grow unnoticed.
  check(gzipped < 3 * 1024 * 1024, `the page downloads ${(gzipped / 1048576).toFixed(2)} MiB gzipped ` +
    `(${(bytes / 1048576).toFixed(2)} MiB as files), under 3 MiB`);
}

const server = await serveFolder(site);
const base = `http://127.0.0.1:${server.address().port}/`;
const compressed = compressedSite(site);
const compressedServer = await serveFolder(compressed);
const browser = await launchBrowser([
  '--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--disable-gpu', '--disable-quic',
  '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-background-timer-throttling', '--disable-renderer-backgrounding']);
try {
  downloadSize();
  await phoneNetworks(browser, `http://127.0.0.1:${compressedServer.address().port}/`);
  await badNetworks(browser, base, site, goldenFrames().lines);
  await livePlay(browser, base);
  await phonePlay(browser, base, out);
  await slowCpu(browser, base);
  await studyKeys(browser, base, out);
  await studyTouch(browser, base, out);
  await studySpeed(browser, base);
  await studyExactness(browser, base);
  await playToEnd(browser, base);
  await badPosition(browser, base);
  await gentleSwitch(browser, base);
  await missingFeatures(browser, base);
  await exactFrames(browser, base);
  await previewTags(browser, base);
  await cutLinkOpens(browser, base);
  await badCutLinks(browser, base);
  // The cut typed into the editor, its link opened in a fresh page.
  await cutExactFrames(browser, base, (await editorCut(browser, base, out)) ?? undefined);
} catch (error) {
  check(false, 'the test ran to its end: ' + (error.stack || error));
} finally {
  await browser.close();
  server.close();
  compressedServer.close();
  removeSite(compressed);
}
writeFileSync(join(out, 'measurements.json'), JSON.stringify(report, null, 2) + '\n');
console.log(`measurements and screenshots in ${out}`);
console.log(failures.length === 0 ? 'web page: all checks passed' : `web page: ${failures.length} checks failed`);
process.exit(failures.length === 0 ? 0 : 1);
