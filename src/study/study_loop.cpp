#include "study/study_loop.h"

namespace {

// While paused the blocking loop waits this long for input between two looks.
constexpr int kPausedWaitMs = 30;

bool endsStudy(const StudyInput& input) {
    return input.kind == StudyInput::Close || (input.kind == StudyInput::Key && input.key == StudyKey::Escape);
}

}  // namespace

StudyLoop::StudyLoop(StudySession& session, StudyView& view, StudyWindow& window, std::function<bool()> poll)
    : session_(session), view_(view), window_(window), poll_(std::move(poll)), controls_(session, view) {
    session_.setInterruptCheck([this] {
        StudyInput input;
        while (!quit_ && window_.pollInput(input)) {
            if (endsStudy(input))
                quit_ = true;
            else
                waiting_.push_back(input);
        }
        return quit_;
    });
}

StudyLoop::~StudyLoop() { session_.setInterruptCheck({}); }

bool StudyLoop::nextInput(StudyInput& input) {
    if (waiting_.empty()) return window_.pollInput(input);
    input = waiting_.front();
    waiting_.pop_front();
    return true;
}

// While paused the picture is drawn again only after input or a change of
// state: a held show costs nothing but looking for input.
bool StudyLoop::pass() {
    StudyInput input;
    while (!quit_ && nextInput(input)) {
        quit_ = !controls_.apply(input);
        redraw_ = true;
    }
    if (quit_) return false;
    controls_.flush();
    if (quit_) return false;
    if (poll_ && poll_()) redraw_ = true;
    const bool wasPlaying = !session_.paused();
    session_.update();
    if (redraw_ || wasPlaying) {
        view_.draw(session_);
        window_.show(view_.canvas().pixels.data(), view_.canvas().width, view_.canvas().height);
    }
    redraw_ = false;
    return true;
}

void runStudyLoop(StudySession& session, StudyView& view, StudyWindow& window, std::function<bool()> poll) {
    StudyLoop loop(session, view, window, std::move(poll));
    while (loop.pass())
        if (session.paused()) window.waitForInput(kPausedWaitMs);
}
