#pragma once
// The window the show appears in, as the application shell sees it: the
// display the blitter writes, the loading box, and the user's input turned
// into the few events the show reacts to. Implemented over SDL for the
// desktop; tests and offscreen renderers put their own in place.

#include "platform/display.h"

enum class ScreenEvent {
    KeyPressed,      // any key (releases, mouse and touch are not reported)
    CloseRequested,  // the window's close button, or the desktop asking to quit
    FocusLost,       // the window lost the keyboard focus or was minimised
    FocusGained,     // focused and visible again
};

class Screen {
public:
    virtual ~Screen() = default;
    // The surface the blitter writes; each endDraw shows the frame.
    virtual Display& display() = 0;
    // Draws the "Loading.." box with its bar at position in low..high and
    // shows it at once.
    virtual void showLoading(int low, int high, int position) = 0;
    virtual void hideLoading() = 0;
    // The next waiting event; false when there is none.
    virtual bool pollEvent(ScreenEvent& event) = 0;
    // Waits up to timeoutMs for an event to arrive (it stays queued).
    virtual void waitForEvent(int timeoutMs) = 0;
    // Drawing is held while the window is in the background and continues
    // when it comes back; the last frame stays shown.
    virtual void suspend() = 0;
    virtual void resume() = 0;
    // Takes the window off the desktop for good. The display's memory stays
    // valid, but nothing is shown any more.
    virtual void close() = 0;
};
