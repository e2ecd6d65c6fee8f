#pragma once
// What the show needs from the application's main window during start-up
// and shutdown.

#include <memory>

class DemoSystem;
class FramePresenter;

// The "Loading.." box with its progress bar.
class LoadingProgress {
public:
    virtual ~LoadingProgress() = default;
    // Sets the bar's range and puts its position at 0.
    virtual void setRange(int low, int high) = 0;
    // Moves the bar on by steps.
    virtual void advance(int steps) = 0;
    // Closes the box's window.
    virtual void close() = 0;
};

class MainWindow {
public:
    virtual ~MainWindow() = default;
    // Opens the loading box, owned by this window.
    virtual std::unique_ptr<LoadingProgress> createLoadingProgress() = 0;
    // Remembers the show (for focus, key and OK handling), opens the input
    // and creates the blitter, which the window owns. Null when the input
    // cannot be opened (the show stays remembered).
    virtual FramePresenter* attachDemo(DemoSystem& demo) = 0;
    // Closes the window: gives back display and input, restores the desktop,
    // and ends the message loop. Handled before it returns.
    virtual void close() = 0;
};
