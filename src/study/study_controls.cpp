#include "study/study_controls.h"

#include "study/study_navigation.h"

// A jump goes on from where the jumps gathered so far lead; it makes the
// steps back gathered before it pointless.
void StudyControls::jump(Jump kind) {
    SongPosition target;
    const SongPosition from = pendingJump_.value_or(session_.position());
    if (jumpTarget(session_.timeline(), view_.scenes(), from, kind, target)) jumpTo(target);
}

void StudyControls::jumpTo(SongPosition target) {
    pendingJump_ = target;
    pendingBack_ = 0;
}

bool StudyControls::gathers(const StudyInput& input) const {
    switch (input.kind) {
    case StudyInput::Click:
    case StudyInput::Drag: return view_.clickTime(input.x, input.y).has_value();
    case StudyInput::Key:
        switch (input.key) {
        case StudyKey::Comma: return !pendingJump_;  // steps back from where a jump lands
        case StudyKey::Left:
        case StudyKey::Right:
        case StudyKey::Up:
        case StudyKey::Down:
        case StudyKey::PageUp:
        case StudyKey::PageDown:
        case StudyKey::Home: return true;
        default: return false;
        }
    default: return false;
    }
}

void StudyControls::flush() {
    if (pendingJump_) session_.jumpTo(*pendingJump_);
    if (pendingBack_ > 0) session_.stepBack(pendingBack_);
    pendingJump_.reset();
    pendingBack_ = 0;
}

bool StudyControls::apply(const StudyInput& input) {
    if (input.kind == StudyInput::Close || (input.kind == StudyInput::Key && input.key == StudyKey::Escape))
        return false;
    if (!gathers(input)) flush();
    switch (input.kind) {
    case StudyInput::Close: break;
    case StudyInput::FocusLost:
        if (!session_.paused()) {
            session_.setPaused(true);
            pausedForFocus_ = true;
        }
        return true;
    case StudyInput::FocusGained:
        if (pausedForFocus_) session_.setPaused(false);
        pausedForFocus_ = false;
        return true;
    case StudyInput::Click:
    case StudyInput::Drag:
        if (const auto ms = view_.clickTime(input.x, input.y))
            jumpTo(rowAtTime(session_.timeline(), *ms));
        else if (input.kind == StudyInput::Click && view_.onPicture(input.x, input.y)) {
            session_.setPaused(!session_.paused());
            pausedForFocus_ = false;
        }
        return true;
    case StudyInput::Key: break;
    }
    pausedForFocus_ = false;
    switch (input.key) {
    case StudyKey::Escape: break;
    case StudyKey::Space:
        if (!input.repeat) session_.setPaused(!session_.paused());
        break;
    case StudyKey::Period:
        if (session_.paused()) session_.stepForward();
        break;
    case StudyKey::Comma:
        if (session_.paused()) ++pendingBack_;
        break;
    case StudyKey::Left: jump(Jump::PreviousScene); break;
    case StudyKey::Right: jump(Jump::NextScene); break;
    case StudyKey::Up: jump(Jump::PreviousOrder); break;
    case StudyKey::Down: jump(Jump::NextOrder); break;
    case StudyKey::PageUp: jump(Jump::RowsBack); break;
    case StudyKey::PageDown: jump(Jump::RowsOn); break;
    case StudyKey::Home: jump(Jump::Restart); break;
    case StudyKey::Other: break;
    }
    return true;
}
