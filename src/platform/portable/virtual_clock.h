#pragma once
// Clocks for a show that does not start at the beginning or does not run in
// real time.

#include <cstdint>

#include "platform/clock.h"

// Shows the time it is set to: the offline renderer gives every frame its
// exact time instead of reading a wall clock.
class VirtualClock : public Clock {
public:
    uint32_t ticks() override { return now_; }
    // Waiting lets the time pass.
    void sleep(uint32_t ms) override { now_ += ms; }
    void set(uint32_t now) { now_ = now; }

private:
    uint32_t now_ = 0;
};

// Another clock moved forward by an amount: a show started part-way in
// reads the time the music has reached, not the time since it started.
class ShiftedClock : public Clock {
public:
    explicit ShiftedClock(Clock& base) : base_(base) {}
    uint32_t ticks() override { return base_.ticks() + shift_; }
    void sleep(uint32_t ms) override { base_.sleep(ms); }
    void shiftBy(uint32_t ms) { shift_ += ms; }

private:
    Clock& base_;
    uint32_t shift_ = 0;
};
