#include "study/study_controls.h"

#include "study/study_navigation.h"

void StudyControls::jump(Jump kind) {
    SongPosition target;
    if (jumpTarget(session_.timeline(), view_.scenes(), session_.position(), kind, target)) session_.jumpTo(target);
}

bool StudyControls::apply(const StudyInput& input) {
    switch (input.kind) {
    case StudyInput::Close: return false;
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
        if (const auto ms = view_.clickTime(input.x, input.y))
            session_.jumpTo(rowAtTime(session_.timeline(), *ms));
        return true;
    case StudyInput::Key: break;
    }
    pausedForFocus_ = false;
    switch (input.key) {
    case StudyKey::Escape: return false;
    case StudyKey::Space:
        if (!input.repeat) session_.setPaused(!session_.paused());
        break;
    case StudyKey::Period:
        if (session_.paused()) session_.stepForward();
        break;
    case StudyKey::Comma:
        if (session_.paused()) session_.stepBack();
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
