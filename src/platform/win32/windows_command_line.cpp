#include "platform/win32/windows_command_line.h"

std::string quoteWindowsArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped;
        // elsewhere they stand for themselves.
        if (c == '"') backslashes = 2 * backslashes + 1;
        quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote, backslashes are doubled so it stays a quote.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string windowsCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty()) line += ' ';
        line += quoteWindowsArgument(arg);
    }
    return line;
}
