// The flash check on synthetic clips at 60 frames a second: the frequency,
// luminance, red and area limits, changes spread over many frames, stripes
// in motion, the extended case, and the report that names the seconds.
#include "safety/flash_analyser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <vector>

namespace {

constexpr int kFps = 60;

struct Rgb {
    uint8_t r, g, b;
};
constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};

// A clip's picture: the colour at a frame and a place (x, y from 0 to 1).
using Picture = std::function<Rgb(int frame, double x, double y)>;

FlashReport analyse(double seconds, const Picture& picture, int width = 72, int height = 54) {
    FlashAnalyser analyser(kFps);
    std::vector<uint8_t> rgb(std::size_t{3} * width * height);
    for (int frame = 0; frame < seconds * kFps; ++frame) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb c = picture(frame, (x + 0.5) / width, (y + 0.5) / height);
                uint8_t* p = &rgb[3 * (std::size_t{1} * y * width + x)];
                p[0] = c.r, p[1] = c.g, p[2] = c.b;
            }
        EXPECT_TRUE(analyser.add({rgb.data(), width, height}));
    }
    return analyser.finish();
}

// Two colours taking turns, each change 1 / (2 hertz) seconds after the last.
bool onAt(int frame, double hertz) { return static_cast<long>(std::floor(frame * 2 * hertz / kFps)) % 2 == 1; }

Picture flashing(double hertz, Rgb on, Rgb off) {
    return [=](int frame, double, double) { return onAt(frame, hertz) ? on : off; };
}

// Flashing inside a centred square of the given side (a fraction of the
// picture's width and height), black around it.
Picture flashingSquare(double hertz, double side) {
    return [=](int frame, double x, double y) {
        const bool inside = std::abs(x - 0.5) < side / 2 && std::abs(y - 0.5) < side / 2;
        return inside && onAt(frame, hertz) ? kWhite : kBlack;
    };
}

TEST(FlashAnalyser, FullScreenFlashingFailsFromFourFlashesASecond) {
    const FlashReport three = analyse(5, flashing(3, kWhite, kBlack));
    EXPECT_EQ(three.worstWindow().general, 3);
    EXPECT_TRUE(three.passes());
    EXPECT_TRUE(three.hasExtendedFlashing());  // six transitions a second

    const FlashReport four = analyse(2, flashing(4, kWhite, kBlack));
    EXPECT_EQ(four.worstWindow().general, 4);
    EXPECT_EQ(four.worstWindow().red, 0);
    EXPECT_EQ(four.failingSeconds(), 2);

    // RGB565 pixels, as the show's pictures are (white is full white).
    FlashAnalyser analyser(kFps);
    std::vector<uint16_t> picture(60 * 80);
    for (int frame = 0; frame < 80; ++frame) {  // 8 transitions from frame 8 to 68
        std::fill(picture.begin(), picture.end(), onAt(frame, 4) ? 0xFFFF : 0x0000);
        ASSERT_TRUE(analyser.addRgb565(picture.data(), 60, 80));
    }
    EXPECT_EQ(analyser.finish().worstWindow().general, 4);
}

TEST(FlashAnalyser, ChangesBelowTheLuminanceThresholdsPass) {
    // 150 and 160 differ by 0.047 in luminance.
    const FlashReport dim = analyse(3, flashing(4, {150, 150, 150}, {160, 160, 160}));
    EXPECT_EQ(dim.worstWindow().general, 0);
    EXPECT_TRUE(dim.passes());
    // A change of 0.13 whose darker state (0.87) is not below 0.80.
    const FlashReport bright = analyse(3, flashing(4, {240, 240, 240}, kWhite));
    EXPECT_EQ(bright.worstWindow().general, 0);
}

TEST(FlashAnalyser, ChangesSpreadOverFramesCountOnce) {
    // Black to white and back every two seconds, with a small wobble on
    // every frame that makes many tiny peaks and valleys on the way.
    const FlashReport fade = analyse(6, [](int frame, double, double) {
        const double t = frame / double(kFps), ramp = std::abs(std::fmod(t, 4.0) - 2.0) / 2.0;
        const double level = std::clamp(ramp * 235 + (frame % 2 ? 10 : 0), 0.0, 255.0);
        const auto v = static_cast<uint8_t>(level);
        return Rgb{v, v, v};
    });
    EXPECT_TRUE(fade.passes());
    EXPECT_EQ(fade.worstWindow().general, 0);

    // A 4 Hz flash that comes on at once and goes off a fifth of the
    // pixels at a time over five frames: on no frame does a quarter of a
    // field go dark together, but the whole picture does.
    const FlashReport uneven = analyse(
        3,
        [](int frame, double x, double) {
            const int group = static_cast<int>(x * 96) % 5;  // by column
            return frame % 15 <= group ? kWhite : kBlack;
        },
        96, 72);
    EXPECT_EQ(uneven.worstWindow().general, 4);
}

TEST(FlashAnalyser, StripesInMotionAreAPatternNotFlashes) {
    // Black and white stripes 3 pixels wide, 8 pairs across a field, moving
    // a pixel a frame: each pixel changes at 10 Hz, but on each frame only a
    // sixth of the picture brightens and a sixth darkens.
    auto stripes = [](int speed) {
        return [speed](int frame, double x, double) {
            return (static_cast<int>(x * 144) + speed * frame) / 3 % 2 ? kWhite : kBlack;
        };
    };
    const FlashReport moving = analyse(2, stripes(1), 144, 108);
    EXPECT_EQ(moving.worstWindow().general, 0);
    EXPECT_EQ(moving.seconds[1].patternFrames, kFps);
    EXPECT_EQ(analyse(1, stripes(0), 144, 108).seconds[0].patternFrames, 0);
}

TEST(FlashAnalyser, SaturatedRedFlashesCountAsRed) {
    // A dark saturated red on black: 0.064 in luminance, too little for a
    // general flash, but 96 in (R - G - B) x 320 and 0.26 in u'v'.
    const FlashReport red = analyse(3, flashing(4, {149, 0, 0}, kBlack));
    const FlashCounts worst = red.worstWindow();
    EXPECT_EQ(worst.general, 0);
    EXPECT_EQ(worst.red, 4);
    EXPECT_EQ(worst.redChroma, 4);
    EXPECT_FALSE(red.passes());
}

TEST(FlashAnalyser, AFlashCountsWhenItCoversAQuarterOfAField) {
    // A fifth of the picture fills whole fields.
    const FlashReport fifth = analyse(3, flashingSquare(4, std::sqrt(0.2)));
    EXPECT_EQ(fifth.worstWindow().general, 4);
    EXPECT_FALSE(fifth.passes());
    // A hundredth of the picture is 9% of a field.
    const FlashReport small = analyse(3, flashingSquare(4, 0.1));
    EXPECT_EQ(small.worstWindow().general, 0);
    EXPECT_TRUE(small.passes());
}

TEST(FlashAnalyser, ReportsExtendedFlashingAndLongRuns) {
    // Two flashes a second (four transitions) for seven seconds: never more
    // than three in a second, but held for four seconds of five.
    const FlashReport two = analyse(7, flashing(2, kWhite, kBlack));
    EXPECT_EQ(two.worstWindow().general, 2);
    EXPECT_TRUE(two.passes());
    EXPECT_TRUE(two.seconds[4].extended);
    ASSERT_EQ(two.longSequences.size(), 1u);
    EXPECT_EQ(two.longSequences[0].seconds, 7);

    // Three transitions a second is not extended; its run is still reported.
    const FlashReport slow = analyse(7, flashing(1.5, kWhite, kBlack));
    EXPECT_FALSE(slow.hasExtendedFlashing());
    EXPECT_EQ(slow.longSequences.size(), 1u);
}

TEST(FlashAnalyser, RefusesAFrameOfAnotherSize) {
    FlashAnalyser analyser(kFps);
    std::vector<uint8_t> rgb(96 * 72 * 3, 0);
    ASSERT_TRUE(analyser.add({rgb.data(), 96, 72}));
    EXPECT_FALSE(analyser.add({rgb.data(), 72, 96}));
    EXPECT_EQ(analyser.error(), "a frame of 72 x 96 among frames of 96 x 72");
    EXPECT_FALSE(analyser.add({nullptr, 96, 72}));
    EXPECT_EQ(analyser.frames(), 1);
}

TEST(FlashReport, NamesTheSecondsThatFlashWithTheCallersLabels) {
    // Two seconds of 4 Hz, then two quiet ones.
    const FlashReport report = analyse(4, [](int frame, double, double) {
        return frame < 2 * kFps && onAt(frame, 4) ? kWhite : kBlack;
    });
    std::ostringstream text;
    writeFlashReport(text, report, [](long second) { return "scene" + std::to_string(second); });
    const std::string written = text.str();
    EXPECT_NE(written.find("scene1\n"), std::string::npos) << written;
    // The window ending early in second 2 still holds second 1's flashes.
    EXPECT_NE(written.find("scene2\n"), std::string::npos) << written;
    EXPECT_EQ(written.find("scene3"), std::string::npos) << written;
    EXPECT_NE(written.find("Over three flashes in a second: 0-2\n"), std::string::npos) << written;
    EXPECT_NE(written.find("Verdict: FAIL, 3 of 4 seconds over three flashes\n"), std::string::npos) << written;
}

}  // namespace
