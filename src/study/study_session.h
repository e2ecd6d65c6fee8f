#pragma once
// The show as study mode plays it: made frame by frame by the offline
// renderer (60 frames a second, the music in lockstep), paced by a clock
// while it plays, held while paused, and restarted wherever it jumps to.
//
// A jump to ORDER:ROW starts the show exactly as `--render --start
// ORDER:ROW` does (the earlier rows at their own times, frame-built
// effects fresh), so its pictures are that render's frames. A step back
// replays the frames from the last jump, which gives the identical frame.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>

#include "app/timeline.h"
#include "app/offline_show.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

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

class StudySession {
public:
    static constexpr int kFps = 60;
    static constexpr std::size_t kFiredRowsKept = 6;

    StudySession(SongTimeline& timeline, Orientation orientation, Clock& clock, Dialogs& dialogs,
                 SoundFollower* sound = nullptr, std::span<const ScriptEntry> script = demoScript());
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

    // The frame shown: frames since the jump, its time, the music's position.
    long frame() const { return frame_; }
    int32_t timeMs() const;
    SongPosition position() const { return position_; }
    SongPosition jumpPosition() const { return show_ ? start_ : SongPosition{}; }
    // The show has no frame after this one.
    bool ended() const { return ended_; }

    const PictureSurface& picture() const { return show_->picture(); }
    // Null once the show has stopped (its "stop" row).
    const uint16_t* backBuffer() const;
    DemoSystem* demo() const;
    const std::deque<FiredRow>& firedRows() const { return fired_; }
    std::span<const ScriptEntry> script() const { return script_; }
    SongTimeline& timeline() { return timeline_; }

private:
    bool restart(long frames);
    bool makeFrame();
    void noteFired(std::size_t from, std::size_t to, int32_t timeMs);
    void startSound();

    SongTimeline& timeline_;
    Orientation orientation_;
    Clock& clock_;
    Dialogs& dialogs_;
    SoundFollower* sound_;
    std::span<const ScriptEntry> script_;

    SongPosition start_;
    StartPoint startPoint_;
    std::unique_ptr<OfflineShow> show_;
    long frame_ = 0;
    SongPosition position_;
    bool ended_ = false;
    bool paused_ = false;
    std::size_t cursor_ = 0;  // script rows run so far, counted from the start of the script
    std::deque<FiredRow> fired_;
    // While playing: the clock's time and the frame when the play began.
    uint32_t playTick_ = 0;
    long playFrame_ = 0;
};
