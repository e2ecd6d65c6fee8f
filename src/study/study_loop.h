#pragma once
// Study mode's loop over its window: inputs are taken and done, the show
// plays on, and the picture with its panel is drawn again when something
// changed (an input, a frame played, the show pausing at its end).
//
// A pass does that once and returns: the desktop runs passes one after
// another (runStudyLoop), waiting for input while paused; a web page runs
// one at each of its animation frames.
//
// Steps back and jumps can take a moment (a replay from the jump); the
// window's inputs are read meanwhile: Escape or closing the window ends
// study mode at once, other inputs wait and are done after it. (A page's
// inputs cannot arrive while a pass runs: they are done at the next.)

#include <deque>
#include <functional>

#include "platform/study_window.h"
#include "study/study_controls.h"
#include "study/study_session.h"
#include "study/study_view.h"

class StudyLoop {
public:
    // `poll`, when given, is asked on each pass whether something changed
    // that needs drawing.
    StudyLoop(StudySession& session, StudyView& view, StudyWindow& window, std::function<bool()> poll = {});
    ~StudyLoop();
    StudyLoop(const StudyLoop&) = delete;
    StudyLoop& operator=(const StudyLoop&) = delete;

    // One pass. False once study mode has ended (Escape, the window closed),
    // then and at every later call.
    bool pass();
    // The picture is drawn at the next pass even if nothing changed (the
    // view was laid out anew).
    void redraw() { redraw_ = true; }

private:
    bool nextInput(StudyInput& input);

    StudySession& session_;
    StudyView& view_;
    StudyWindow& window_;
    std::function<bool()> poll_;
    StudyControls controls_;
    std::deque<StudyInput> waiting_;  // read during a replay, done after it
    bool quit_ = false;
    bool redraw_ = true;
};

// Runs passes until Escape or the window's close button, waiting for input
// between them while paused.
void runStudyLoop(StudySession& session, StudyView& view, StudyWindow& window, std::function<bool()> poll = {});
