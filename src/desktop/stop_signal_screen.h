#pragma once
// The show's window with the stop signals (Ctrl-C, a request to terminate,
// the terminal closing) watched from before the window library starts: one
// that comes at any moment, while the show starts up too, reaches the show
// as the window's close button does. Left to the window library, a signal
// during the start-up was lost and the whole show played.

#include "platform/interrupt_watch.h"
#include "platform/screen.h"

class StopSignalScreen : public Screen {
public:
    // `stop` must have begun before the window library was started, which
    // then leaves the signals to it.
    StopSignalScreen(Screen& screen, const InterruptWatch& stop) : screen_(screen), stop_(stop) {}

    Display& display() override { return screen_.display(); }
    void showLoading(int low, int high, int position) override { screen_.showLoading(low, high, position); }
    void hideLoading() override { screen_.hideLoading(); }
    // A stop asked for comes first, once, as a close request.
    bool pollEvent(ScreenEvent& event) override;
    void waitForEvent(int timeoutMs) override { screen_.waitForEvent(timeoutMs); }
    void suspend() override { screen_.suspend(); }
    void resume() override { screen_.resume(); }
    void close() override { screen_.close(); }

private:
    Screen& screen_;
    const InterruptWatch& stop_;
    bool told_ = false;
};
