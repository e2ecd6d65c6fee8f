#include "study/study_loop.h"

#include <deque>

#include "study/study_controls.h"

namespace {

// While paused the loop waits this long for input between two looks.
constexpr int kPausedWaitMs = 30;

bool endsStudy(const StudyInput& input) {
    return input.kind == StudyInput::Close || (input.kind == StudyInput::Key && input.key == StudyKey::Escape);
}

}  // namespace

void runStudyLoop(StudySession& session, StudyView& view, StudyWindow& window, std::function<bool()> poll) {
    StudyControls controls(session, view);
    std::deque<StudyInput> waiting;  // read during a replay, done after it
    bool quit = false;
    session.setInterruptCheck([&] {
        StudyInput input;
        while (!quit && window.pollInput(input)) {
            if (endsStudy(input))
                quit = true;
            else
                waiting.push_back(input);
        }
        return quit;
    });
    const auto nextInput = [&](StudyInput& input) {
        if (waiting.empty()) return window.pollInput(input);
        input = waiting.front();
        waiting.pop_front();
        return true;
    };

    // While paused the picture is drawn again only after input or a change
    // of state: a held show costs nothing but waiting.
    for (bool redraw = true; !quit;) {
        StudyInput input;
        while (!quit && nextInput(input)) {
            quit = !controls.apply(input);
            redraw = true;
        }
        if (quit) break;
        controls.flush();
        if (quit) break;
        if (poll && poll()) redraw = true;
        const bool wasPlaying = !session.paused();
        session.update();
        if (redraw || wasPlaying) {
            view.draw(session);
            window.show(view.canvas().pixels.data(), view.canvas().width, view.canvas().height);
        }
        redraw = false;
        if (session.paused()) window.waitForInput(kPausedWaitMs);
    }
    session.setInterruptCheck({});
}
