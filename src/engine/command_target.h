#pragma once
// Anything the script can address by name: the show itself, the blitter and
// every effect.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/target_state.h"

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // command and argument are the script row's ASCII text; an absent
    // argument is "". time is the frame time in milliseconds.
    virtual void handleCommand(int32_t time, const std::string& command, const std::string& argument) = 0;

    // What the target carries from one frame to the next (null: nothing),
    // and putting such a copy back; false when it cannot be put back.
    virtual std::unique_ptr<TargetState> saveState() { return nullptr; }
    virtual bool restoreState(const TargetState*) { return true; }
};
