#pragma once
// The window of study mode: shows a picture of its own size (the show's
// picture with a panel and a timeline around it), enlarged by whole
// multiples, and reports the keys, clicks and window events study mode
// reacts to.

#include <cstdint>

enum class StudyKey { Space, Period, Comma, Left, Right, Up, Down, PageUp, PageDown, Home, Escape, Other };

struct StudyInput {
    // A click is a press of the main button or a touch; a drag, the place
    // it has moved to while held.
    enum Kind { Key, Click, Drag, Close, FocusLost, FocusGained } kind = Key;
    StudyKey key = StudyKey::Other;
    bool repeat = false;  // a key held down
    int x = 0, y = 0;     // a click or drag, in the shown picture's pixels
};

class StudyWindow {
public:
    virtual ~StudyWindow() = default;
    // Shows width x height pixels of 0xFFRRGGBB, rows from the top.
    virtual void show(const uint32_t* pixels, int width, int height) = 0;
    // The next waiting input; false when there is none.
    virtual bool pollInput(StudyInput& input) = 0;
    // Waits up to timeoutMs for input (it stays queued).
    virtual void waitForInput(int timeoutMs) = 0;
};
