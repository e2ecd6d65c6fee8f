#pragma once
// Study mode's keys and clicks:
//   Space        pause and resume, picture and music together
//   . and ,      while paused, one frame on or back
//   Left, Right  the previous or next scene's start
//   Up, Down     one order earlier or later
//   PageUp/Down  16 rows earlier or later
//   Home         the start of the show
//   a click or a drag on the timeline: the row playing at that moment
//   a click on the picture: pause and resume (a tap on a phone)
//   Escape or the window's close button: the end
// Losing the window's focus pauses, regaining it resumes what it paused.
//
// Jumps and steps back start the show again, which takes a moment; keys
// held down or pressed quickly are gathered and done at once by flush():
// three PageDowns jump 48 rows, five commas step five frames back, a drag
// along the timeline jumps once, to where it has got.

#include <optional>

#include "platform/study_window.h"
#include "study/study_navigation.h"
#include "study/study_session.h"
#include "study/study_view.h"

class StudyControls {
public:
    StudyControls(StudySession& session, const StudyView& view) : session_(session), view_(view) {}
    // Takes one input; false when study mode should end.
    bool apply(const StudyInput& input);
    // Does the jump or the steps back gathered so far.
    void flush();

private:
    void jump(Jump kind);
    void jumpTo(SongPosition target);
    // Whether an input is gathered with those before it rather than done after them.
    bool gathers(const StudyInput& input) const;

    std::optional<SongPosition> pendingJump_;
    long pendingBack_ = 0;

    StudySession& session_;
    const StudyView& view_;
    bool pausedForFocus_ = false;
};
