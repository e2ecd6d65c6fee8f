#pragma once
// Study mode's loop over its window: inputs are taken and done, the show
// plays on, and the picture with its panel is drawn again when something
// changed (an input, a frame played, the show pausing at its end).
//
// Steps back and jumps can take a moment (a replay from the jump); the
// window's inputs are read meanwhile: Escape or closing the window ends
// study mode at once, other inputs wait and are done after it.

#include <functional>

#include "platform/study_window.h"
#include "study/study_session.h"
#include "study/study_view.h"

// Runs until Escape or the window's close button. `poll`, when given, is
// asked on each pass whether something changed that needs drawing.
void runStudyLoop(StudySession& session, StudyView& view, StudyWindow& window, std::function<bool()> poll = {});
