#include "web/live_show.h"

#include <iostream>

LiveShow::LiveShow(StartPoint start, const ShowDefinition& show)
    : start_(std::move(start)), show_(show), messages_(&box_, std::cerr) {
    music_.setStartPosition(start_.position);
}

LiveShow::~LiveShow() { app_.reset(); }

bool LiveShow::start() {
    app_ = appStartingAt(screen_, clock_, music_, messages_, start_, show_);
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
