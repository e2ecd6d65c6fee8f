// What the page's browser tests share: the checks said and counted, the
// measurements kept, and helpers to open a page, wait on it and look at its
// canvas.
export const failures = [];
export const report = {};
export function check(condition, what) {
  console.log(`${condition ? 'ok  ' : 'FAIL'} ${what}`);
  if (!condition) failures.push(what);
}
export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// The music position "ORDER:ROW" as a number that grows with it.
export function positionValue(text) {
  const match = /^(\d+):(\d+)$/.exec(text || '');
  return match ? Number(match[1]) * 1000 + Number(match[2]) : -1;
}

// Waits for `test` to hold in the page; a failed check `what` when it does not in time.
export async function waitFor(page, test, what, timeoutMs) {
  try {
    await page.waitForFunction(test, { timeout: timeoutMs, polling: 100 });
    return true;
  } catch {
    check(false, what);
    return false;
  }
}
// Mean brightness (0..255) and a coarse 8x6 thumbnail of the canvas.
export async function canvasLook(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const data = canvas.getContext('2d', { willReadFrequently: true }).getImageData(0, 0, canvas.width, canvas.height).data;
    let sum = 0;
    const cells = new Array(48).fill(0);
    for (let y = 0; y < canvas.height; y++) {
      for (let x = 0; x < canvas.width; x++) {
        const i = 4 * (y * canvas.width + x);
        const value = (data[i] + data[i + 1] + data[i + 2]) / 3;
        sum += value;
        cells[Math.floor((y * 6) / canvas.height) * 8 + Math.floor((x * 8) / canvas.width)] += value;
      }
    }
    const cellSize = (canvas.width * canvas.height) / 48;
    return { mean: sum / (canvas.width * canvas.height), cells: cells.map((c) => c / cellSize) };
  });
}

export function lookDistance(a, b) {
  return a.cells.reduce((total, value, i) => total + Math.abs(value - b.cells[i]), 0) / a.cells.length;
}

// A new page whose console errors, page errors and failed requests go to
// `errors`; it goes to `url` when one is given. A desktop window unless
// another viewport is given.
export async function openPage(browser, url, errors, viewport = { width: 960, height: 720 }) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('requestfailed', (request) => errors.push('request failed: ' + request.url()));
  if (url) await page.goto(url);
  return page;
}
