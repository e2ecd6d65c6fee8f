// --dump-script, --script, --share and --cut on the command line: the
// options, the file written, the timeline of a file's script, a file with
// problems, which exits with status 2, names each problem at its line and
// starts nothing, and a cut that goes into a link and plays the same frames
// out of it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "app/timeline.h"
#include "show/script_text.h"
#include "parse_arguments.h"
#include "support/png.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

namespace fs = std::filesystem;

int run(const std::string& args) {
    const int status = std::system((ZEMRA_EXECUTABLE " " + args).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(ScriptOptions, ReadTheFileAndWhereTheDumpGoes) {
    ShowOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--dump-script"}, options, error));
    EXPECT_TRUE(options.dumpScript);
    EXPECT_EQ(options.dumpScriptPath, "");
    ASSERT_TRUE(parse({"--dump-script", "cut.txt", "--script", "mine.txt"}, options, error)) << error;
    EXPECT_EQ(options.dumpScriptPath, "cut.txt");
    EXPECT_EQ(options.script, "mine.txt");
    ShowOptions other;
    ASSERT_TRUE(parse({"--dump-script=cut.txt", "--study", "--script=mine.txt"}, other, error) == false);
    EXPECT_EQ(error, "--dump-script writes the script and ends: only --script or --cut goes with it");
    ShowOptions both;
    EXPECT_FALSE(parse({"--script", "mine.txt", "--cut", "#cut=1.x"}, both, error));
    EXPECT_EQ(error, "--script and --cut go one at a time: each names the script to play");
    ShowOptions share;
    EXPECT_FALSE(parse({"--share", "--render", "out"}, share, error));
    EXPECT_EQ(error, "--share prints the link and ends: only --script or --cut goes with it");
    ShowOptions study;
    ASSERT_TRUE(parse({"--study", "--script", "mine.txt", "--start", "9:0"}, study, error)) << error;
    EXPECT_EQ(study.script, "mine.txt");
    ShowOptions missing;
    EXPECT_FALSE(parse({"--script"}, missing, error));
    EXPECT_EQ(error, "--script needs a script file to play (--dump-script writes one to start from)");
}

TEST(ScriptCommands, DumpListAndRefuseWhatIsWrong) {
    const fs::path dir = fs::path(testpng::outputDir()) / "script-commands";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path dumped = dir / "cut.txt", out = dir / "out", err = dir / "err";
    const std::string quiet = " >" + out.string() + " 2>" + err.string();

    // The dump as a new file, the same text as on standard output; an
    // existing file is not overwritten.
    ASSERT_EQ(run("--dump-script " + dumped.string() + quiet), 0) << readFile(err);
    EXPECT_EQ(readFile(dumped), scriptText(demoScript()));
    ASSERT_EQ(run("--dump-script" + quiet), 0);
    EXPECT_EQ(readFile(out), readFile(dumped));
    std::ofstream(dir / "mine.txt") << "my own cut";
    EXPECT_EQ(run("--dump-script " + (dir / "mine.txt").string() + quiet), 2);
    EXPECT_EQ(readFile(dir / "mine.txt"), "my own cut");
    EXPECT_NE(readFile(err).find("exists already"), std::string::npos);

    // The dumped script gives the show's own timeline.
    ASSERT_EQ(run("--script " + dumped.string() + " --list" + quiet), 0) << readFile(err);
    SongTimeline timeline;
    ASSERT_TRUE(timeline.loadModuleOf(*builtInShow().assets));
    EXPECT_EQ(readFile(out), timelineText(timeline, demoScript()));

    // A script with problems: each named at its line, status 2, no render begun.
    std::string text = readFile(dumped);
    text.replace(text.find("\"tunnelefu\""), 11, "\"tunelefu\"");
    text.replace(text.find("length=3200 value0=0 value1=150000"), 34, "length=3200 value0=0 value1=150k");
    text.resize(text.rfind("35:0"));
    const fs::path bad = dir / "bad cut.txt";
    std::ofstream(bad) << text;
    const fs::path frames = dir / "frames";
    EXPECT_EQ(run("--script '" + bad.string() + "' --render " + frames.string() + quiet), 2);
    const std::string said = readFile(err);
    std::cout << said;
    EXPECT_NE(said.find(bad.string() + ":"), std::string::npos) << said;
    EXPECT_NE(said.find(": \"tunelefu\" is not an effect"), std::string::npos) << said;
    EXPECT_NE(said.find(": value1 \"150k\" is not a whole number"), std::string::npos) << said;
    EXPECT_NE(said.find(": the script does not end with the \"stop\" row"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(frames));

    // Files that are no scripts at all.
    EXPECT_EQ(run("--script " + (dir / "none.txt").string() + " --list" + quiet), 2);
    EXPECT_NE(readFile(err).find("none.txt: cannot be read: there is no such file"), std::string::npos);
    EXPECT_EQ(run("--script " + dir.string() + " --list" + quiet), 2);
    EXPECT_NE(readFile(err).find("is a folder"), std::string::npos);
    EXPECT_EQ(run("--script " ZEMRA_EXECUTABLE " --list" + quiet), 2);
    EXPECT_LT(readFile(err).size(), 20000u);
}

// A cut that moves a flash, changes a fade and adds a track: its link
// carries its text exactly, and renders the frames and sound the file does.
TEST(ScriptCommands, ACutGoesIntoALinkAndPlaysTheSameOutOfIt) {
    const fs::path dir = fs::path(testpng::outputDir()) / "cut-link";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path out = dir / "out", err = dir / "err";
    const std::string quiet = " >" + out.string() + " 2>" + err.string();
    std::string text = scriptText(demoScript());
    const auto edit = [&text](const std::string& from, const std::string& to) {
        ASSERT_NE(text.find(from), std::string::npos) << from;
        text.replace(text.find(from), from.size(), to);
    };
    edit("5:0     blitter     setparam   \"param=control mode=linear",
         "5:16    blitter     setparam   \"param=control mode=linear");
    edit("mode=slow loopmode=stop length=7500 value0=0 value1=256", "mode=linear loopmode=stop length=3000 value0=0 value1=256");
    edit("\n1:16", "\n1:0 worldefu setparam \"param=worldangle mode=sin length=2000 value0=0 value1=64\"\n1:16");
    const fs::path cut = dir / "cut.txt";
    std::ofstream(cut) << text;

    ASSERT_EQ(run("--script " + cut.string() + " --share" + quiet), 0) << readFile(err);
    std::string link = readFile(out);
    ASSERT_TRUE(link.starts_with("#cut=1.") && link.ends_with("\n")) << link;
    link = "'https://example.org/zemra/" + link.substr(0, link.size() - 1) + "'";
    ASSERT_EQ(run("--cut " + link + " --dump-script" + quiet), 0) << readFile(err);
    EXPECT_EQ(readFile(out), text);

    const std::string range = " --end 6:0 --fps 10" + quiet;
    ASSERT_EQ(run("--script " + cut.string() + " --render " + (dir / "file").string() + range), 0) << readFile(err);
    ASSERT_EQ(run("--cut " + link + " --render " + (dir / "link").string() + range), 0) << readFile(err);
    int frames = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir / "file")) {
        const fs::path name = entry.path().filename();
        EXPECT_EQ(readFile(entry.path()), readFile(dir / "link" / name)) << name;
        frames += name.extension() == ".png";
    }
    EXPECT_GT(frames, 100);

    // A bad link: one message, status 2, nothing started; a link too long
    // to share is refused.
    EXPECT_EQ(run("--cut '#cut=1.' --render " + (dir / "none").string() + quiet), 2);
    EXPECT_EQ(readFile(err), "zemra: The link holds no cut: nothing follows its version.\n");
    EXPECT_FALSE(fs::exists(dir / "none"));
    std::string noise;
    for (unsigned k = 1; noise.size() < 20000; ++k) noise += "# " + std::to_string(k * 2654435761u) + "\n";
    std::ofstream(cut) << noise + text;
    EXPECT_EQ(run("--script " + cut.string() + " --share" + quiet), 1);
    EXPECT_EQ(readFile(out), "");
    EXPECT_NE(readFile(err).find("share the script as a file instead"), std::string::npos) << readFile(err);
}

// A pipe or a device is refused before anything is read from it: a pipe
// nobody writes to would hold the program (the timeout ends such a wait).
TEST(ScriptCommands, OnlyARegularFileIsRead) {
    const fs::path dir = fs::path(testpng::outputDir()) / "script-not-regular";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path pipe = dir / "cut.txt", err = dir / "err";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& file : {pipe.string(), std::string("/dev/null"), std::string("/dev/zero")}) {
        const std::string command =
            "timeout -s KILL 30 " ZEMRA_EXECUTABLE " --script " + file + " --list >/dev/null 2>" + err.string();
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2) << file;
        EXPECT_NE(readFile(err).find(file + ": is not a regular file"), std::string::npos) << readFile(err);
    }
}

// The dump makes its file as new in one step: never through a link (even
// one to a file that does not exist), and of two dumps to one new name
// exactly one writes it.
TEST(ScriptCommands, TheDumpMakesANewFileOrNothing) {
    const fs::path dir = fs::path(testpng::outputDir()) / "script-dump-new";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string quiet = " >/dev/null 2>" + (dir / "err").string();
    fs::create_symlink("target.txt", dir / "dangling");
    EXPECT_EQ(run("--dump-script " + (dir / "dangling").string() + quiet), 2);
    EXPECT_NE(readFile(dir / "err").find("exists already"), std::string::npos) << readFile(dir / "err");
    EXPECT_FALSE(fs::exists(dir / "target.txt"));
    for (int round = 0; round < 10; ++round) {
        const fs::path cut = dir / ("cut-" + std::to_string(round) + ".txt");
        const std::string one = ZEMRA_EXECUTABLE " --dump-script " + cut.string() + " 2>/dev/null; echo $? >>" +
                                (dir / "statuses").string();
        fs::remove(dir / "statuses");
        ASSERT_EQ(std::system(("(" + one + ") & (" + one + ") & wait").c_str()), 0);
        const std::string statuses = readFile(dir / "statuses");
        EXPECT_TRUE(statuses == "0\n2\n" || statuses == "2\n0\n") << statuses;
        EXPECT_EQ(readFile(cut), scriptText(demoScript()));
    }
}

}  // namespace
