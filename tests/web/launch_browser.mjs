// Starts the headless browser for the page's tests so that it cannot
// outlive them: the browser is started through setpriv with a parent-death
// signal, so when the test's process ends in any way (a CI timeout's
// kill -9 included) the kernel kills the browser, and its own helper
// processes (zygotes, renderers, the GPU and audio services) end with it.
// The signal must reach the browser itself, not a script that starts it:
// ZEMRA_BROWSER names the browser's binary.
import { existsSync } from 'node:fs';
import puppeteer from 'puppeteer-core';

const defaultBrowser = '/usr/lib/chromium/chromium-headless-shell';

export function launchBrowser(args) {
  const browserPath = process.env.ZEMRA_BROWSER || defaultBrowser;
  if (!existsSync(browserPath)) throw new Error(`no browser at ${browserPath} (set ZEMRA_BROWSER)`);
  // Puppeteer's own arguments for a headless shell, then ours, after the
  // browser's path: setpriv is the program started, the browser its command.
  const browserArgs = puppeteer.defaultArgs({ headless: 'shell', args });
  return puppeteer.launch({
    executablePath: '/usr/bin/setpriv',
    headless: 'shell',
    ignoreDefaultArgs: true,
    args: ['--pdeathsig', 'KILL', '--', browserPath, ...browserArgs],
  });
}
