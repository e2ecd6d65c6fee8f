// Cut links in the page: the checked-in link (tests/golden/cut_link.txt, a
// cut that moves a flash, changes a fade and adds a track) opens with Play
// offered, its exact frames equal the desktop render's digests of the same
// cut (tests/golden/cut_frames.txt, made by scripts/refresh-golden.sh), and
// bad links show one message and a page that still plays the show; the
// page's preview tags name a poster of about 1200 x 630 that is there.
import { readFileSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { deflateRawSync } from 'node:zlib';
import { fileURLToPath } from 'node:url';
import { check, openPage, positionValue, waitFor } from './page_checks.mjs';

const golden = join(dirname(fileURLToPath(import.meta.url)), '..', 'golden');
const playOffered = () => !document.getElementById('play').disabled;

export async function cutLinkOpens(browser, base) {
  const link = readFileSync(join(golden, 'cut_link.txt'), 'utf8').trim();
  const errors = [];
  const page = await openPage(browser, base + link, errors);
  if (!(await waitFor(page, playOffered, 'the page opens a #cut= link', 60000))) return;
  const said = await page.evaluate(() => ({
    status: document.getElementById('status').textContent,
    message: document.getElementById('message').hidden ? '' : document.querySelector('#message p').textContent,
    text: zemraCut.text(),
  }));
  check(said.message === '' && /the script of the link's cut/.test(said.status), `the cut opens and Play is offered ("${said.status}")`);
  check(said.text.includes('1:0 worldefu setparam'), 'the cut\'s script is the link\'s');
  // The page makes a short address of the same text.
  const again = await page.evaluate(() => zemraCut.address(zemraCut.text()));
  check(again.startsWith(base + '#cut=1.') && again.length <= 2000, `the page makes a link of the text (${again.length} characters)`);
  // Study mode studies the cut; leaving it comes back to the cut's page
  // (its address again), not to a page loaded anew.
  await page.evaluate(() => { window.sameVisit = true; });
  await page.click('#study');
  if (await waitFor(page, () => zemraStudy.active(), 'study mode opens with a cut', 20000)) {
    await page.keyboard.press('Escape');
    await waitFor(page, () => !zemraStudy.active() && !document.getElementById('play').disabled,
      'study mode ends with Escape', 20000);
    check(await page.evaluate(() => window.sameVisit === true && zemraCut.text().includes('1:0 worldefu')),
      'leaving study mode keeps the cut');
  }
  await page.click('#play');
  check(await waitFor(page, () => window.zemraPosition() !== '', 'the cut plays', 10000), 'Play plays the cut');
  check(errors.length === 0, 'no console errors with a cut' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

// The exact frames up to 6:0 (all three edits lie before it), of the
// checked-in link or of the same cut's link made by the page's editor.
export async function cutExactFrames(browser, base, link = readFileSync(join(golden, 'cut_link.txt'), 'utf8').trim()) {
  const lines = readFileSync(join(golden, 'cut_frames.txt'), 'utf8').split('\n')
    .filter((line) => /^\d+:\d+ /.test(line) && positionValue(line.split(' ')[0]) < positionValue('6:0'));
  const errors = [];
  const page = await openPage(browser, base + '?exact' + link, errors);
  if (!(await waitFor(page, () => window.zemraExact !== undefined, 'the exact mode starts with a cut', 60000))) return;
  let same = 0;
  for (const expected of lines) {
    const line = await page.evaluate((k) => zemraExact.advanceTo(k), Number(expected.split(' ')[3]));
    if (line === expected) same += 1;
    else if (same + 5 > lines.length) console.log(`     native "${expected}"\n     page   "${line}"`);
  }
  check(lines.length > 100 && same === lines.length,
    `exact mode with a cut: ${same} of ${lines.length} recorded frames equal the desktop render's`);
  check(errors.length === 0, 'no console errors in exact mode with a cut' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
}

// Six bad links (garbage, truncated, of another version, a decompression
// bomb, a cut whose script fails the checks, an empty cut): each the one
// message, and the show's own script plays.
export async function badCutLinks(browser, base) {
  const link = readFileSync(join(golden, 'cut_link.txt'), 'utf8').trim();
  const errors = [];
  const maker = await openPage(browser, base, errors);
  if (!(await waitFor(maker, playOffered, 'the page loads', 60000))) return;
  const failing = await maker.evaluate(() => zemraCut.address(zemraCut.text().replace('35:0', '36:0')));
  await maker.close();
  // Eight megabytes of one byte pack into some eight kilobytes.
  const bomb = deflateRawSync(Buffer.alloc(8 << 20, 'A'), { level: 9 }).toString('base64url');
  const bad = [
    ['#cut=<script>alert(1)</script>', /not a cut link/],
    [link.slice(0, link.length - 40), /cut short/],
    [link.replace('#cut=1.', '#cut=2.'), /format 2/],
    ['#cut=1.' + bomb, /unpacks to more than 1 MB/],
    [failing.slice(failing.indexOf('#')), /problem at line \d+: .*36:0/],
    ['#cut=', /holds no cut/],
  ];
  for (const [hash, expected] of bad) {
    const page = await openPage(browser, base + hash, errors);
    if (!(await waitFor(page, playOffered, 'the page loads with a bad cut', 60000))) continue;
    const message = await page.$eval('#message p', (element) => element.textContent);
    check(expected.test(message) && /own script/.test(message), `a bad cut link is explained ("${message}")`);
    await page.click('#message button');
    await page.click('#play');
    check(await waitFor(page, () => window.zemraPosition() !== '', 'the show plays', 10000),
      'after a bad cut link the show plays with its own script');
    await page.close();
  }
  check(errors.length === 0, 'no console errors with bad cut links' + (errors.length ? ': ' + errors.join(' | ') : ''));
}

// The preview tags, and the poster they name.
export async function previewTags(browser, base) {
  const page = await browser.newPage();
  await page.goto(base);
  const tags = await page.evaluate(() => Object.fromEntries(
    [...document.querySelectorAll('meta[property^="og:"], meta[name^="twitter:"]')]
      .map((meta) => [meta.getAttribute('property') || meta.getAttribute('name'), meta.content])));
  check(tags['og:title'] && tags['og:description'] && tags['twitter:card'] === 'summary_large_image',
    `the page carries a title, a description and the large-summary card (${JSON.stringify(tags)})`);
  const size = await page.evaluate(async (src) => {
    const image = new Image();
    image.src = src;
    await image.decode();
    return [image.naturalWidth, image.naturalHeight];
  }, tags['og:image']);
  check(size[0] === 1200 && size[1] === 630, `the poster is there, ${size[0]} x ${size[1]}`);
  await page.close();
}
