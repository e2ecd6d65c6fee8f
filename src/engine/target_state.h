#pragma once
// A script target's state at one frame, copied out so that the show can go
// on from that frame again later (study mode steps back this way). Only the
// target that made a copy reads it back.

#include <memory>
#include <utility>

class TargetState {
public:
    virtual ~TargetState() = default;
};

// A state that is one copyable value.
template <typename T>
class StateCopy final : public TargetState {
public:
    explicit StateCopy(T kept) : value(std::move(kept)) {}
    T value;
};

template <typename T>
std::unique_ptr<TargetState> copyState(T value) {
    return std::make_unique<StateCopy<T>>(std::move(value));
}

// The value a copyState<T> holds; null for anything else.
template <typename T>
const T* stateValue(const TargetState* state) {
    const auto* copy = dynamic_cast<const StateCopy<T>*>(state);
    return copy ? &copy->value : nullptr;
}
