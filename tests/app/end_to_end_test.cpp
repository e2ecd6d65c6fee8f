// The program itself: without a display, and playing on a virtual X display
// (skipped where xvfb-run, xdotool or xwd are missing).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
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
// server gives them (Xvfb says 24 bits a pixel but lays them out in 4 bytes).
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
    const uint32_t pixelBytes = bytesPerLine >= 4 * width ? 4 : 3;
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

int brightPixels(const Screenshot& shot) {
    int count = 0;
    for (std::size_t i = 0; i + 2 < shot.rgb.size(); i += 3)
        count += std::max({shot.rgb[i], shot.rgb[i + 1], shot.rgb[i + 2]}) > 40;
    return count;
}

struct Playing {
    std::string result, stderrText, folder;
    std::vector<Screenshot> shots;
};

// Plays the show under xvfb-run with the given options (each run on its own
// server number, so two runs may go at once).
Playing playUnderXvfb(const std::string& name, int serverNumber, const std::string& environment,
                      const std::string& options) {
    Playing playing;
    playing.folder = testpng::outputDir() + "/end-to-end-" + name;
    const std::string command = "env -u SDL_VIDEODRIVER " + environment + " timeout -k 5 150 xvfb-run -a -n " +
                                std::to_string(serverNumber) + " -s '-screen 0 1024x768x24' bash " +
                                ZEMRA_TEST_SCRIPTS "/play_under_xvfb.sh " ZEMRA_EXECUTABLE " " + playing.folder + " " +
                                options + " >/dev/null 2>&1";
    std::system(command.c_str());
    playing.result = readFile(playing.folder + "/result");
    playing.stderrText = readFile(playing.folder + "/stderr");
    for (int n = 1; n <= 4; ++n) {
        Screenshot shot;
        const std::string path = playing.folder + "/shot-" + std::to_string(n) + ".xwd";
        if (readXwd(path, shot)) playing.shots.push_back(shot);
        std::remove(path.c_str());  // the brightest is kept as a PNG
    }
    return playing;
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

void checkPlaysAndEndsOnAKey(const std::string& name, int serverNumber, const std::string& environment,
                             const std::string& options) {
    for (const char* tool : {"xvfb-run", "xdotool", "xwd"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is missing (scripts/setup.sh installs it): not played";

    const Playing playing = playUnderXvfb(name, serverNumber, environment, options);
    SCOPED_TRACE("result:\n" + playing.result + "stderr:\n" + playing.stderrText);
    ASSERT_TRUE(hasLine(playing.result, "started"));
    ASSERT_FALSE(playing.shots.empty());

    const bool opening = std::any_of(effectCatalogue().begin(), effectCatalogue().end(),
                                     [](const EffectEntry& e) { return std::string(e.name) == "worldefu"; });
    if (opening) {
        // The opening fades in over the first seconds; one of the shots shows it.
        int best = 0;
        for (const Screenshot& shot : playing.shots) {
            if (brightPixels(shot) > best) {
                best = brightPixels(shot);
                testpng::writeRgb(playing.folder + "/brightest.png", shot.rgb, shot.width, shot.height);
            }
        }
        EXPECT_GT(best, 10000) << "the screen stayed black";
    } else {
        std::cout << "[ NOTE     ] the opening effect does not exist yet: the picture is not checked\n";
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
