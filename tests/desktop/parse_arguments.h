#pragma once
// The command line parsed as the program sees it: its name, then args.

#include <string>
#include <vector>

#include "desktop/command_line.h"

inline bool parse(std::vector<const char*> args, ShowOptions& options, std::string& error) {
    args.insert(args.begin(), "zemra");
    return parseCommandLine(static_cast<int>(args.size()), args.data(), options, error);
}
