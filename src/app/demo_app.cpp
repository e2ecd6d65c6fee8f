#include "app/demo_app.h"

#include "app/data_wait.h"

namespace {

constexpr int kPausedWaitMs = 100;

}  // namespace

DemoApp::~DemoApp() { exitHook(); }

bool DemoApp::startUp() {
    window_ = std::make_unique<AppWindow>(platform_.screen, gentle_);
    demo_ = build_(*window_, platform_.clock, platform_.music, messages_);
    if (gate_) demo_->setFrameGate([this](SongPosition now) { return gate_(*demo_, now); });
    if (!demo_->loadAll() || !demo_->start()) return false;
    if (afterStart_) afterStart_(*demo_);
    return true;
}

bool DemoApp::idle() {
    // Held for data, the music stands where the held frame read it (held
    // again should the window's focus have let it go on).
    if (waiting_) {
        if (!gate_(*demo_, platform_.music.position())) {
            demo_->pause();
            return true;
        }
        waiting_ = false;
        demo_->resume();
    }
    demo_->frame();
    if (demo_->heldForData()) {
        demo_->pause();
        waiting_ = true;
        return true;
    }
    if (!demo_->running() && window_->isOpen()) platform_.screen.waitForEvent(kPausedWaitMs);
    return true;
}

int DemoApp::exitHook() {
    window_.reset();
    demo_.reset();
    return 0;
}

int DemoApp::run() {
    if (!startUp()) {
        exitHook();
        return 1;
    }
    while (window_->isOpen()) {
        window_->handleEvents();
        if (!window_->isOpen() || !idle()) break;
    }
    const int status = exitHook();
    return messages_.failed ? 1 : status;
}

std::unique_ptr<DemoApp> appStartingAt(Screen& screen, ShiftedClock& clock, MusicPlayer& music, Dialogs& dialogs,
                                       StartPoint start, const ShowDefinition& show) {
    return std::make_unique<DemoApp>(
        AppPlatform{screen, clock, music, dialogs},
        [show, start](MainWindow& window, Clock& c, MusicPlayer& m, Dialogs& d) {
            return makeShow(show, window, c, m, d, remainingScript(show.script, start));
        },
        [show, start, &clock](DemoSystem& demo) {
            runRowsBefore(demo, show.script, start);
            clock.shiftBy(static_cast<uint32_t>(start.timeMs));
        },
        show.gentle, [show](const DemoSystem& demo, SongPosition now) { return frameDataReady(show, demo, now); });
}
