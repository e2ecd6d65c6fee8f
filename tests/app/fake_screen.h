#pragma once
// A screen for the application's tests: a landscape surface in memory,
// events the test queues (some only after a number of frames) and a record
// of what the application asked of it.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/portable/picture_surface.h"
#include "platform/screen.h"
#include "support/fakes.h"

class FakeScreen : public Screen {
public:
    explicit FakeScreen(fakes::FakeClock& clock) : clock_(clock) {}

    Display& display() override { return display_; }
    void showLoading(int low, int high, int position) override {
        log.push_back("loading " + std::to_string(position) + " of " + std::to_string(low) + ".." +
                      std::to_string(high));
    }
    void hideLoading() override { log.push_back("loading closed"); }
    bool pollEvent(ScreenEvent& event) override {
        auto due = afterFrames.begin();
        if (due != afterFrames.end() && due->first <= frames) {
            event = due->second;
            afterFrames.erase(due);
            return true;
        }
        if (events.empty()) return false;
        event = events.front();
        events.pop_front();
        return true;
    }
    // Waiting lets the time pass.
    void waitForEvent(int timeoutMs) override {
        ++waits;
        clock_.now += static_cast<uint32_t>(timeoutMs);
    }
    void suspend() override { log.push_back("suspend"); }
    void resume() override { log.push_back("resume"); }
    void close() override { log.push_back("close"); }

    std::deque<ScreenEvent> events;
    std::multimap<int, ScreenEvent> afterFrames;  // delivered once this many frames are shown
    std::vector<std::string> log;
    int frames = 0, waits = 0;
    PictureSurface surface{Orientation::Landscape};

private:
    fakes::FakeClock& clock_;
    SurfaceDisplay display_{surface, [this] { ++frames; }};
};
