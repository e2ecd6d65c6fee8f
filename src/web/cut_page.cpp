// The page's functions for cut links (page.js calls them): make a link of a
// script text, open a link as the cut the page plays, and give the script
// text back. The link's format and checks are the desktop's
// (show/cut_link.h): a link opened here plays as `zemra --cut` plays it.

#include "web/cut_page.h"

#include <emscripten.h>

#include <memory>
#include <string>

#include "show/builtin_show.h"
#include "show/cut_link.h"

namespace {

struct OpenedCut {
    ScriptTable table;
    std::string text;
};

std::unique_ptr<OpenedCut> opened;
std::string answer;  // the text handed back last; the page copies it at once

const char* answerWith(std::string text) {
    answer = std::move(text);
    return answer.c_str();
}

}  // namespace

ShowDefinition withOpenedCut(ShowDefinition show) { return opened ? show.withScript(opened->table.rows()) : show; }

std::string playedScriptText() { return opened ? opened->text : scriptText(builtInShow().script); }

extern "C" {

// "#cut=1.DATA" for a script text, to put after the page's address.
EMSCRIPTEN_KEEPALIVE const char* zemra_cut_link(const char* scriptText) {
    return answerWith(cutFragment(scriptText));
}

// What to tell the person sharing an address of `length` characters: empty
// when it goes anywhere, else that chat programs may cut it or that a file
// is the way.
EMSCRIPTEN_KEEPALIVE const char* zemra_cut_advice(int length) {
    return answerWith(cutLinkAdvice(length > 0 ? static_cast<std::size_t>(length) : 0));
}

// Opens a link (the address, its #cut= part or 1.DATA) as the cut the
// shows started from now on play. Empty when it is open; else the one-line
// message, and the show's own script plays.
EMSCRIPTEN_KEEPALIVE const char* zemra_cut_open(const char* link) {
    auto cut = std::make_unique<OpenedCut>();
    SongTimeline timeline;
    std::string problem;
    opened.reset();
    if (!timeline.loadModuleOf(*builtInShow().assets)) return answerWith("Module not found.");
    if (!loadCutLink(link, timeline, cut->table, cut->text, problem)) return answerWith(problem);
    opened = std::move(cut);
    return answerWith({});
}

// Back to the show's own script.
EMSCRIPTEN_KEEPALIVE void zemra_cut_close() { opened.reset(); }

// The script text played: the opened cut's as it was shared, or the show's own.
EMSCRIPTEN_KEEPALIVE const char* zemra_cut_text() {
    return answerWith(playedScriptText());
}

}  // extern "C"
