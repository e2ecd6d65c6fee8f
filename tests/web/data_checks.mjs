// The page's data over phone networks and bad ones. Over the browser's
// network emulation (cache off) and a server sending compressed copies, for
// a 4G and a fast 3G profile: the seconds until Play is offered, the bytes
// sent before, and whether any scene's data would come after the show asks
// for it (Play pressed as soon as offered). These are printed, not asserted
// (a loaded machine is slow). Asserted: a file that fails to arrive is
// fetched again; a damaged one is refused with its reason; a scene whose
// data is held back waits, says "loading...", and then goes on with the
// native render's frames.
import { cpSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { check, openPage, report, sleep, waitFor } from './page_checks.mjs';

// A copy of the site with .br and .gz copies beside its files, where they
// are smaller, as a release lays them out.
export function compressedSite(site) {
  const copy = mkdtempSync(join(tmpdir(), 'zemra-site-'));
  cpSync(site, copy, { recursive: true });
  const walk = (folder) => {
    for (const name of readdirSync(folder)) {
      const path = join(folder, name);
      if (statSync(path).isDirectory()) walk(path);
      else if (/\.(html|js|wasm|bin)$/.test(name)) {
        const bytes = readFileSync(path);
        const br = brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } });
        if (br.length < bytes.length * 0.98) writeFileSync(path + '.br', br);
        const gz = gzipSync(bytes, { level: 9 });
        if (gz.length < bytes.length * 0.98) writeFileSync(path + '.gz', gz);
      }
    }
  };
  walk(copy);
  return copy;
}

const profiles = [
  { name: '4G', bitsPerSecond: 9e6, latency: 170 },
  { name: 'fast 3G', bitsPerSecond: 1.6e6, latency: 562 },
];

// Bytes the browser received up to `at` (ms from navigation): whole
// transfers, and the part of one still arriving then, as a share of its time.
function bytesBefore(entries, at) {
  let bytes = 0;
  for (const entry of entries) {
    if (entry.responseEnd <= at) bytes += entry.transferSize;
    else if (entry.responseStart < at) {
      bytes += (entry.transferSize * (at - entry.responseStart)) / (entry.responseEnd - entry.responseStart);
    }
  }
  return Math.round(bytes);
}

export async function phoneNetworks(browser, base) {
  for (const profile of profiles) {
    const errors = [];
    const page = await openPage(browser, null, errors);
    const cdp = await page.createCDPSession();
    await cdp.send('Network.enable');
    await cdp.send('Network.setCacheDisabled', { cacheDisabled: true });
    await cdp.send('Network.emulateNetworkConditions', {
      offline: false, latency: profile.latency, downloadThroughput: profile.bitsPerSecond / 8,
      uploadThroughput: profile.bitsPerSecond / 8,
    });
    // When the loading bar first shows four fifths done, to compare with the module's download.
    await page.evaluateOnNewDocument(() => addEventListener('DOMContentLoaded', () => {
      const fill = document.getElementById('bar').firstElementChild;
      new MutationObserver(() => {
        if (window.zemraBarAt80 === undefined && parseFloat(fill.style.width) >= 80) window.zemraBarAt80 = performance.now();
      }).observe(fill, { attributes: true });
    }));
    await page.goto(base);
    if (!(await waitFor(page, () => window.zemraPlayOfferedAt !== undefined, `${profile.name}: Play is offered`, 90000))) {
      await page.close();
      continue;
    }
    if (!(await waitFor(page, () => zemraData.done(), `${profile.name}: all the data arrives`, 120000))) {
      await page.close();
      continue;
    }
    const seen = await page.evaluate(() => ({
      playAt: zemraPlayOfferedAt,
      entries: [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')].map(
        (e) => ({ name: e.name, responseStart: e.responseStart, responseEnd: e.responseEnd, transferSize: e.transferSize })),
      arrivals: zemraData.state.log,
      needed: Module.ccall('zemra_data_needed', 'string', [], []),
      barAt80: window.zemraBarAt80,
    }));
    if (profile === profiles[0]) {
      // The bar follows the module's bytes, not a compressed copy's smaller count.
      const { responseStart, responseEnd } = seen.entries.find((e) => e.name.endsWith('/zemra.wasm'));
      const share = (seen.barAt80 - responseStart) / (responseEnd - responseStart);
      check(share >= 0.6, `the loading bar shows 80 % once the module has mostly arrived (at ${(100 * share).toFixed(0)} % of its download)`);
      // The page's head asks for what every start needs before any script runs.
      const heads = await page.evaluate(() => ({
        startup: zemraData.state.files.filter((f) => f.startup).map((f) => `data/${f.name}.bin`),
        preloaded: [...document.querySelectorAll('link[rel=preload]')].map((l) => l.getAttribute('href')),
      }));
      check(heads.startup.length > 0 && heads.startup.every((f) => heads.preloaded.includes(f)),
            `the head preloads the start-up's files (${heads.startup.join(', ')})`);
    }
    const arrivedAt = new Map(seen.arrivals.map((a) => [a.name, a.ms]));
    let firstMinuteLate = 0;
    let showLate = 0;
    for (const line of seen.needed.split('\n').filter((l) => l)) {
      const [name, ms] = line.split(' ');
      const lateBy = arrivedAt.get(name) - (seen.playAt + Number(ms));
      if (lateBy > 0) {
        showLate += 1;
        if (Number(ms) < 60000) firstMinuteLate += 1;
        console.log(`     ${profile.name}: ${name} arrives ${(lateBy / 1000).toFixed(2)} s after the show asks for it ` +
                    `(${(Number(ms) / 1000).toFixed(2)} s into the show)`);
      }
    }
    const result = {
      playSeconds: seen.playAt / 1000, bytesBeforePlay: bytesBefore(seen.entries, seen.playAt),
      waitsInFirstMinute: firstMinuteLate, waitsInShow: showLate,
    };
    report[`network ${profile.name}`] = result;
    console.log(`     ${profile.name} (${profile.bitsPerSecond / 1e6} Mbit/s, ${profile.latency} ms): Play after ` +
                `${result.playSeconds.toFixed(2)} s, ${(result.bytesBeforePlay / 1000).toFixed(0)} KB before it; ` +
                `the first 60 s ${firstMinuteLate ? 'would wait' : 'would not wait'}, ` +
                `the whole show ${showLate ? `would wait for ${showLate} groups` : 'would not wait'}`);
    check(errors.length === 0, `no console errors over ${profile.name}` + (errors.length ? ': ' + errors.join(' | ') : ''));
    await page.close();
  }
}

// Sends requests for data/NAME.bin to `handle` (which answers them), the
// rest on.
async function interceptData(page, handle) {
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    const match = /\/data\/(\w+)\.bin$/.exec(request.url());
    if (!match || !handle(match[1], request)) request.continue();
  });
}

export async function badNetworks(browser, base, site, goldenLines) {
  // The music's file fails twice, then comes; the logo's comes damaged every time.
  {
    const errors = [];
    const page = await openPage(browser, null, errors);
    let musicFailures = 0;
    const damaged = readFileSync(join(site, 'data', 'logoefu.bin'));
    damaged[damaged.length >> 1] ^= 0x20;
    await interceptData(page, (name, request) => {
      if (name === 'music' && musicFailures < 2) {
        musicFailures += 1;
        request.abort('connectionreset');
        return true;
      }
      if (name === 'logoefu') {
        request.respond({ status: 200, contentType: 'application/octet-stream', body: damaged });
        return true;
      }
      return false;
    });
    await page.goto(base);
    check(await waitFor(page, () => window.zemraPlayOfferedAt !== undefined, 'Play is offered', 60000) &&
          musicFailures === 2, `a file that failed to arrive twice is fetched again (${musicFailures} failures)`);
    if (await waitFor(page, () => !document.getElementById('data-problem').hidden, 'a damaged file is reported', 30000)) {
      const said = await page.$eval('#data-problem', (e) => e.textContent);
      check(/data\/logoefu\.bin.*checksum.*refused/.test(said), `a damaged file is refused: "${said}"`);
    }
    await page.close();
  }
  // The credits' data held back in exact mode, and the font (which start-up
  // goes on without): the frames wait, say so, and go on as the native
  // render made them once the data comes.
  {
    const errors = [];
    const page = await openPage(browser, null, errors);
    const held = [];
    await interceptData(page, (name, request) => {
      if (name !== 'venkuefu' && name !== 'font') return false;
      held.push(request);
      return true;
    });
    await page.goto(base + '?exact');
    if (!(await waitFor(page, () => window.zemraExact !== undefined, 'the exact mode starts without the credits', 60000))) {
      await page.close();
      return;
    }
    // The credits' first frame: their "init" row at 0:16 leaves them for
    // later, their scene waits for them.
    const expected = goldenLines.find((line) => line.split(' ')[2] === 'venkuefu');
    const frame = Number(expected.split(' ')[3]);
    await page.evaluate((k) => { window.heldLine = zemraExact.advanceTo(k); }, frame);
    await sleep(1000);
    const waiting = await page.evaluate(() => ({
      made: zemraExact.made, loading: !document.getElementById('loading').hidden,
      text: document.getElementById('loading').textContent,
    }));
    check(waiting.made < frame && waiting.loading && waiting.text === 'loading...',
      `a frame whose data is held back waits and says "${waiting.text}" (${waiting.made} frames made)`);
    for (const request of held) request.continue();
    const line = await page.evaluate(() => window.heldLine);
    const done = await page.evaluate(() => ({ loading: !document.getElementById('loading').hidden, waits: zemraExact.waits }));
    check(line === expected && !done.loading && done.waits > 0,
      `once the data comes the frames go on as the native render's (frame ${frame}: ${line === expected ? 'equal' : line})`);
    check(errors.length === 0, 'no console errors while data was held' + (errors.length ? ': ' + errors.join(' | ') : ''));
    await page.close();
  }
}

export function removeSite(copy) {
  rmSync(copy, { recursive: true, force: true });
}
