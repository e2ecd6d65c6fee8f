// The command line made for a child program splits back, by Windows' own
// rules (CommandLineToArgvW), into exactly the arguments it was made from.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_command_line.h"

namespace {

std::vector<std::string> splitByWindows(const std::string& line) {
    int count = 0;
    wchar_t** parts = CommandLineToArgvW(widen(line).c_str(), &count);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.push_back(narrow(parts[i]));
    LocalFree(parts);
    return args;
}

TEST(WindowsCommandLine, ArgumentsSurviveTheRoundTrip) {
    // The program's own name first: CommandLineToArgvW reads it by simpler
    // rules, which a path (no quotes, no trailing backslash) satisfies.
    const std::vector<std::vector<std::string>> cases = {
        {"ffmpeg", "-i", "pipe:0", "-y", "out.mp4"},
        {"C:\\Program Files\\ffmpeg\\ffmpeg.exe", "two words", "", "tab\there"},
        {"p", "say \"hi\"", "\"", "\"\"", "a\\\"b", "a\\\\\"b"},
        {"p", "C:\\folder with space\\", "C:\\plain\\", "\\\\server\\share\\", "ends\\\\"},
        {"p", "ünïcödé ファイル.mkv", "new\nline", "-filter_complex", "[0:v]scale=960:720[v]"},
    };
    for (const auto& args : cases) {
        const std::string line = windowsCommandLine(args);
        EXPECT_EQ(splitByWindows(line), args) << line;
    }
}

TEST(WindowsCommandLine, PlainArgumentsStayUnquoted) {
    EXPECT_EQ(quoteWindowsArgument("out.mp4"), "out.mp4");
    EXPECT_EQ(quoteWindowsArgument("C:\\a\\b\\"), "C:\\a\\b\\");
    EXPECT_EQ(quoteWindowsArgument(""), "\"\"");
}

}  // namespace
