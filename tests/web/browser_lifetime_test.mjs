// The browser of the page's tests does not outlive them: a test process
// that starts it (as page_test.mjs does), opens a page that plays sound and
// is then killed with SIGKILL (as a CI timeout does) leaves no browser
// process behind.
//
//   node tests/web/browser_lifetime_test.mjs
//
// Exits 0 when none is left within five seconds.
import { spawn } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { launchBrowser } from './launch_browser.mjs';

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// As the test process: the browser started, a page making sound, its pid said.
if (process.argv[2] === '--as-test') {
  const browser = await launchBrowser(['--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required']);
  const page = await browser.newPage();
  await page.goto('data:text/html,<p>tone</p>');
  await page.evaluate(() => {
    const context = new AudioContext();
    const tone = context.createOscillator();
    tone.connect(context.destination);
    tone.start();
  });
  console.log(`browser ${browser.process().pid}`);
  setInterval(() => {}, 1000);
} else {
  // Processes whose process group is `group` (the browser leads its own).
  const inGroup = (group) => readdirSync('/proc').filter((name) => {
    if (!/^\d+$/.test(name)) return false;
    try {
      // The fields after the command's closing parenthesis: state, ppid, pgrp.
      const stat = readFileSync(`/proc/${name}/stat`, 'utf8');
      return Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[2]) === group;
    } catch {
      return false;
    }
  });

  const child = spawn(process.execPath, [process.argv[1], '--as-test'], { stdio: ['ignore', 'pipe', 'inherit'] });
  let output = '';
  child.stdout.on('data', (data) => { output += data; });
  let browser = 0;
  for (let i = 0; i < 300 && !browser && child.exitCode === null; i++) {
    await sleep(100);
    browser = Number((/browser (\d+)/.exec(output) || [])[1] || 0);
  }
  let ok = false;
  if (!browser) {
    console.log('FAIL the test process did not start the browser');
    child.kill('SIGKILL');
  } else {
    const running = inGroup(browser).length;
    child.kill('SIGKILL');
    let left = running;
    for (let i = 0; i < 50 && left > 0; i++) {
      await sleep(100);
      left = inGroup(browser).length;
    }
    ok = running > 0 && left === 0;
    console.log(`${ok ? 'ok  ' : 'FAIL'} kill -9 of the test leaves no browser behind ` +
      `(${running} browser processes before, ${left} after)`);
    // Whatever is left is ended here, so that a failure costs no CPU.
    if (left > 0) process.kill(-browser, 'SIGKILL');
  }
  process.exit(ok ? 0 : 1);
}
