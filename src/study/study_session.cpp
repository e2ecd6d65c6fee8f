#include "study/study_session.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The most frames made in one update: a slow frame delays the window's
// input by a few frames at most, and the picture catches up over the next calls.
constexpr long kMaxFramesPerUpdate = 8;

}  // namespace

StudySession::StudySession(const ShowDefinition& show, SongTimeline& timeline, Orientation orientation, Clock& clock,
                           Dialogs& dialogs, SoundFollower* sound)
    : timeline_(timeline),
      orientation_(orientation),
      clock_(clock),
      dialogs_(dialogs),
      sound_(sound),
      definition_(show),
      blank_(PictureSurface(orientation)) {}

StudySession::~StudySession() = default;

const uint16_t* StudySession::backBuffer() const {
    const std::vector<uint16_t>& pixels = shown().backBuffer;
    return pixels.empty() ? nullptr : pixels.data();
}

DemoSystem* StudySession::demo() const { return show_ ? &show_->demo() : nullptr; }

bool StudySession::jumpTo(SongPosition position) {
    start_ = position;
    startPoint_ = planStart(timeline_, definition_.script, position);
    if (!restart(0)) return false;
    if (!paused_) {
        playTick_ = clock_.ticks();
        playFrame_ = frame();
        startSound();
    }
    return true;
}

bool StudySession::restart(long frames) {
    OfflineSettings settings(definition_);
    settings.orientation = orientation_;
    settings.fps = kFps;
    settings.start = startPoint_;
    settings.endMs = timeline_.lengthMs();
    settings.holdOnStop = true;  // a step back from a stopped show goes through the states kept
    show_.reset();  // one show's effects and pictures at a time
    history_.clear();
    shown_ = 0;
    snapshots_.clear();
    show_ = std::make_unique<OfflineShow>(settings, dialogs_);
    // A script of very many rows before the first frame gives way to Escape too.
    show_->setInterruptCheck([this] { return interrupted_ && interrupted_(); });
    ended_ = false;
    fired_.clear();
    const std::size_t before = startPoint_.firstRow;
    for (std::size_t i = before - std::min(before, kFiredRowsKept); i < before; ++i)
        fired_.push_back({i, startPoint_.rowTimes[i]});
    cursor_ = before;
    if (!show_->start()) {
        ended_ = true;
        return false;
    }
    return makeFramesTo(frames);
}

bool StudySession::replayTo(long target) {
    const auto after = snapshots_.upper_bound(target);
    if (after != snapshots_.begin() && restore(std::prev(after)->second)) return makeFramesTo(target);
    return restart(target);  // no state kept, or one that cannot be put back
}

void StudySession::setSnapshotFrames(long frames) {
    snapshotSpacing_ = std::clamp(frames, 1L, kSnapshotFrames);
    while (kSnapshotFrames % snapshotSpacing_ != 0) --snapshotSpacing_;
}

void StudySession::keepSnapshot(long frame) {
    if (frame % snapshotSpacing_ != 0 || snapshots_.contains(frame)) return;
    snapshots_.emplace(frame, Snapshot{show_->snapshot(), fired_});
    // Of the states between those every kSnapshotFrames frames, the one
    // farthest from the frame shown goes while there are too many.
    std::size_t dense = 0;
    for (const auto& [kept, snapshot] : snapshots_) dense += kept % kSnapshotFrames != 0;
    while (dense > kDenseSnapshots) {
        auto farthest = snapshots_.end();
        for (auto it = snapshots_.begin(); it != snapshots_.end(); ++it)
            if (it->first % kSnapshotFrames != 0 &&
                (farthest == snapshots_.end() || std::abs(it->first - frame) > std::abs(farthest->first - frame)))
                farthest = it;
        snapshots_.erase(farthest);
        --dense;
    }
}

bool StudySession::restore(const Snapshot& snapshot) {
    if (!show_->restore(snapshot.show)) return false;
    history_.clear();
    shown_ = 0;
    ended_ = false;
    fired_ = snapshot.fired;
    cursor_ = startPoint_.firstRow + static_cast<std::size_t>(show_->demo().scriptCursor());
    return true;
}

bool StudySession::makeFramesTo(long target) {
    // Only the frames the history keeps in the end are copied into it.
    const long keepFrom = target - static_cast<long>(historyLimit_) + 1;
    long made = show_->framesMade() - 1;  // the frame the show stands at; -1 before the first
    if (made >= 0 && made >= keepFrom) keepFrame();
    for (long replayed = 0; made < target; ++replayed) {
        if (replayed > 0 && replayed % kFramesBetweenChecks == 0 && interrupted_ && interrupted_()) break;
        if (!makeFrame(made + 1 >= keepFrom)) break;
        ++made;
    }
    if (made < 0) return false;
    if (history_.empty() || frame() != made) keepFrame();  // cut short: show the last frame made
    return made == target;
}

bool StudySession::makeFrame(bool keep) {
    if (ended_) return false;  // a show that is over makes nothing more
    const bool made = show_->nextFrame();
    const std::size_t cursor = startPoint_.firstRow + static_cast<std::size_t>(show_->demo().scriptCursor());
    noteFired(cursor_, cursor, show_->frameTime());
    cursor_ = cursor;
    if (!made) {
        ended_ = true;
        return false;
    }
    ++framesMade_;
    show_->dropAudio();  // the sound is played apart (SoundFollower)
    keepSnapshot(show_->framesMade() - 1);
    if (keep) keepFrame();
    return true;
}

// The frame just made joins the history as the newest, and is shown.
void StudySession::keepFrame() {
    const long frame = show_->framesMade() - 1;
    if (!history_.empty() && history_.back().frame + 1 != frame) history_.clear();  // frames were left out
    if (history_.size() >= historyLimit_) history_.pop_front();
    StudyFrame& kept = history_.emplace_back(show_->picture());
    kept.frame = frame;
    kept.timeMs = show_->frameTime();
    kept.position = show_->musicPosition();
    if (const uint16_t* back = show_->demo().backBuffer()) kept.backBuffer.assign(back, back + kScreenPixels);
    kept.fired = fired_;
    kept.facts = describeShow(show_->demo(), kept.timeMs);
    shown_ = history_.size() - 1;
}

void StudySession::noteFired(std::size_t from, std::size_t to, int32_t timeMs) {
    for (std::size_t i = from; i < to; ++i) fired_.push_back({i, timeMs});
    while (fired_.size() > kFiredRowsKept) fired_.pop_front();
}

bool StudySession::stepForward() {
    if (!show_ || history_.empty()) return false;
    if (!atNewest()) {
        ++shown_;
        return true;
    }
    if (ended_) return false;
    return makeFrame();
}

bool StudySession::stepBack(long frames) {
    if (!show_ || history_.empty() || frame() == 0 || frames <= 0) return false;
    const long target = std::max(0L, frame() - frames);
    if (target >= history_.front().frame) {
        shown_ = static_cast<std::size_t>(target - history_.front().frame);
        return true;
    }
    return replayTo(target);
}

void StudySession::setPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    if (paused) {
        if (sound_) sound_->setPaused(true);
        return;
    }
    if (ended() || !show_) {
        paused_ = true;
        return;
    }
    playTick_ = clock_.ticks();
    playFrame_ = frame();
    startSound();
}

// The music starts at the frame shown.
void StudySession::startSound() {
    if (!sound_) return;
    sound_->playFrom(start_, static_cast<double>(frame()) / kFps, position());
    sound_->setPaused(false);
}

void StudySession::update() {
    if (paused_ || !show_) return;
    const long due = playFrame_ + static_cast<long>(int64_t{clock_.ticks() - playTick_} * kFps / 1000);
    // Frames kept from before a step back are shown again first.
    while (frame() < due && !atNewest()) ++shown_;
    for (long made = 0; frame() < due && made < kMaxFramesPerUpdate; ++made) {
        if (!makeFrame()) {
            setPaused(true);
            return;
        }
    }
}

StudyPanel describeFrame(StudySession& session) {
    StudyPanel panel;
    static_cast<ShowFacts&>(panel) = session.facts();
    panel.position = session.position();
    panel.timeMs = session.timeMs();
    panel.frame = session.frame();
    panel.from = session.jumpPosition();
    panel.paused = session.paused();
    panel.ended = session.ended();
    for (const FiredRow& row : session.firedRows()) {
        panel.rows.push_back(describeRow(session.script()[row.index]));
        panel.rowIndices.push_back(row.index);
    }
    return panel;
}
