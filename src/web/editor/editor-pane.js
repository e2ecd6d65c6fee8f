// Study mode's script editor: the script playing as text, beside the picture
// on a wide screen or in a panel that opens with a button on a narrow one.
// A text that passes the checks takes effect half a second after the typing
// stops, or at once on Ctrl+S / Cmd+S or Apply: the module plays it from the
// frame shown, as the desktop's study mode does when its script file is
// saved; one with problems leaves the show as it was and has its problems
// underlined at their lines. The edit is kept in the browser's storage until
// Reset. Copy link, Download, Open and a file dropped on the page carry the
// script to and from other people. The script is only ever set as text,
// never as HTML: a link or a file is data.
//
// Bundled by esbuild into the site as editor.js (the build runs npm ci here).
import { EditorState } from '@codemirror/state';
import {
  EditorView, keymap, lineNumbers, drawSelection, highlightActiveLine, highlightActiveLineGutter,
} from '@codemirror/view';
import { defaultKeymap, history, historyKeymap } from '@codemirror/commands';
import { search, searchKeymap, highlightSelectionMatches } from '@codemirror/search';
import { lintGutter, lintKeymap, setDiagnostics } from '@codemirror/lint';
import { syntaxHighlighting } from '@codemirror/language';
import { darkTheme, scriptColours, scriptLanguage } from './script-colours.js';

const applyDelayMs = 500;
const minPaneWidth = 520; // CSS pixels, some 70 columns: narrower, the editor opens as a panel over the picture
const maxFileBytes = 1 << 20; // the show's own script is some 17 KB
const maxLinkLength = 8000; // past this a link is no way to share (show/cut_link.h says why)

// --- The pane ------------------------------------------------------------

const style = document.createElement('style');
style.textContent = `
  #editor { position: fixed; box-sizing: border-box; display: flex; flex-direction: column; background: #14110d;
            border-left: 1px solid #3a3020; user-select: text; -webkit-user-select: text; touch-action: auto;
            z-index: 2; }
  #editor[hidden], #editor-toggle[hidden], #editor .link[hidden] { display: none; }
  #editor.beside { top: 0; bottom: 0; right: 0; }
  #editor.over { left: 0; right: 0; bottom: 0; height: 62%; border-top: 1px solid #6a5a40; }
  .sideways #editor.over { left: auto; top: 0; height: auto; width: 68%; }
  #editor .tools { display: flex; flex-wrap: wrap; gap: 6px; padding: 6px; }
  #editor .tools button, #editor-toggle { font-size: 13px; padding: 5px 12px; border-radius: 14px; }
  #editor .host { flex: 1; min-height: 0; }
  #editor .status { font-size: 13px; padding: 4px 8px; min-height: 18px; white-space: pre-wrap; color: #a89e88; }
  #editor .status.problem { color: #f0a070; }
  #editor .link { margin: 0 8px 6px; font: 12px ui-monospace, monospace; background: #0c0a08; color: #d8d2c4;
                  border: 1px solid #3a3020; padding: 4px; }
  #editor-toggle { position: fixed; top: 8px; right: 8px; z-index: 3; }
`;
document.head.appendChild(style);

function element(tag, props = {}, parent = null) {
  const made = Object.assign(document.createElement(tag), props);
  if (parent) parent.appendChild(made);
  return made;
}

const touchScreen = navigator.maxTouchPoints > 0 ||
  Boolean(window.matchMedia && matchMedia('(any-pointer: coarse)').matches);
const pane = element('aside', { id: 'editor', hidden: true });
pane.setAttribute('aria-label', 'The script');
const tools = element('div', { className: 'tools' }, pane);
const button = (label, action) => {
  const made = element('button', { textContent: label }, tools);
  made.addEventListener('click', action);
  return made;
};
const host = element('div', { className: 'host' }, pane);
const statusLine = element('div', { className: 'status' }, pane);
statusLine.setAttribute('aria-live', 'polite');
const linkBox = element('input', { className: 'link', readOnly: true, hidden: true }, pane);
linkBox.setAttribute('aria-label', 'The link');
const filePicker = element('input', { type: 'file', accept: '.txt,text/plain', hidden: true }, pane);
const toggle = element('button', { id: 'editor-toggle', textContent: 'Script', hidden: true });
document.body.append(pane, toggle);

// Keys typed here are the editor's, not study mode's or the page's; a long
// press opens the browser's own menu (copy, paste).
pane.addEventListener('contextmenu', (event) => event.stopPropagation());

function say(text, problem = false) {
  statusLine.textContent = text;
  statusLine.classList.toggle('problem', problem);
}

// --- The text and its storage --------------------------------------------

let view = null;
let base = ''; // the script the page plays unedited: the link's cut, or the show's own
let studyOpen = false;
let tried = null; // the text last handed to the module
let playing = null; // the text study mode plays (it passed the checks)
let applyTimer = 0;
let besideNow = false;
let overOpen = false;
let problemAt = new Map(); // the last check's problems by line number
const editor = { applies: 0, link: '', report: '' }; // what tests and the curious read

// Each cut link keeps its own edit; the plain page one of its own.
const storageKey = () => 'zemra.edit' + (window.zemraCut && zemraCut.opened ? ':' + zemraCut.opened : '');
function stored() {
  try {
    return localStorage.getItem(storageKey());
  } catch {
    return null; // storage refused (a private window): the edit lasts this visit
  }
}
function store(text) {
  try {
    if (text === base) localStorage.removeItem(storageKey());
    else localStorage.setItem(storageKey(), text);
  } catch {
    // Not kept: the edit still holds for this visit.
  }
}

// The module takes a text up to its first NUL: one pasted or read from a
// file would hide the rest from the checks, so it goes as U+FFFD, which the
// checks refuse in a row.
const textNow = () => view.state.doc.toString().replaceAll('\0', '\uFFFD');

function setText(text) {
  view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
}

// The editor, made once the module can say what the script is.
function ensureView() {
  if (view) return;
  base = zemraCut.text();
  view = new EditorView({
    parent: host,
    state: EditorState.create({
      doc: stored() ?? base,
      extensions: [
        lineNumbers(), highlightActiveLineGutter(), history(), drawSelection(), highlightActiveLine(),
        highlightSelectionMatches(), search({ top: true }), lintGutter(),
        scriptLanguage, syntaxHighlighting(scriptColours), darkTheme,
        keymap.of([
          { key: 'Mod-s', preventDefault: true, run: () => { applyNow(true); return true; } },
          ...defaultKeymap, ...historyKeymap, ...searchKeymap, ...lintKeymap,
        ]),
        EditorView.updateListener.of((update) => {
          if (update.selectionSet && !update.docChanged) sayProblemAtCaret();
          if (!update.docChanged) return;
          store(textNow());
          clearTimeout(applyTimer);
          applyTimer = setTimeout(() => applyNow(false), applyDelayMs);
        }),
        EditorView.domEventHandlers({ click: jumpToClickedPosition }),
      ],
    }),
  });
}

// --- Applying ------------------------------------------------------------

// The module's report, "script:LINE: message" a line, as the editor's
// underlines (a line past the text's end marks its last line).
function diagnostics(report) {
  const found = [];
  problemAt = new Map();
  for (const line of report.split('\n')) {
    const match = /^script:(\d+): (.*)$/.exec(line);
    if (!match || Number(match[1]) < 1) continue;
    const at = view.state.doc.line(Math.min(Number(match[1]), view.state.doc.lines));
    found.push({ from: at.from, to: at.to, severity: 'error', message: match[2] });
    if (!problemAt.has(at.number)) problemAt.set(at.number, match[2]);
  }
  return found;
}

// The caret on a line with a problem (a tap, where nothing hovers) names it.
function sayProblemAtCaret() {
  const number = view.state.doc.lineAt(view.state.selection.main.head).number;
  if (problemAt.has(number)) say(`Line ${number}: ${problemAt.get(number)}`, true);
}

// Hands the text to study mode: at once for Ctrl+S and Apply (`again`: even
// when it is the text tried last), else only when it changed.
function applyNow(again) {
  clearTimeout(applyTimer);
  if (!studyOpen || !view) return;
  const text = textNow();
  if (text === tried && !again) return;
  tried = text;
  const report = Module.ccall('zemra_study_apply_script', 'string', ['string'], [text]);
  editor.report = report;
  view.dispatch(setDiagnostics(view.state, diagnostics(report)));
  if (report === '') {
    playing = text;
    editor.applies += 1;
    say('Applied: the show plays this script from the frame shown.');
  } else {
    const problems = report.split('\n').filter(Boolean);
    say((problems.length === 1 ? 'A problem' : problems.length + ' problems') + ', the show plays on as it was: ' +
        problems[0].replace(/^script:/, 'line '), true);
  }
}

// --- Rows and positions --------------------------------------------------

// A click on a row's ORDER:ROW jumps the show there; the caret goes there too.
function jumpToClickedPosition(event, target) {
  if (!studyOpen) return false;
  const at = target.posAtCoords({ x: event.clientX, y: event.clientY });
  if (at === null) return false;
  const line = target.state.doc.lineAt(at);
  const match = /^(\s*)(\d+:\d+)/.exec(line.text);
  if (!match) return false;
  const from = line.from + match[1].length;
  if (at < from || at > from + match[2].length) return false;
  Module.ccall('zemra_study_jump', 'number', ['string'], [match[2]]);
  return false;
}

// Shows line `number` with the caret at its start.
function revealLine(number) {
  if (!view || number < 1 || number > view.state.doc.lines) return;
  if (!besideNow) showOver(true);
  const line = view.state.doc.line(number);
  view.dispatch({ selection: { anchor: line.from, head: line.to }, scrollIntoView: true });
}

// A click on a row of the panel's "rows run last" list shows its line.
function canvasRowClick(event) {
  if (!studyOpen || !view) return;
  const canvas = event.currentTarget;
  const box = canvas.getBoundingClientRect();
  const x = Math.floor(((event.clientX - box.left) * canvas.width) / box.width);
  const y = Math.floor(((event.clientY - box.top) * canvas.height) / box.height);
  revealLine(Module._zemra_study_row_line(x, y));
}
document.getElementById('screen').addEventListener('pointerdown', canvasRowClick);

// --- Files and links -----------------------------------------------------

function download() {
  const url = URL.createObjectURL(new Blob([view.state.doc.toString()], { type: 'text/plain' }));
  const anchor = element('a', { href: url, download: 'zemra-script.txt' });
  anchor.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// A script file from the picker or dropped on the page: it replaces the
// editor's text (undo brings the old back) and is applied at once.
async function openFile(file) {
  if (!window.Module || !Module.calledRun) return;
  if (file.size > maxFileBytes) {
    zemraPage.message(`${file.name} is ${file.size} bytes: a script file is text of some 17 KB, at most 1 MiB here.`);
    return;
  }
  const text = await file.text();
  ensureView();
  setText(text);
  if (studyOpen) applyNow(true);
  else document.getElementById('study').click(); // study mode opens with the file's script
}

// The address of the script playing (what the person sees and hears),
// copied where the browser lets the page; in the box below in any case.
async function copyLink() {
  const text = playing ?? base;
  const address = zemraCut.address(text);
  const advice = zemraCut.advice(address);
  if (address.length > maxLinkLength) {
    editor.link = '';
    linkBox.hidden = true;
    say(advice + ' Download saves it.', true);
    downloadButton.focus();
    return;
  }
  editor.link = address;
  linkBox.value = address;
  linkBox.hidden = false;
  linkBox.select();
  let copied = false;
  try {
    await navigator.clipboard.writeText(address);
    copied = true;
  } catch {
    // No clipboard here (a headless browser, a refusal): the box holds it.
  }
  const notes = [copied ? 'Link copied.' : 'The link is in the box below.'];
  if (advice) notes.push(advice);
  if (text !== textNow()) notes.push('It carries the script playing: the text has problems.');
  say(notes.join(' '), Boolean(advice));
}

function reset() {
  setText(base);
  applyNow(true);
  say('The show\'s own script again' + (zemraCut.opened ? ' (the link\'s).' : '.'));
}

const applyButton = button('Apply', () => applyNow(true));
applyButton.hidden = !touchScreen;
button('Copy link', copyLink);
const downloadButton = button('Download', download);
button('Open\u2026', () => filePicker.click());
button('Reset to the show\'s own script', reset);
const closeButton = button('Close', () => showOver(false));
filePicker.addEventListener('change', () => {
  if (filePicker.files.length) openFile(filePicker.files[0]);
  filePicker.value = '';
});
addEventListener('dragover', (event) => {
  if (event.dataTransfer && [...event.dataTransfer.types].includes('Files')) event.preventDefault();
});
addEventListener('drop', (event) => {
  if (!event.dataTransfer || !event.dataTransfer.files.length) return;
  event.preventDefault();
  openFile(event.dataTransfer.files[0]);
});
// Ctrl+S / Cmd+S anywhere in study mode applies, and saves no page.
addEventListener('keydown', (event) => {
  if (studyOpen && (event.ctrlKey || event.metaKey) && (event.key === 's' || event.key === 'S')) {
    event.preventDefault();
    applyNow(true);
  }
});

// --- Layout --------------------------------------------------------------

// On a narrow screen the pane opens over the picture.
function showOver(open) {
  overOpen = open;
  pane.hidden = !studyOpen || (!besideNow && !open);
  toggle.hidden = !studyOpen || besideNow || open;
  if (open && view) view.focus();
}
toggle.addEventListener('click', () => showOver(true));

// The room the pane takes at the right of a `width` x `height` canvas, in
// CSS pixels (page.js leaves it free): all that the picture at its largest
// whole-device-pixel size leaves, where that is at least minPaneWidth and
// the picture keeps a CSS pixel for each of its own; else none (the pane
// opens over the picture: a phone keeps its picture large).
function room(width, height, side) {
  if (!studyOpen) return 0;
  const ratio = window.devicePixelRatio || 1;
  besideNow = innerWidth - 2 * side - minPaneWidth >= width;
  const across = (innerWidth - 2 * side - minPaneWidth) * ratio;
  closeButton.hidden = besideNow;
  pane.classList.toggle('beside', besideNow);
  pane.classList.toggle('over', !besideNow);
  showOver(overOpen);
  if (!besideNow) return 0;
  const times = Math.max(1, Math.floor(Math.min(across / width, (innerHeight * ratio) / height)));
  const paneWidth = Math.floor(innerWidth - 2 * side - (width * times) / ratio);
  pane.style.width = paneWidth + 'px';
  return paneWidth;
}

// Study mode opened: the editor shows the edit kept, or the script playing;
// an edit other than the script playing is applied at once.
function opened() {
  ensureView();
  studyOpen = true;
  tried = base;
  playing = base;
  overOpen = false;
  showOver(false);
  if (textNow() !== base) applyNow(true);
  else say('Edit the script: it plays half a second after you stop typing.');
}

function closed() {
  studyOpen = false;
  clearTimeout(applyTimer);
  showOver(false);
}

window.zemraEditor = Object.assign(editor, {
  room, opened, closed,
  text: () => (view ? textNow() : ''),
  line: () => (view ? view.state.doc.lineAt(view.state.selection.main.head).number : 0), // the caret's
});
