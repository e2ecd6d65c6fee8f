#pragma once
// The show as study mode plays it: made frame by frame by the offline
// renderer (60 frames a second, the music in lockstep), paced by a clock
// while it plays, held while paused, and restarted wherever it jumps to.
//
// A jump to ORDER:ROW starts the show exactly as `--render --start
// ORDER:ROW` does (the earlier rows at their own times, frame-built
// effects fresh), so its pictures are that render's frames.
//
// The frames made last (kHistoryFrames of them, picture, back buffer and
// what the panel reads) are kept: a step back among them, and the steps
// on and the play that follow it up to the newest frame, show them again
// at once. Every kSnapshotFrames frames from the jump on (or more often, as
// set), the show's state is kept too: a step back further than the kept
// frames puts the nearest state at or before its target back and makes the
// frames from there again, which gives the identical frame (the music reads
// the positions it read the first time), and keeps the last of them again.
// A show stopped by its script is held, not shut down, so the same goes
// after its stop. A replay can be cut short by an interrupt check (study
// mode ends).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "app/timeline.h"
#include "app/offline_show.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "study/study_panel.h"

// A script row that has run: its index in the script and the frame time it ran with.
struct FiredRow {
    std::size_t index = 0;
    int32_t timeMs = 0;
};

// What the music should do as the picture moves: start at a frame's
// moment, or hold and continue.
class SoundFollower {
public:
    virtual ~SoundFollower() = default;
    // Play from `seconds` after the jump position `from`; `near` is the row
    // the music has reached there.
    virtual void playFrom(SongPosition from, double seconds, SongPosition near) = 0;
    virtual void setPaused(bool paused) = 0;
};

// A frame as it was made, kept to be shown again.
struct StudyFrame {
    explicit StudyFrame(const PictureSurface& shown) : picture(shown) {}
    long frame = 0;
    int32_t timeMs = 0;
    SongPosition position;
    PictureSurface picture;
    std::vector<uint16_t> backBuffer;  // empty once the show has shut down
    std::deque<FiredRow> fired;
    ShowFacts facts;
};

class StudySession {
public:
    static constexpr int kFps = 60;
    static constexpr std::size_t kFiredRowsKept = 6;
    // Five seconds of frames (some 300 KB each): steps back within them cost nothing.
    static constexpr std::size_t kHistoryFrames = 5 * kFps;
    // The show's state every two seconds (some 330 KB, 500 KB once the
    // water's heights exist; 45 MB for the whole show): a step back further
    // than the kept frames makes two seconds of frames at most.
    static constexpr long kSnapshotFrames = 2 * kFps;
    // A replay asks the interrupt check after this many frames.
    static constexpr long kFramesBetweenChecks = 8;
    // States kept more often than every kSnapshotFrames frames (setSnapshotFrames)
    // are kept near the frame shown only: at most this many of them.
    static constexpr std::size_t kDenseSnapshots = 64;

    StudySession(const ShowDefinition& show, SongTimeline& timeline, Orientation orientation, Clock& clock,
                 Dialogs& dialogs, SoundFollower* sound = nullptr);
    ~StudySession();

    // Starts the show at position (inside the song) and draws its first
    // frame. Keeps playing or paused as it was. False after a failure.
    bool jumpTo(SongPosition position);
    // While paused: one frame on (false at the end), or `frames` back (at
    // most to the jump position, where there is no earlier frame of this
    // start: false there).
    bool stepForward();
    bool stepBack(long frames = 1);
    void setPaused(bool paused);
    bool paused() const { return paused_; }
    // While playing: makes the frames the clock has made due (a few at most
    // per call, so the window stays responsive). Pauses at the show's end.
    void update();

    // Asked now and then during a replay: true stops it where it is (the
    // frame shown is then the last one it made) and the step fails. Asked
    // too while the script rows before a jump's first frame run, where true
    // ends the show and the jump fails.
    void setInterruptCheck(std::function<bool()> interrupted) { interrupted_ = std::move(interrupted); }
    // How many frames are kept (kHistoryFrames unless set; at least one).
    void setHistoryFrames(std::size_t frames) { historyLimit_ = std::max<std::size_t>(1, frames); }
    // Every how many frames the show's state is kept (kSnapshotFrames unless
    // set; a divisor of it, so that those every kSnapshotFrames stay): the
    // most frames a step back makes again. Between the states every
    // kSnapshotFrames frames only the kDenseSnapshots nearest the frame shown
    // stay; a replay through a stretch keeps its states again.
    void setSnapshotFrames(long frames);
    // Frames made by the show since it started, replays included.
    long framesMade() const { return framesMade_; }

    // The frame shown: frames since the jump, its time, the music's position.
    long frame() const { return shown().frame; }
    int32_t timeMs() const { return show_ ? shown().timeMs : 0; }
    SongPosition position() const { return show_ ? shown().position : SongPosition{}; }
    SongPosition jumpPosition() const { return show_ ? start_ : SongPosition{}; }
    // The show has no frame after this one.
    bool ended() const { return ended_ && shown_ + 1 == history_.size(); }

    const PictureSurface& picture() const { return shown().picture; }
    // Null once the show has shut down (a failure, or study mode ending it).
    const uint16_t* backBuffer() const;
    // The show's objects at the newest frame made (not the frame shown
    // when that is an earlier one).
    DemoSystem* demo() const;
    const std::deque<FiredRow>& firedRows() const { return shown().fired; }
    const ShowFacts& facts() const { return shown().facts; }
    std::span<const ScriptEntry> script() const { return definition_.script; }
    // Plays `script` from the next jump on (it must outlive the session's use of it).
    void useScript(std::span<const ScriptEntry> script) { definition_ = definition_.withScript(script); }
    SongTimeline& timeline() { return timeline_; }

private:
    // The show's state at a frame, with the rows the panel names there.
    struct Snapshot {
        ShowSnapshot show;
        std::deque<FiredRow> fired;
    };

    const StudyFrame& shown() const { return history_.empty() ? blank_ : history_[shown_]; }
    bool atNewest() const { return shown_ + 1 >= history_.size(); }
    // A fresh show from the jump position, made up to frame `frames`.
    bool restart(long frames);
    // From the nearest snapshot at or before `target` (or from the jump).
    bool replayTo(long target);
    bool restore(const Snapshot& snapshot);
    // Makes the frames after the one the show stands at up to `target`,
    // keeping the last of them.
    bool makeFramesTo(long target);
    // Makes the next frame; `keep` adds it to the history and shows it.
    bool makeFrame(bool keep = true);
    void keepFrame();
    // Keeps the state of the frame just made where one falls due.
    void keepSnapshot(long frame);
    void noteFired(std::size_t from, std::size_t to, int32_t timeMs);
    void startSound();

    SongTimeline& timeline_;
    Orientation orientation_;
    Clock& clock_;
    Dialogs& dialogs_;
    SoundFollower* sound_;
    ShowDefinition definition_;

    SongPosition start_;
    StartPoint startPoint_;
    std::unique_ptr<OfflineShow> show_;
    std::deque<StudyFrame> history_;  // oldest first, the newest frame made last
    std::map<long, Snapshot> snapshots_;  // by frame: 0, snapshotSpacing_, 2 snapshotSpacing_...
    long snapshotSpacing_ = kSnapshotFrames;
    std::size_t shown_ = 0;           // index in history_
    std::size_t historyLimit_ = kHistoryFrames;
    StudyFrame blank_;                // shown before the first frame
    std::function<bool()> interrupted_;
    long framesMade_ = 0;
    bool ended_ = false;
    bool paused_ = false;
    std::size_t cursor_ = 0;  // script rows run so far, counted from the start of the script
    std::deque<FiredRow> fired_;
    // While playing: the clock's time and the frame when the play began.
    uint32_t playTick_ = 0;
    long playFrame_ = 0;
};

// What the panel says about the frame the session shows.
StudyPanel describeFrame(StudySession& session);
