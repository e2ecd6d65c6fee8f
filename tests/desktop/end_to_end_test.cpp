// The program itself: without a display, and playing on a virtual X display
// (skipped where xvfb-run, xdotool or xwd are missing).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "app/offline_show.h"
#include "show/script_check.h"
#include "app/user_messages.h"
#include "show/catalogue.h"
#include "platform/portable/picture_surface.h"
#include "study/study_view.h"
#include "support/png.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

int exitStatus(int waitStatus) { return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1; }

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool onPath(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

// A screenshot in xwd's format: true-colour pixels of 3 or 4 bytes as the X
// server gives them, rows padded to bytes_per_line.
struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

uint32_t bigEndian32(const std::string& bytes, std::size_t at) {
    return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
           (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
}

uint8_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / (mask >> shift));
}

bool readXwd(const std::string& path, Screenshot& shot) {
    const std::string bytes = readFile(path);
    if (bytes.size() < 100) return false;
    const uint32_t headerSize = bigEndian32(bytes, 0), width = bigEndian32(bytes, 16), height = bigEndian32(bytes, 20);
    const uint32_t byteOrder = bigEndian32(bytes, 28), bitsPerPixel = bigEndian32(bytes, 44);
    const uint32_t bytesPerLine = bigEndian32(bytes, 48), colours = bigEndian32(bytes, 76);
    const uint32_t red = bigEndian32(bytes, 56), green = bigEndian32(bytes, 60), blue = bigEndian32(bytes, 64);
    const std::size_t data = headerSize + 12u * colours;
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return false;
    const uint32_t pixelBytes = bitsPerPixel / 8;
    if (data + std::size_t(bytesPerLine) * height > bytes.size()) return false;
    shot.width = static_cast<int>(width);
    shot.height = static_cast<int>(height);
    shot.rgb.clear();
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const std::size_t at = data + std::size_t(y) * bytesPerLine + pixelBytes * x;
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < pixelBytes; ++i) {
                const uint32_t byte = uint8_t(bytes[at + i]);
                pixel |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (pixelBytes - 1 - i));
            }
            shot.rgb.insert(shot.rgb.end(), {channel(pixel, red), channel(pixel, green), channel(pixel, blue)});
        }
    return true;
}

// The show's pictures have thousands of colours; the loading box a handful,
// an empty window one.
bool showsTheShow(const Screenshot& shot) {
    std::unordered_set<uint32_t> colours;
    for (std::size_t i = 0; i + 2 < shot.rgb.size(); i += 3)
        colours.insert((uint32_t(shot.rgb[i]) << 16) | (uint32_t(shot.rgb[i + 1]) << 8) | shot.rgb[i + 2]);
    return colours.size() >= 1000;
}

bool hasLine(const std::string& text, const std::string& line) {
    std::istringstream lines(text);
    for (std::string l; std::getline(lines, l);)
        if (l == line) return true;
    return false;
}

int valueOf(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    for (std::string l; std::getline(lines, l);)
        if (l.rfind(key + " ", 0) == 0) return std::atoi(l.c_str() + key.size() + 1);
    return -1;
}

// The number after "KEY=" at the start of a line, or -1.
int assignedValue(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    for (std::string l; std::getline(lines, l);)
        if (l.rfind(key + "=", 0) == 0) return std::atoi(l.c_str() + key.size() + 1);
    return -1;
}

bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

struct Playing {
    std::string result, stderrText;
    bool showSeen = false;
};

// Plays the show under xvfb-run (each run on its own server number, so two
// may go at once). Looks at each screenshot as it comes; once one shows the
// show (or when the show is not expected to appear), asks for the key press.
Playing playUnderXvfb(const std::string& folder, int serverNumber, const std::string& environment,
                      const std::string& options, bool expectPicture) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    // In sanitizer builds the program's leak check is off: the system's
    // graphics and D-Bus libraries keep allocations to the end of a process.
    const std::string command = "env -u SDL_VIDEODRIVER ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" " + environment +
                                " timeout -k 5 240 xvfb-run -a -n " + std::to_string(serverNumber) +
                                " -s '-screen 0 1024x768x24' bash " ZEMRA_TEST_SCRIPTS "/play_under_xvfb.sh " +
                                ZEMRA_EXECUTABLE " " + folder + " " + options + " >/dev/null 2>&1";
    std::atomic<bool> finished{false};
    std::thread player([command, &finished] {
        std::system(command.c_str());
        finished = true;
    });

    Playing playing;
    int next = 1;
    while (!finished && !fileExists(folder + "/press")) {
        const std::string path = folder + "/shot-" + std::to_string(next) + ".xwd";
        if (!fileExists(path)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            continue;
        }
        Screenshot shot;
        const bool read = readXwd(path, shot);
        std::filesystem::remove(path);
        if (read && showsTheShow(shot)) {
            playing.showSeen = true;
            testpng::writeRgb(folder + "/screenshot.png", shot.rgb, shot.width, shot.height);
        }
        if (playing.showSeen || (!expectPicture && next >= 2)) std::ofstream(folder + "/press") << "now\n";
        ++next;
    }
    player.join();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with("shot-")) std::filesystem::remove(entry.path());
    playing.result = readFile(folder + "/result");
    playing.stderrText = readFile(folder + "/stderr");
    return playing;
}

void checkPlaysAndEndsOnAKey(const std::string& name, int serverNumber, const std::string& environment,
                             const std::string& options) {
    for (const char* tool : {"xvfb-run", "xdotool", "xwd"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is missing (scripts/setup.sh installs it): not played";

    // The opening effect shows a picture a few seconds in; without it the
    // show has nothing to show yet.
    const bool opening = std::any_of(effectCatalogue().begin(), effectCatalogue().end(),
                                     [](const EffectMaker& e) { return std::string(e.name) == "worldefu"; });
    if (!opening) std::cout << "[ NOTE     ] the opening effect does not exist yet: the picture is not checked\n";

    const Playing playing =
        playUnderXvfb(testpng::outputDir() + "/end-to-end-" + name, serverNumber, environment, options, opening);
    SCOPED_TRACE("result:\n" + playing.result + "stderr:\n" + playing.stderrText);
    ASSERT_TRUE(hasLine(playing.result, "started"));
    if (opening) {
        EXPECT_TRUE(playing.showSeen) << "no screenshot showed the show";
    }

    const int exitMs = valueOf(playing.result, "exit_ms");
    EXPECT_GE(exitMs, 0) << "the show ended before the key";
    EXPECT_LE(exitMs, 2000) << "the key did not end the show at once";
    EXPECT_EQ(valueOf(playing.result, "status"), 0);
}

TEST(EndToEnd, PlaysInLandscapeWithSoundAndEndsOnAKey) {
    // SDL's dummy sound driver consumes the audio in real time like a device.
    checkPlaysAndEndsOnAKey("landscape", 151, "SDL_AUDIODRIVER=dummy", "");
}

TEST(EndToEnd, PlaysUprightAndMuted) { checkPlaysAndEndsOnAKey("portrait", 171, "", "--portrait --mute --scale 2"); }

// A request to terminate sent as soon as the window is there, while the show
// is still starting up (or, on a quick machine, just after), ends the show
// as the close button does; the show plays for minutes when it is lost.
TEST(EndToEnd, AStopSignalDuringTheStartUpEndsTheShow) {
    for (const char* tool : {"xvfb-run", "xdotool"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is missing (scripts/setup.sh installs it): not played";
    const std::string folder = testpng::outputDir() + "/end-to-end-stop-signal";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/stop.sh") << ZEMRA_EXECUTABLE " 2>/dev/null & pid=$!\n"
                                          "timeout 90 xdotool search --sync --onlyvisible --name '^Zemra\\.$' >/dev/null\n"
                                          "kill -TERM $pid\n"
                                          "i=0; while kill -0 $pid 2>/dev/null && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done\n"
                                          "kill -9 $pid 2>/dev/null; wait $pid; echo $? >" + folder + "/status\n";
    const std::string command = "env -u SDL_VIDEODRIVER ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" "
                                "SDL_AUDIODRIVER=dummy timeout -k 5 150 xvfb-run -a -n 191 -s '-screen 0 1024x768x24' "
                                "sh " + folder + "/stop.sh >/dev/null 2>&1";
    std::system(command.c_str());
    EXPECT_EQ(readFile(folder + "/status"), "0\n") << "137: the signal was lost and the show played on";
}

// Pixel (x, y) of a screenshot.
uint32_t rgbAt(const Screenshot& shot, int x, int y) {
    const std::size_t at = 3 * (static_cast<std::size_t>(y) * shot.width + x);
    return (uint32_t(shot.rgb[at]) << 16) | (uint32_t(shot.rgb[at + 1]) << 8) | shot.rgb[at + 2];
}

int countColour(const Screenshot& shot, int left, int top, int width, int height, uint32_t rgb) {
    int count = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) count += rgbAt(shot, x, y) == rgb;
    return count;
}

// The middle of the timeline's red cursor, or -1 when none is drawn.
int cursorX(const Screenshot& shot, int left, int top, int width, int height) {
    long sum = 0, count = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            if (rgbAt(shot, x, y) == 0xFF3030) sum += x - left, ++count;
    return count ? static_cast<int>(sum / count) : -1;
}

// The picture (0xFFRRGGBB) of the first frame of a render of the script
// `text` from `from`, landscape.
std::vector<uint32_t> firstRenderedFrame(SongTimeline& timeline, const std::string& text, SongPosition from) {
    ScriptTable table;
    ScriptProblems problems;
    EXPECT_TRUE(loadScriptText(text, timeline, table, problems));
    UserMessages messages(nullptr, std::cerr);
    OfflineSettings settings(builtInShow());
    settings.start = planStart(timeline, table.rows(), from);
    settings.endMs = timeline.lengthMs();
    settings.show.script = table.rows();
    OfflineShow show(settings, messages);
    if (!show.start() || !show.nextFrame()) return {};
    const PictureSurface& picture = show.picture();
    std::vector<uint32_t> pixels(static_cast<std::size_t>(picture.width()) * picture.height());
    widenRgb565(picture.pixels(), pixels.data(), pixels.size());
    return pixels;
}

TEST(EndToEnd, StudyModePausesStepsJumpsSeeksOnAClickAndReloadsItsScript) {
    for (const char* tool : {"xvfb-run", "xdotool", "xwd"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is missing (scripts/setup.sh installs it): not played";
    SongTimeline timeline;
    ASSERT_TRUE(timeline.loadModuleOf(*builtInShow().assets));
    const SurfaceLayout surface = surfaceLayout(Orientation::Landscape);
    const StudyView view(timeline, demoScript(), surface.width, surface.height);
    const StudyLayout& layout = view.layout();
    // At scale 1 the window's pixels are the study picture's. Where the pause
    // lands depends on the machine's speed; the click then puts the show at
    // 10:0 in the tunnel, and every step after starts from there.
    const int clickX = view.timelineX(timeline.timeAt({10, 0})), clickY = layout.timelineTop() + 20;
    // The show's own script as a file, played with --script; at 12:0 it is
    // saved with the flash of 12:0 moved to 12:16.
    const std::string folder = testpng::outputDir() + "/end-to-end-study";
    const std::string scriptFile = testpng::outputDir() + "/end-to-end-study-script.txt";
    const std::string editedFile = testpng::outputDir() + "/end-to-end-study-edited.txt";
    const std::string script = scriptText(demoScript());
    const std::string flash = "12:0    blitter     setparam   \"param=control mode=linear loopmode=stop length=500";
    ASSERT_NE(script.find(flash), std::string::npos);
    const std::string edited = std::string(script).replace(script.find(flash), 4, "12:16");
    std::ofstream(scriptFile, std::ios::binary) << script;
    std::ofstream(editedFile, std::ios::binary) << edited;
    const std::string steps = "key:space shot:study-paused click:" + std::to_string(clickX) + "," +
                              std::to_string(clickY) +
                              " shot:study-clicked key:period key:period key:period shot:study-stepped "
                              "key:Right shot:study-next-scene key:Down shot:study-order save shot:study-reloaded";
    const Playing playing = playUnderXvfb(
        folder, 191, "STEPS='" + steps + "' END_KEY=Escape SCRIPT_FILE='" + scriptFile + "' EDITED_SCRIPT='" + editedFile + "'",
        "--study --start 9:0 --mute --scale 1 --script " + scriptFile, true);
    SCOPED_TRACE("result:\n" + playing.result + "stderr:\n" + playing.stderrText);
    ASSERT_TRUE(hasLine(playing.result, "started"));
    EXPECT_TRUE(playing.showSeen);
    const std::string geometry = readFile(folder + "/geometry");
    const int left = assignedValue(geometry, "X"), top = assignedValue(geometry, "Y");
    ASSERT_GE(left, 0);
    ASSERT_GE(top, 0);

    std::map<std::string, Screenshot> shots;
    for (const char* name :
         {"study-paused", "study-clicked", "study-stepped", "study-next-scene", "study-order", "study-reloaded"}) {
        Screenshot shot;
        ASSERT_TRUE(readXwd(folder + "/" + name + ".xwd", shot)) << name;
        ASSERT_GE(shot.width, left + layout.width());
        ASSERT_GE(shot.height, top + layout.height());
        std::vector<uint8_t> window;
        for (int y = top; y < top + layout.height(); ++y)
            for (int x = left; x < left + layout.width(); ++x) {
                const uint32_t rgb = rgbAt(shot, x, y);
                window.insert(window.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
            }
        testpng::writeRgb(folder + "/" + name + ".png", window, layout.width(), layout.height());
        std::filesystem::remove(folder + "/" + name + ".xwd");
        shots[name] = std::move(shot);
    }
    const int panelLeft = left + layout.pictureWidth, timelineTop = top + layout.timelineTop();
    auto panelCount = [&](const std::string& name, uint32_t rgb) {
        return countColour(shots[name], panelLeft, top, StudyLayout::kPanelWidth, layout.pictureHeight, rgb);
    };
    auto cursor = [&](const std::string& name) {
        return cursorX(shots[name], left, timelineTop, layout.width(), StudyLayout::kTimelineHeight);
    };
    // The panel: its headings, and PAUSED in red.
    EXPECT_GT(panelCount("study-paused", 0xE8C060), 50);
    EXPECT_GT(panelCount("study-paused", 0xFF7060), 20);
    // The timeline's cursor stands after the start, then where the click
    // was, then at the next scene's start.
    const int magnet = view.timelineX(timeline.timeAt({11, 0}));
    EXPECT_GT(cursor("study-paused"), view.timelineX(timeline.timeAt({9, 0})));
    EXPECT_NEAR(cursor("study-clicked"), clickX, 1);
    EXPECT_NEAR(cursor("study-next-scene"), magnet, 1);
    // Three steps moved the picture while paused.
    int changed = 0;
    for (int y = top; y < top + layout.pictureHeight; ++y)
        for (int x = left; x < left + layout.pictureWidth; ++x)
            changed += rgbAt(shots["study-clicked"], x, y) != rgbAt(shots["study-stepped"], x, y);
    EXPECT_GT(changed, 1000);
    // The save while paused at 12:0 put the picture of the edited script
    // there in place of the flash: that of a render of it from 12:0.
    const std::vector<uint32_t> rendered = firstRenderedFrame(timeline, edited, {12, 0});
    ASSERT_EQ(rendered.size(), static_cast<std::size_t>(layout.pictureWidth) * layout.pictureHeight);
    int unlike = 0, moved = 0;
    for (int y = 0; y < layout.pictureHeight; ++y)
        for (int x = 0; x < layout.pictureWidth; ++x) {
            const uint32_t shown = rgbAt(shots["study-reloaded"], left + x, top + y);
            unlike += shown != (rendered[static_cast<std::size_t>(y) * layout.pictureWidth + x] & 0xFFFFFF);
            moved += shown != rgbAt(shots["study-order"], left + x, top + y);
        }
    EXPECT_EQ(unlike, 0) << "the picture after the save is not the edited script's";
    EXPECT_GT(moved, 1000) << "the save did not change the picture";
    EXPECT_EQ(playing.stderrText, "");

    const int exitMs = valueOf(playing.result, "exit_ms");
    EXPECT_GE(exitMs, 0) << "study mode ended before Escape";
    EXPECT_LE(exitMs, 2000) << "Escape did not end study mode at once";
    EXPECT_EQ(valueOf(playing.result, "status"), 0);
}

TEST(EndToEnd, WithoutADisplaySaysSoOnOneLine) {
    const std::string folder = testpng::outputDir();
    const std::string errors = folder + "/no-display-stderr.txt";
    const int status = std::system(("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 " ZEMRA_EXECUTABLE
                                    " --mute >/dev/null 2>" + errors)
                                       .c_str());
    EXPECT_EQ(exitStatus(status), 1);
    const std::string text = readFile(errors);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find("no display"), std::string::npos) << text;
}

TEST(EndToEnd, BadOptionsGiveTheUsageAndStatusTwo) {
    const int status = std::system(ZEMRA_EXECUTABLE " --scale 0 >/dev/null 2>&1");
    EXPECT_EQ(exitStatus(status), 2);
    EXPECT_EQ(exitStatus(std::system(ZEMRA_EXECUTABLE " --help >/dev/null 2>&1")), 0);
}

}  // namespace
