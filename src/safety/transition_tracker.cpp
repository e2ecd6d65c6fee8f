#include "safety/transition_tracker.h"

#include <algorithm>

namespace flash {

bool TransitionRule::counts(float from, float to, bool fromRed, bool toRed) const {
    const float change = from < to ? to - from : from - to;
    if (strictlyMore ? change <= swing : change < swing) return false;
    if (std::min(from, to) >= darkerBelow) return false;
    return !needsSaturatedRed || fromRed || toRed;
}

// The running extreme becomes the anchor of a change the other way, which
// starts at the value now.
void TransitionTracker::turn(Direction direction, float value, bool red) {
    direction_ = direction;
    anchor_ = extreme_;
    anchorRed_ = extremeRed_;
    extreme_ = value;
    extremeRed_ = red;
    counted_ = false;
}

Direction TransitionTracker::add(float value, bool saturatedRed, const TransitionRule& rule) {
    if (!started_) {
        started_ = true;
        anchor_ = extreme_ = value;
        anchorRed_ = extremeRed_ = saturatedRed;
        return Direction::None;
    }
    switch (direction_) {
    case Direction::None:
        // anchor_ and extreme_ hold the lowest and the highest state.
        if (value < anchor_) anchor_ = value, anchorRed_ = saturatedRed;
        if (value > extreme_) extreme_ = value, extremeRed_ = saturatedRed;
        if (value - anchor_ >= rule.swing) {
            direction_ = Direction::Up;  // from the lowest to the value now, the highest
        } else if (extreme_ - value >= rule.swing) {
            turn(Direction::Down, value, saturatedRed);
        }
        break;
    case Direction::Up:
        if (value > extreme_)
            extreme_ = value, extremeRed_ = saturatedRed;
        else if (extreme_ - value >= rule.swing)
            turn(Direction::Down, value, saturatedRed);
        break;
    case Direction::Down:
        if (value < extreme_)
            extreme_ = value, extremeRed_ = saturatedRed;
        else if (value - extreme_ >= rule.swing)
            turn(Direction::Up, value, saturatedRed);
        break;
    }
    if (direction_ == Direction::None || counted_) return Direction::None;
    if (!rule.counts(anchor_, extreme_, anchorRed_, extremeRed_)) return Direction::None;
    counted_ = true;
    return direction_;
}

}  // namespace flash
