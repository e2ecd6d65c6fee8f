#pragma once
// The command line of a Windows program, made from separate arguments so
// that the program's C runtime (CommandLineToArgvW and the MSVC rules) splits
// it back into exactly those arguments. Plain C++: the quoting rules are
// tested on every platform.

#include <string>
#include <vector>

// One argument, quoted only when it needs to be: when it is empty or holds
// white space or a quote. Backslashes count only before a quote.
std::string quoteWindowsArgument(const std::string& argument);

// The arguments quoted and joined by spaces.
std::string windowsCommandLine(const std::vector<std::string>& args);
