// The command line: options, values and the reasons given for bad ones.
#include <gtest/gtest.h>

#include <vector>

#include "desktop/command_line.h"
#include "parse_arguments.h"

namespace {

TEST(CommandLine, ReadsEveryOption) {
    ShowOptions options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_FALSE(options.fullscreen || options.portrait || options.mute || options.help || options.version);
    EXPECT_EQ(options.scale, 0);

    EXPECT_FALSE(options.study);

    ASSERT_TRUE(parse({"--fullscreen", "--scale", "3", "--portrait", "--mute", "--study"}, options, error));
    EXPECT_TRUE(options.fullscreen && options.portrait && options.mute && options.study);
    EXPECT_EQ(options.scale, 3);
    ASSERT_TRUE(parse({"--scale=16", "--help", "--version"}, options, error));
    EXPECT_EQ(options.scale, 16);
    EXPECT_TRUE(options.help && options.version);
}

TEST(CommandLine, NamesWhatIsWrong) {
    struct Case {
        std::vector<const char*> args;
        const char* reason;
    };
    for (const Case& c : {Case{{"--loud"}, "unknown option '--loud'"},
                          Case{{"--scale"}, "--scale needs a number from 1 to 16"},
                          Case{{"--scale", "0"}, "--scale needs a number from 1 to 16, not '0'"},
                          Case{{"--scale", "17"}, "--scale needs a number from 1 to 16, not '17'"},
                          Case{{"--scale", "2x"}, "--scale needs a number from 1 to 16, not '2x'"},
                          Case{{"--scale=", "--mute"}, "--scale needs a number from 1 to 16, not ''"},
                          Case{{"fullscreen"}, "unknown option 'fullscreen'"},
                          Case{{"--study", "--render", "out"},
                               "--study plays in the window: not with --render, --bench, --list or --check-flashes"},
                          Case{{"--list", "--study"}, "--study plays in the window: not with --render, --bench, --list or --check-flashes"},
                          Case{{"--small"}, "--small needs --render to a video (.mp4, .mkv)"},
                          Case{{"--render", "frames", "--small"}, "--small needs --render to a video (.mp4, .mkv)"}}) {
        ShowOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.args, options, error));
        EXPECT_EQ(error, c.reason);
    }
}

TEST(CommandLine, UsageNamesEveryOption) {
    const std::string usage = usageText();
    for (const char* option : {"--fullscreen", "--scale N", "--portrait", "--mute", "--study", "--small", "--dump-script [FILE]",
                               "--script FILE", "--share", "--cut LINK", "--gentle", "--check-flashes [FOLDER]", "--help",
                               "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

}  // namespace
