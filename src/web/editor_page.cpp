// The page's functions for its script editor (src/web/editor/editor-pane.js
// calls them): put the edited text in place of the script study mode plays,
// find the script line of a row the panel lists, and jump to a row's
// position. The checks and the reload are the desktop's (study/script_apply.h).

#include <emscripten.h>

#include <string>

#include "anim/song_position.h"
#include "show/script_text.h"
#include "web/cut_page.h"
#include "web/study_page.h"

namespace {

std::string answer;  // the text handed back last; the page copies it at once

// The line of script row `row` in the text playing: the last text applied,
// or the page's own script while none is.
int lineOfRow(const StudyPage& page, std::size_t row) {
    if (const ScriptTable* applied = page.appliedScript())
        return row < applied->size() ? applied->lineOf(row) : 0;
    ScriptTable table;
    ScriptProblems problems;
    readScriptText(playedScriptText(), table, problems);
    return row < table.size() ? table.lineOf(row) : 0;
}

}  // namespace

extern "C" {

// Puts `text` in place of the script study mode plays, from the position
// shown. Empty when it plays; else the problems, one a line
// ("script:LINE: message"), and the show goes on as it was.
EMSCRIPTEN_KEEPALIVE const char* zemra_study_apply_script(const char* text) {
    StudyPage* page = openStudyPage();
    answer = page ? page->applyScript(text) : "script: study mode is not open\n";
    return answer.c_str();
}

// The script line (from 1) of the panel's "rows run last" line under the
// canvas's pixel (x, y); 0 where there is none.
EMSCRIPTEN_KEEPALIVE int zemra_study_row_line(int x, int y) {
    const StudyPage* page = openStudyPage();
    if (!page) return 0;
    const auto row = page->rowAt(x, y);
    return row ? lineOfRow(*page, *row) : 0;
}

// Jumps study mode to `position` (ORDER:ROW). 1 when it did; 0 for a text
// that is no position the song plays.
EMSCRIPTEN_KEEPALIVE int zemra_study_jump(const char* position) {
    StudyPage* page = openStudyPage();
    SongPosition at;
    return page && parseSongPosition(position, at) && page->jumpTo(at) ? 1 : 0;
}

}  // extern "C"
