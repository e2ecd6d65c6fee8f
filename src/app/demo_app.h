#pragma once
// The application: its start-up builds the main window and the show and
// loads and starts it, its idle hook runs one frame per pass of the event
// loop, and its exit hook deletes both.

#include <functional>
#include <memory>

#include "app/app_window.h"
#include "app/seek.h"
#include "app/show_definition.h"
#include "app/user_messages.h"
#include "engine/demo_system.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/music_player.h"
#include "platform/portable/virtual_clock.h"
#include "platform/screen.h"

// What the application runs on; none of it is owned.
struct AppPlatform {
    Screen& screen;
    Clock& clock;
    MusicPlayer& music;
    Dialogs& dialogs;
};

// Makes the show for the application's window (the whole show, or a
// stand-in in tests).
using ShowBuilder = std::function<std::unique_ptr<DemoSystem>(MainWindow&, Clock&, MusicPlayer&, Dialogs&)>;

// Runs on the show right after it has started, before its first frame (a
// start part-way in runs the earlier script rows there).
using AfterStart = std::function<void(DemoSystem&)>;

// Asked at each frame with the music's position: false holds the show,
// music and clock, until it says true again (the data the frame needs has
// not arrived).
using FrameGate = std::function<bool(const DemoSystem&, SongPosition now)>;

class DemoApp {
public:
    // gentle: the window shows the picture through the flash limiter.
    DemoApp(AppPlatform platform, ShowBuilder build, AfterStart afterStart = {}, bool gentle = false,
            FrameGate gate = {})
        : platform_(platform),
          build_(std::move(build)),
          afterStart_(std::move(afterStart)),
          gate_(std::move(gate)),
          gentle_(gentle),
          messages_(platform.dialogs) {}
    ~DemoApp();

    // Creates the window and the show, then loadAll, start and the after-start
    // step. False after a failure, which has been shown to the user.
    bool startUp();
    // One frame; while the show is paused, waits a little for events instead
    // of spinning. True: call again.
    bool idle();
    // Deletes the window (and with it the blitter) and the show.
    int exitHook();
    // The whole life of the application: the exit status, 0 once the show
    // has played and ended, 1 when start-up failed or a failure was shown
    // to the user while playing.
    int run();

    // The show held by its gate, waiting for data.
    bool waiting() const { return waiting_; }
    AppWindow* window() const { return window_.get(); }
    DemoSystem* demo() const { return demo_.get(); }

private:
    AppPlatform platform_;
    ShowBuilder build_;
    AfterStart afterStart_;
    FrameGate gate_;
    bool waiting_ = false;
    bool gentle_;
    FailureWatch messages_;
    std::unique_ptr<AppWindow> window_;
    std::unique_ptr<DemoSystem> demo_;
};

// The application playing the whole show with `script` from `start`, with `clock` as its
// clock: the show dispatches the rows from the start on; the rows before it
// run right after start-up, each at the time the music reaches it, and the
// clock then reads the music's time.
std::unique_ptr<DemoApp> appStartingAt(Screen& screen, ShiftedClock& clock, MusicPlayer& music, Dialogs& dialogs,
                                       StartPoint start, const ShowDefinition& show);
