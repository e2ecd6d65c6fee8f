// The offline commands on the command line: their options, the timeline
// they print, and bad arguments, each of which exits with status 2, names
// the problem with the usage, and writes nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "desktop/command_line.h"
#include "app/timeline.h"
#include "offline/offline_render.h"
#include "parse_arguments.h"
#include "support/png.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

namespace fs = std::filesystem;

TEST(OfflineCommandLine, ReadsTheRenderOptions) {
    ShowOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--render", "show.mp4", "--fps=30", "--start", "5:0", "--end=7:64", "--scale", "2"}, options, error))
        << error;
    EXPECT_EQ(options.render, "show.mp4");
    EXPECT_EQ(options.fps, 30);
    EXPECT_EQ(options.start, (SongPosition{5, 0}));
    EXPECT_EQ(options.end, (SongPosition{7, 64}));
    EXPECT_EQ(options.scale, 2);

    ShowOptions live;
    ASSERT_TRUE(parse({"--start", "12:32", "--mute"}, live, error));
    EXPECT_EQ(live.start, (SongPosition{12, 32}));
    EXPECT_EQ(live.fps, kDefaultFps);
    EXPECT_TRUE(live.render.empty());
}

TEST(OfflineCommandLine, NamesWhatIsWrong) {
    struct Case {
        std::vector<const char*> args;
        const char* reason;
    };
    for (const Case& c :
         {Case{{"--bench", "--fps", "241"}, "--fps needs a number from 1 to 240, not '241'"},
          Case{{"--start", "5"}, "--start needs a music position ORDER:ROW, such as 5:0, not '5'"},
          Case{{"--render", "x", "--end", "-1:0"}, "--end needs a music position ORDER:ROW, such as 5:0, not '-1:0'"},
          Case{{"--render"}, "--render needs a video file (.mp4, .mkv) or a folder to write"},
          Case{{"--render", "x", "--list"}, "--render, --bench, --list and --check-flashes go one at a time"},
          Case{{"--end", "5:0"}, "--end needs --render, --bench or --check-flashes"},
          Case{{"--fps", "30"}, "--fps needs --render, --bench or --check-flashes FOLDER"}}) {
        ShowOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.args, options, error));
        EXPECT_EQ(error, c.reason);
    }
    SongPosition position;
    for (const char* text : {"5:0", "0:0", "34:127"}) EXPECT_TRUE(parseSongPosition(text, position)) << text;
    for (const char* text : {"", ":", "5:", ":0", "5:0:0", "a:b", "5:+1", " 5:0", "5:0x", "99999999999:0",
                             "1:-0", "-0:4", "-1:0", "+1:0"})
        EXPECT_FALSE(parseSongPosition(text, position)) << text;
}

TEST(OfflineCommandLine, TheTimelineListsEveryScene) {
    SongTimeline timeline;
    ASSERT_TRUE(timeline.loadModuleOf(*builtInShow().assets));
    const std::string text = timelineText(timeline, demoScript());
    for (const char* line : {"    1  worldefu      0:32  0:01.600\n", "    2  logoefu        4:0  0:25.600\n",
                             "   13  loppuefu      32:0  3:18.400\n", "       (end)         35:0  3:37.600\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    EXPECT_EQ(showScenes(timeline, demoScript()).size(), 13u);
}

int exitStatus(int waitStatus) { return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1; }

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(OfflineCommands, EachBadArgumentExitsWithTwoAndWritesNothing) {
    const fs::path dir = fs::path(testpng::outputDir()) / "offline-bad-arguments";
    fs::remove_all(dir);
    fs::create_directories(dir / "full");
    std::ofstream(dir / "full" / "keep.txt") << "kept";
    std::ofstream(dir / "plain-file") << "a file";
    fs::create_directory_symlink(dir / "nowhere", dir / "dangling");
    const std::string err = (dir / "stderr").string();

    struct Case {
        std::string args;
        std::string out;  // what must not appear
        const char* says;
    };
    const std::string video = (dir / "show.mp4").string(), frames = (dir / "frames").string();
    const std::vector<Case> cases = {
        {"--render " + video + " --loud", video, "unknown option '--loud'"},
        {"--render " + video + " --start 5.0", video, "--start needs a music position"},
        {"--render " + frames + " --start 35:0", frames, "--start 35:0 is past the end of the song"},
        {"--render " + frames + " --start 5:128", frames, "--start 5:128 is not in the song"},
        {"--render " + frames + " --start 5:0 --end 4:0", frames, "--end 4:0 does not come after the start 5:0"},
        {"--render " + frames + " --end 36:0", frames, "--end 36:0 is past the end of the song"},
        {"--render " + video + " --fps 0", video, "--fps needs a number from 1 to 240"},
        {"--render " + video + " --fps 500", video, "--fps needs a number from 1 to 240"},
        {"--render " + (dir / "missing" / "show.mp4").string(), (dir / "missing").string(), "does not exist"},
        {"--render " + (dir / "plain-file" / "frames").string(), (dir / "plain-file" / "frames").string(), "does not exist"},
        {"--render " + (dir / "full").string(), (dir / "full" / "000000.png").string(), "is not an empty folder"},
        {"--render " + (dir / "plain-file").string() + " --end 0:8", (dir / "plain-file" / "audio.wav").string(),
         "is not an empty folder"},
        // Found by trying: a folder that takes no new files, a link to no
        // folder, names longer than the file system takes.
        {"--render /proc/zemra-test.mp4", "/proc/zemra-test.mp4", "cannot write the video '/proc/zemra-test.mp4'"},
        {"--render " + (dir / "dangling").string(), (dir / "nowhere").string(), "a link to a folder that does not exist"},
        {"--render " + (dir / std::string(300, 'f')).string(), (dir / "nowhere").string(), "File name too long"},
        {"--render " + (dir / (std::string(300, 'v') + ".mkv")).string(), (dir / "nowhere").string(),
         "File name too long"},
    };
    for (const Case& c : cases) {
        const int status = std::system((ZEMRA_EXECUTABLE " " + c.args + " >/dev/null 2>" + err).c_str());
        EXPECT_EQ(exitStatus(status), 2) << c.args;
        const std::string said = readFile(err);
        EXPECT_NE(said.find(c.says), std::string::npos) << c.args << "\n" << said;
        EXPECT_NE(said.find("Usage: zemra"), std::string::npos) << c.args;
        EXPECT_FALSE(fs::exists(c.out)) << c.args;
    }
    // Where a render may go: a new video file, a new or empty folder.
    std::string reason;
    for (const fs::path& good : {dir / "show.mkv", dir / "frames/", dir / "full" / "new"})
        EXPECT_TRUE(checkRenderTarget(good.string(), reason)) << good << ": " << reason;
    EXPECT_EQ(readFile(dir / "plain-file"), "a file");
    EXPECT_EQ(readFile(dir / "full" / "keep.txt"), "kept");
    std::size_t left = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) ++left;
    EXPECT_EQ(left, 4u);  // full, plain-file, dangling and stderr: no side files either
}

}  // namespace
