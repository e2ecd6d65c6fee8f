// Study mode's script editor, used as a person would on a wide window: a
// click on a row's position in the text jumps the show there, a click on a
// row of the panel's "rows run last" list shows its line, and the edit of
// the checked-in cut (tests/golden/cut_link.txt: a fade changed, a track
// added, a flash moved), typed with the keyboard and its search, plays once
// the typing stops; "Copy link" then makes that very link. Gives the link,
// whose exact frames cut_checks.mjs compares with the desktop render's.
import { readFileSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { check, openPage, sleep, waitFor } from './page_checks.mjs';

const golden = join(dirname(fileURLToPath(import.meta.url)), '..', 'golden');

// Finds `query` with the editor's search (Ctrl+F, from the caret on) and
// leaves it selected.
async function find(page, query) {
  await page.keyboard.down('Control');
  await page.keyboard.press('f');
  await page.keyboard.up('Control');
  await page.waitForSelector('.cm-search input[name=search]');
  await page.keyboard.down('Control');
  await page.keyboard.press('a');
  await page.keyboard.up('Control');
  await page.keyboard.type(query);
  await page.keyboard.press('Enter');
  await page.keyboard.press('Escape');
}

// A click into the text where it shows, as a person clicks.
async function clickIntoText(page) {
  const box = await page.evaluate(() => JSON.parse(JSON.stringify(document.querySelector('.cm-scroller').getBoundingClientRect())));
  await page.mouse.click(box.left + 200, box.top + 40);
}

// The client point of the canvas pixel (x, y).
const clientPoint = (page, x, y) => page.evaluate((at) => {
  const canvas = document.getElementById('screen');
  const box = canvas.getBoundingClientRect();
  return { x: box.left + ((at.x + 0.5) * box.width) / canvas.width, y: box.top + ((at.y + 0.5) * box.height) / canvas.height };
}, { x, y });

export async function editorCut(browser, base, out) {
  const link = readFileSync(join(golden, 'cut_link.txt'), 'utf8').trim();
  const errors = [];
  const page = await openPage(browser, base + '#study', errors, { width: 1920, height: 1000 });
  if (!(await waitFor(page, () => window.zemraStudy && zemraStudy.active() && zemraStudy.passes > 2,
    'study mode opens with the editor', 60000))) return null;
  const layout = await page.evaluate(() => {
    const pane = document.getElementById('editor').getBoundingClientRect();
    const canvas = document.getElementById('screen').getBoundingClientRect();
    return { paneLeft: pane.left, paneWidth: pane.width, canvasRight: canvas.right };
  });
  check(layout.paneWidth >= 520 && layout.canvasRight <= layout.paneLeft,
    `the editor stands beside the picture (${Math.round(layout.paneWidth)} CSS pixels wide)`);

  // A click on the position of the tunnel's first row jumps there.
  await clickIntoText(page);
  await find(page, 'seteffect  "tunnelefu"');
  const row = await page.evaluate(() => {
    const line = [...document.querySelectorAll('.cm-line')].find((element) => element.textContent.startsWith('9:0 '));
    const box = line.getBoundingClientRect();
    return { x: box.left + 6, y: box.top + box.height / 2 };
  });
  await page.mouse.click(row.x, row.y);
  check(await waitFor(page, () => window.zemraPosition().startsWith('9:'), 'a click on 9:0 jumps there', 20000),
    'a click on a row\'s position in the editor jumps the show there');

  // A click on a row the panel lists puts the editor's caret on its line.
  const listed = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const x = canvas.width - 100;
    for (let y = canvas.height - 1; y >= 0; y -= 2) {
      const line = Module._zemra_study_row_line(x, y);
      if (line > 0) return { x, y, line };
    }
    return null;
  });
  if (listed) {
    const at = await clientPoint(page, listed.x, listed.y);
    await page.mouse.click(at.x, at.y);
    check(await page.evaluate((line) => zemraEditor.line() === line, listed.line),
      `a click on a listed row shows its line (${listed.line}) in the editor`);
  } else {
    check(false, 'the panel lists the rows run at 9:0');
  }

  // The cut's three edits, typed.
  await clickIntoText(page);
  await page.keyboard.down('Control');
  await page.keyboard.press('Home');
  await page.keyboard.up('Control');
  await find(page, 'slow loopmode=stop length=7500');
  await page.keyboard.type('linear loopmode=stop length=3000');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('End');
  await page.keyboard.press('Enter');
  await page.keyboard.type('1:0 worldefu setparam "param=worldangle mode=sin length=2000 value0=0 value1=64"');
  await find(page, '5:0     blitter');
  await page.keyboard.type('5:16    blitter');
  const applied = await waitFor(page, () => zemraEditor.applies > 0 && zemraEditor.report === '' &&
    /5:16 {4}blitter/.test(zemraEditor.text()), 'the typed edit plays', 20000);
  check(applied, 'the typed edit plays once the typing stops');
  await sleep(300);
  await page.screenshot({ path: join(out, 'editor.png') });

  await page.evaluate(() => [...document.querySelectorAll('#editor button')]
    .find((button) => button.textContent === 'Copy link').click());
  await waitFor(page, () => zemraEditor.link !== '', 'Copy link makes a link', 5000);
  const made = await page.evaluate(() => zemraEditor.link);
  check(made === base + link, `Copy link gives the cut's link (${made.length} characters)`);
  // The edit outlives a reload of the page until Reset.
  await page.reload();
  if (await waitFor(page, () => window.zemraEditor && zemraEditor.applies > 0, 'the kept edit plays again', 60000)) {
    check(await page.evaluate(() => /5:16 {4}blitter/.test(zemraEditor.text())), 'the edit outlives a reload');
    await page.evaluate(() => [...document.querySelectorAll('#editor button')]
      .find((button) => button.textContent.startsWith('Reset')).click());
    check(await page.evaluate(() => zemraEditor.text() === zemraCut.text() &&
      localStorage.getItem('zemra.edit') === null), 'Reset brings the show\'s own script back');
  }
  check(errors.length === 0, 'no console errors in the editor' + (errors.length ? ': ' + errors.join(' | ') : ''));
  await page.close();
  return made.slice(made.indexOf('#'));
}
