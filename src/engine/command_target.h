#pragma once
// Anything the script can address by name: the show itself, the blitter and
// every effect.

#include <cstdint>
#include <string>

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // command and argument are the script row's ASCII text; an absent
    // argument is "". time is the frame time in milliseconds.
    virtual void handleCommand(int32_t time, const std::string& command, const std::string& argument) = 0;
};
