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
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "effects/catalogue.h"
#include "support/png.h"

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
        if (entry.path().extension() == ".xwd") std::filesystem::remove(entry.path());
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
                                     [](const EffectEntry& e) { return std::string(e.name) == "worldefu"; });
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
