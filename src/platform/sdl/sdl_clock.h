#pragma once
// The system clock over SDL: milliseconds since SDL started.

#include "platform/clock.h"

class SdlClock : public Clock {
public:
    SdlClock();
    ~SdlClock() override;
    uint32_t ticks() override;
    void sleep(uint32_t ms) override;
};
