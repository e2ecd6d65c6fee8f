// The show's entry points for the page (src/web/page/page.js calls them):
// the live show, started at a position and driven by the page's animation
// frames; study mode, driven alike, with the page's inputs; and the exact
// mode, which makes the offline render's frames.

#include <emscripten.h>

#include <memory>
#include <string>

#include "app/effect_warm_up.h"
#include "app/seek.h"
#include "app/timeline.h"
#include "app/version.h"
#include "show/builtin_show.h"
#include "web/cut_page.h"
#include "web/exact_show.h"
#include "web/live_show.h"
#include "web/study_page.h"

namespace {

std::unique_ptr<LiveShow> live;
std::unique_ptr<StudyPage> study;
std::unique_ptr<ExactShow> exact;
std::unique_ptr<EffectWarmUp> warmUp;
std::string answer;  // the text handed back last; the page copies it at once
bool upright = false;  // the page's screen is taller than wide
bool gentle = false;   // the page's "Gentle" switch: the picture held under the flash thresholds

// The show the page plays: the built-in one, with the cut of a link where
// one is open, gentle when asked.
ShowDefinition pageShow() {
    ShowDefinition show = withOpenedCut(builtInShow());
    show.gentle = gentle;
    return show;
}

const char* answerWith(std::string text) {
    answer = std::move(text);
    return answer.c_str();
}

// The start a position names: the whole show for an empty text.
bool planFrom(const std::string& text, StartPoint& start, std::string& reason) {
    start = showStart();
    if (text.empty()) return true;
    SongPosition position;
    if (!parseSongPosition(text, position)) {
        reason = "The address's #" + text + " is no music position ORDER:ROW, such as #9:0";
        return false;
    }
    const ShowDefinition show = pageShow();
    SongTimeline timeline;
    if (!timeline.loadModuleOf(*show.assets)) {
        reason = "Module not found.";
        return false;
    }
    reason = outsideSong("The start", position, timeline, false);
    if (!reason.empty()) return false;
    start = planStart(timeline, show.script, position);
    return true;
}

}  // namespace

StudyPage* openStudyPage() { return study.get(); }

extern "C" {

// The program's version, with the commit it was built from where known.
EMSCRIPTEN_KEEPALIVE const char* zemra_version() {
    const std::string commit = zemraCommit();
    return answerWith(std::string(zemraVersion()) + (commit.empty() ? "" : " (commit " + commit + ")"));
}

// Why `position` (ORDER:ROW, or empty for the beginning) is not a place to
// start; empty when it is.
EMSCRIPTEN_KEEPALIVE const char* zemra_check_position(const char* position) {
    StartPoint start;
    std::string reason;
    planFrom(position, start, reason);
    return answerWith(reason);
}

// Decodes the pictures of one more of the show's effects ahead of the show
// (the page calls it when the browser is idle); 0 once all are decoded.
EMSCRIPTEN_KEEPALIVE int zemra_warm_up() {
    if (!warmUp) warmUp = std::make_unique<EffectWarmUp>(builtInShow());
    return warmUp->step() ? 1 : 0;
}

// Starts the show at `position` (checked before), replacing one playing.
// 1 when it runs; 0 after a failure, which the page has been shown.
EMSCRIPTEN_KEEPALIVE int zemra_play(const char* position) {
    live.reset();
    study.reset();
    StartPoint start;
    std::string reason;
    if (!planFrom(position, start, reason)) start = showStart();
    live = std::make_unique<LiveShow>(std::move(start), pageShow());
    live->setUpright(upright);
    if (live->start()) return 1;
    live.reset();
    return 0;
}

// One animation frame of the live show: 1 while it goes on, 0 once over.
EMSCRIPTEN_KEEPALIVE int zemra_frame() {
    if (live && live->frame()) return 1;
    live.reset();
    return 0;
}

// The tab shown and focused (1) or not: the show holds while it is not.
EMSCRIPTEN_KEEPALIVE void zemra_set_active(int active) {
    if (live) live->setActive(active != 0);
    if (study) {
        study->post({active != 0 ? StudyInput::FocusGained : StudyInput::FocusLost});
        // Done now: a hidden page gets no animation frames to do it in.
        if (!study->pass()) study.reset();
    }
}

// The picture upright (1: 240 x 320) or turned (0: 320 x 240), for the show
// playing and those started later; a show playing paints its last frame so
// at once.
EMSCRIPTEN_KEEPALIVE void zemra_set_upright(int on) {
    upright = on != 0;
    if (live) live->setUpright(upright);
    if (study) study->setUpright(upright);
}

// The gentle mode (1) or the show's own picture (0), for the shows started
// from now on.
EMSCRIPTEN_KEEPALIVE void zemra_set_gentle(int on) { gentle = on != 0; }

// The music position being heard, or in study mode the frame shown's,
// ORDER:ROW; empty when nothing plays.
EMSCRIPTEN_KEEPALIVE const char* zemra_position() {
    if (study) return answerWith(formatSongPosition(study->position()));
    return answerWith(live ? formatSongPosition(live->position()) : std::string());
}

// Opens study mode at `position` (checked before; empty for the start),
// paused (1) or playing (0), replacing whatever played. 1 when it runs; 0
// after a failure, which the page has been shown.
EMSCRIPTEN_KEEPALIVE int zemra_study_start(const char* position, int paused) {
    live.reset();
    study.reset();
    exact.reset();
    SongPosition at;
    if (*position != '\0' && !parseSongPosition(position, at)) at = {};
    study = std::make_unique<StudyPage>(pageShow());
    if (study->start(at, paused != 0, upright)) return 1;
    study.reset();
    return 0;
}

// One animation frame of study mode: 1 while it goes on, 0 once it has
// ended (Escape).
EMSCRIPTEN_KEEPALIVE int zemra_study_frame() {
    if (study && study->pass()) return 1;
    study.reset();
    return 0;
}

// Leaves study mode (the page's back button).
EMSCRIPTEN_KEEPALIVE void zemra_study_end() { study.reset(); }

// A key by the browser's name (KeyboardEvent.key), done at the next frame.
// 1 when it is one of study mode's keys, which the page then keeps from
// the browser.
EMSCRIPTEN_KEEPALIVE int zemra_study_key(const char* name, int repeat) {
    const StudyKey key = WebStudyWindow::keyNamed(name);
    if (!study || key == StudyKey::Other) return 0;
    study->post({StudyInput::Key, key, repeat != 0});
    return 1;
}

// A click or touch (drag 0) or the place a held one has moved to (drag 1),
// in the canvas's pixels.
EMSCRIPTEN_KEEPALIVE void zemra_study_pointer(int x, int y, int drag) {
    if (study) study->post({drag != 0 ? StudyInput::Drag : StudyInput::Click, StudyKey::Other, false, x, y});
}

// Whether the canvas's pixel (x, y) lies on the timeline.
EMSCRIPTEN_KEEPALIVE int zemra_study_on_timeline(int x, int y) { return study && study->onTimeline(x, y) ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE int zemra_study_paused() { return study && study->paused() ? 1 : 0; }

// For the page's test: the frames kept to step back among (one: every step
// back makes its frame again, the slowest case), and the golden-frame line
// of the frame shown.
EMSCRIPTEN_KEEPALIVE void zemra_study_keep_frames(int frames) {
    if (study) study->keepFrames(frames);
}
EMSCRIPTEN_KEEPALIVE const char* zemra_study_line() { return answerWith(study ? study->frameLine() : std::string()); }

// Exact mode: starts the offline show at `position` (checked before; empty
// for the beginning), as `zemra --render --start` does. 1 on success.
EMSCRIPTEN_KEEPALIVE int zemra_exact_start(const char* position) {
    live.reset();
    study.reset();
    StartPoint start;
    std::string reason;
    if (!planFrom(position, start, reason)) start = showStart();
    exact = std::make_unique<ExactShow>(pageShow(), std::move(start));
    if (exact->start()) return 1;
    exact.reset();
    return 0;
}

// Makes up to `frames` more frames; the number made.
EMSCRIPTEN_KEEPALIVE int zemra_exact_advance(int frames) { return exact ? exact->advance(frames) : 0; }

// 1 while the live show or the exact mode waits for data its next frame needs.
EMSCRIPTEN_KEEPALIVE int zemra_waiting() { return (live && live->waiting()) || (exact && exact->waiting()) ? 1 : 0; }

// The golden-frame line of the exact mode's last frame.
EMSCRIPTEN_KEEPALIVE const char* zemra_exact_line() { return answerWith(exact ? exact->lastLine() : std::string()); }

}  // extern "C"

// The page drives everything; main only lets the runtime stay up.
int main() { return 0; }
