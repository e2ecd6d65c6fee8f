// Cut links in the page: an address with #cut=1.DATA opens the cut it
// carries (the module reads and checks the link exactly as the desktop's
// `zemra --cut` does; a bad one is explained and the show's own script
// plays), and a script text can be made into such an address. The script
// text never goes into the page as HTML: messages are set as text.
'use strict';

const cutLinks = {
  // The address names a cut.
  inAddress: () => location.hash.startsWith('#cut='),
  opened: '', // the #cut= address opened, which a return to it (from study mode) keeps
  // Opens the address's cut for the shows started from now on: '' when it
  // plays (or none is named), else the one-line message.
  openFromAddress() {
    if (!cutLinks.inAddress()) return '';
    cutLinks.opened = location.hash;
    return Module.ccall('zemra_cut_open', 'string', ['string'], [location.hash]);
  },
  // The page's address with the cut of a script text, and what to tell the
  // person sharing it ('' when it goes anywhere; else chat programs may cut
  // it, or it is too long and a file is the way).
  address(scriptText) {
    return location.origin + location.pathname + location.search +
      Module.ccall('zemra_cut_link', 'string', ['string'], [scriptText]);
  },
  advice: (address) => Module.ccall('zemra_cut_advice', 'string', ['number'], [address.length]),
  // The script text played: the opened cut's, or the show's own.
  text: () => Module.ccall('zemra_cut_text', 'string', [], []),
  close: () => Module._zemra_cut_close(),
};
window.zemraCut = cutLinks;
