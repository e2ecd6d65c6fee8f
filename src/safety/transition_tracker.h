#pragma once
// One pixel's signal (luminance, or a red measure) followed from peak to
// valley, so that a change spread over many frames is one transition.
//
// The tracker keeps the last extreme (the anchor) and the running extreme of
// the change in progress. The change turns at a reversal of at least the
// rule's swing: the running extreme becomes the new anchor. Smaller wobbles
// do not break a long fade into small steps, and a transition's size is
// always measured between the extremes on either side of it. A transition is
// counted once, on the frame where it first meets the rule, so the count
// never waits for the next reversal (which may come much later or never).
// Kept small: the analyser holds three for every pixel.

#include <cstdint>

namespace flash {

enum class Direction : int8_t { None, Up, Down };

// What makes a change between two states a transition that counts.
struct TransitionRule {
    float swing;                    // the change needed (also the reversal that turns the tracker)
    bool strictlyMore = false;      // the change must exceed the swing, not just reach it
    float darkerBelow = 1e30f;      // the darker state must be below this
    bool needsSaturatedRed = false; // one of the two states must be a saturated red

    bool counts(float from, float to, bool fromRed, bool toRed) const;
};

class TransitionTracker {
public:
    // The next frame's value, and whether its state is a saturated red.
    // Returns the direction of a transition that starts to count on this
    // frame, else None.
    Direction add(float value, bool saturatedRed, const TransitionRule& rule);

private:
    void turn(Direction direction, float value, bool red);

    // Before the first turn, the lowest and the highest state so far; after
    // it, the last extreme and the running extreme of the change in progress.
    float anchor_ = 0, extreme_ = 0;
    bool anchorRed_ = false, extremeRed_ = false;
    Direction direction_ = Direction::None;
    bool started_ = false, counted_ = false;
};

}  // namespace flash
