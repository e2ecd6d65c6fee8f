#pragma once
// The show made frame by frame without a display or a sound device, by the
// same DemoSystem, effects and blitter as on the desktop. A virtual clock
// gives frame k the time start + k * 1000 / fps milliseconds, and the music
// is rendered in lockstep: all of its audio up to a frame's time is made
// before that frame reads the music's order and row.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "app/app_window.h"
#include "app/seek.h"
#include "app/show_definition.h"
#include "engine/demo_system.h"
#include "platform/dialogs.h"
#include "platform/music/lockstep_music_player.h"
#include "platform/portable/offscreen_screen.h"
#include "platform/portable/virtual_clock.h"

struct OfflineSettings {
    explicit OfflineSettings(const ShowDefinition& show) : show(show) {}

    Orientation orientation = Orientation::Landscape;
    int fps = 60;
    StartPoint start;    // the beginning of the show unless set
    int32_t endMs = 0;   // when the render ends (the show may end before)
    // A "stop" row halts the show and keeps it, to go back to an earlier
    // state (DemoSystem::setHoldOnStop); finish() shuts it down.
    bool holdOnStop = false;
    ShowDefinition show;  // the show to play, whole or from `start` on
};

// The show's state after one of its frames, to make the frames after it
// again (study mode's step back).
struct ShowSnapshot {
    long frames = 0;  // made up to here
    int32_t frameTime = 0;
    DemoSnapshot demo;
    std::vector<uint16_t> picture;  // the picture shown, which the blitter may blend with
};

class OfflineShow {
public:
    OfflineShow(OfflineSettings settings, Dialogs& dialogs);
    ~OfflineShow();
    OfflineShow(const OfflineShow&) = delete;
    OfflineShow& operator=(const OfflineShow&) = delete;

    // Loads and starts the show and runs the rows before the start point.
    // False after a failure, which has been shown through the dialogs, or
    // when the interrupt check stopped it.
    bool start();
    // Asked now and then while script rows run (DemoSystem::setInterruptCheck):
    // true shuts the show down there. Set before start().
    void setInterruptCheck(std::function<bool()> interrupted) { interrupted_ = std::move(interrupted); }
    // Makes the next frame. False, with nothing new drawn, once the show is
    // over: the range has ended, or the show has stopped by itself.
    bool nextFrame() { return advance() && draw(); }
    // The two halves of a frame, for timing them apart: the clock and the
    // music go on to the next frame's time (false once the range has ended),
    // then the show draws the frame (false when it stopped instead).
    bool advance();
    bool draw();
    // Completes the sound up to the end of the last frame (the range's end at
    // most) and shuts the show down.
    void finish();

    // The last frame as the viewer sees it.
    const PictureSurface& picture() const { return screen_.surface(); }
    long framesMade() const { return frames_; }
    // How many frames the range takes when the show does not stop earlier.
    long frameCount() const;
    int fps() const { return settings_.fps; }
    // The time of the frame made last, and the music's position then.
    int32_t frameTime() const { return frameTime_; }
    SongPosition musicPosition() { return {music_.order(), music_.row()}; }

    int audioRate() const { return music_.rate(); }
    // How many sound samples (per channel) the first `frames` frames last.
    uint64_t audioFor(long frames) const;
    // Moves the sound made for the frames so far (16-bit stereo samples) into
    // `samples`, replacing what it held.
    void takeAudio(std::vector<int16_t>& samples);
    // Drops the sound made so far (nothing is written).
    void dropAudio();

    // The state after the last frame made (empty once the show has
    // stopped), and going back to such a state of this show: the frames
    // after it come out as they did, the music reading the positions it read
    // then, and no sound is made for them again (what was made and not
    // taken is dropped). Restoring fails once the show has stopped, unless
    // the settings hold it on its stop.
    ShowSnapshot snapshot();
    bool restore(const ShowSnapshot& snapshot);

    DemoSystem& demo() { return *demo_; }
    const AppWindow& window() const { return window_; }

private:
    uint64_t audioLimit() const { return audioFor(frames_); }
    // The music rendered up to frame k's moment.
    uint64_t musicFor(long k) const { return static_cast<uint64_t>(int64_t{k} * music_.rate() / settings_.fps) + 1; }

    OfflineSettings settings_;
    Dialogs& dialogs_;
    VirtualClock clock_;
    LockstepMusicPlayer music_;
    OffscreenScreen screen_;
    AppWindow window_;
    std::unique_ptr<DemoSystem> demo_;
    long frames_ = 0;
    int32_t frameTime_ = 0;
    uint64_t audioHandedOut_ = 0;  // stereo frames
    std::vector<float> pending_;   // made but not yet handed out
    std::function<bool()> interrupted_;
};
