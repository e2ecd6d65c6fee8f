#include "web/live_show.h"

#include <iostream>

LiveShow::LiveShow(StartPoint start) : start_(std::move(start)), messages_(&box_, std::cerr) {
    music_.setStartPosition(start_.position);
}

LiveShow::~LiveShow() { app_.reset(); }

bool LiveShow::start() {
    const std::span<const ScriptEntry> script = demoScript();
    app_ = std::make_unique<DemoApp>(
        AppPlatform{screen_, clock_, music_, messages_},
        [&](MainWindow& window, Clock& c, MusicPlayer& m, Dialogs& d) {
            return makeWholeShow(window, c, m, d, remainingScript(script, start_));
        },
        [&](DemoSystem& demo) {
            runRowsBefore(demo, script, start_);
            clock_.shiftBy(static_cast<uint32_t>(start_.timeMs));
        });
    return app_->startUp();
}

bool LiveShow::frame() {
    AppWindow* window = app_ ? app_->window() : nullptr;
    if (window == nullptr || !window->isOpen()) return false;
    audio_.pump();
    window->handleEvents();
    if (!window->isOpen()) return false;
    app_->idle();
    return window->isOpen();
}

void LiveShow::setActive(bool active) {
    if (active == active_) return;
    active_ = active;
    screen_.post(active ? ScreenEvent::FocusGained : ScreenEvent::FocusLost);
    // Handled now: a hidden page gets no animation frames to handle it in.
    if (AppWindow* window = app_ ? app_->window() : nullptr) window->handleEvents();
}
