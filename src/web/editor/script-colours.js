// The script editor's look: the script's fields in their colours (a
// stream tokenizer: no grammar is needed for one row a line) and the
// editor in the page's dark colours.
import { EditorView } from '@codemirror/view';
import { StreamLanguage, HighlightStyle } from '@codemirror/language';
import { tags } from '@lezer/highlight';

// ORDER:ROW  TARGET  COMMAND  "ARGUMENT" # comment; in a parameter string
// the names (param=, mode=...) stand apart from their values.
export const scriptLanguage = StreamLanguage.define({
  name: 'zemra-script',
  startState: () => ({ field: 0, inString: false }),
  token(stream, state) {
    if (stream.sol()) Object.assign(state, { field: 0, inString: false }); // a string left open ends with its line
    if (state.inString) {
      if (stream.eat('"')) {
        state.inString = false;
        return 'string';
      }
      if (stream.eatSpace()) return 'string';
      if (stream.match(/^[A-Za-z0-9_]+=/)) return 'propertyName';
      stream.match(/^[^\s"]+/);
      return 'string';
    }
    if (stream.eatSpace()) return null;
    if (stream.peek() === '#') {
      stream.skipToEnd();
      return 'comment';
    }
    state.field += 1;
    if (stream.eat('"')) {
      state.inString = true;
      return 'string';
    }
    stream.match(/^[^\s"#]+/);
    return ['number', 'variableName', 'keyword'][state.field - 1] || 'string';
  },
});

export const scriptColours = HighlightStyle.define([
  { tag: tags.number, color: '#f0c070' },
  { tag: tags.variableName, color: '#8cc4ec' },
  { tag: tags.keyword, color: '#dca0e6' },
  { tag: tags.string, color: '#a6d488' },
  { tag: tags.propertyName, color: '#e89a6c' },
  { tag: tags.comment, color: '#80786a', fontStyle: 'italic' },
]);

export const darkTheme = EditorView.theme({
  '&': { height: '100%', backgroundColor: '#14110d', color: '#d8d2c4', fontSize: '13px' },
  '.cm-content': { caretColor: '#f0c070', fontFamily: 'ui-monospace, "DejaVu Sans Mono", monospace' },
  '.cm-gutters': { backgroundColor: '#1b1712', color: '#6f6656', border: 'none' },
  '.cm-activeLine, .cm-activeLineGutter': { backgroundColor: '#221c14' },
  '&.cm-focused .cm-selectionBackground, .cm-selectionBackground': { backgroundColor: '#4a3a20 !important' },
  '.cm-cursor': { borderLeftColor: '#f0c070' },
  '.cm-panels': { backgroundColor: '#1b1712', color: '#d8d2c4' },
  '.cm-searchMatch': { backgroundColor: '#5a4a20' },
  '.cm-tooltip': { backgroundColor: '#161310', border: '1px solid #6a5a40' },
}, { dark: true });
