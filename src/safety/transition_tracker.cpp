#include "safety/transition_tracker.h"

#include <algorithm>

namespace flash {

bool TransitionRule::counts(float from, float to, bool fromRed, bool toRed) const {
    const float change = from < to ? to - from : from - to;
    if (strictlyMore ? change <= swing : change < swing) return false;
    if (std::min(from, to) >= darkerBelow) return false;
    return !needsSaturatedRed || fromRed || toRed;
}

void TransitionTracker::turn(Direction direction, State anchor, State extreme) {
    direction_ = direction;
    anchor_ = anchor;
    extreme_ = extreme;
    counted_ = false;
}

Direction TransitionTracker::add(float value, bool saturatedRed, const TransitionRule& rule) {
    const State now{value, saturatedRed};
    if (!started_) {
        started_ = true;
        low_ = high_ = now;
        return Direction::None;
    }
    switch (direction_) {
    case Direction::None:
        if (value < low_.value) low_ = now;
        if (value > high_.value) high_ = now;
        if (value - low_.value >= rule.swing)
            turn(Direction::Up, low_, now);
        else if (high_.value - value >= rule.swing)
            turn(Direction::Down, high_, now);
        break;
    case Direction::Up:
        if (value > extreme_.value)
            extreme_ = now;
        else if (extreme_.value - value >= rule.swing)
            turn(Direction::Down, extreme_, now);
        break;
    case Direction::Down:
        if (value < extreme_.value)
            extreme_ = now;
        else if (value - extreme_.value >= rule.swing)
            turn(Direction::Up, extreme_, now);
        break;
    }
    if (direction_ == Direction::None || counted_) return Direction::None;
    if (!rule.counts(anchor_.value, extreme_.value, anchor_.red, extreme_.red)) return Direction::None;
    counted_ = true;
    return direction_;
}

}  // namespace flash
