#pragma once
// The system's millisecond clock.

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary origin; wraps at 2^32.
    virtual uint32_t ticks() = 0;
    // Blocks the calling thread for about ms milliseconds.
    virtual void sleep(uint32_t ms) = 0;
};
