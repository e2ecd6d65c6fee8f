#pragma once
// The browser's millisecond clock: the page's high-resolution time.

#include "platform/clock.h"

class WebClock : public Clock {
public:
    uint32_t ticks() override;
    // A page cannot block without freezing itself; the show sleeps only
    // between retries of a failed sound start, so this waits by watching
    // the clock.
    void sleep(uint32_t ms) override;
};
