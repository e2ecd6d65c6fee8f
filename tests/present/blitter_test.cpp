#include "present/blitter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/back_buffer.h"
#include "support/fakes.h"
#include "support/png.h"

namespace {

using fakes::FakeDisplay;

constexpr uint16_t kUntouched = 0xDEAD;

std::vector<uint16_t> frameOf(uint16_t pixel) { return std::vector<uint16_t>(kScreenPixels, pixel); }

// Every 16-bit value appears (76800 pixels hold all 65536 of them).
std::vector<uint16_t> allValuesFrame() {
    std::vector<uint16_t> frame(kScreenPixels);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint16_t>(i * 40503u);
    return frame;
}

// A picture whose orientation shows at a glance: colour ramps, a white
// block in the top-left corner and a yellow bar along the top.
std::vector<uint16_t> orientationFrame() {
    std::vector<uint16_t> frame(kScreenPixels);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            uint16_t p = static_cast<uint16_t>(((x * 31 / 239) << 11) | ((y * 63 / 319) << 5) | 8);
            if (x < 60 && y < 60) p = 0xFFFF;
            else if (y < 20) p = 0xFFE0;
            frame[static_cast<size_t>(y) * kScreenWidth + x] = p;
        }
    return frame;
}

// A blitter on a portrait display (x pitch 2, y pitch 480) in the given mode and strength.
struct Rig {
    explicit Rig(int32_t xPitch = 2, int32_t yPitch = 480) : display(xPitch, yPitch), blitter(display) {}
    void set(const char* mode, int32_t control) {
        blitter.handleCommand(0, "setmode", mode);
        blitter.control = ParamTrack(control);
        blitter.update(0);
    }
    uint16_t presentOne(uint16_t pixel) {
        const auto frame = frameOf(pixel);
        blitter.present(frame.data());
        return display.at(17, 33);
    }
    FakeDisplay display;
    Blitter blitter;
};

TEST(Blitter, StartsPlainAndFollowsItsCommands) {
    Rig rig(4, 960);
    EXPECT_EQ(rig.blitter.mode, kBlitNormal);
    EXPECT_EQ(rig.blitter.control.current, 0);
    EXPECT_EQ(rig.blitter.display.xPitch, 4);
    EXPECT_EQ(rig.blitter.display.yPitch, 960);

    rig.blitter.handleCommand(0, "setmode", "motionblur");
    rig.blitter.handleCommand(0, "setmode", "Mul");
    rig.blitter.handleCommand(0, "setmode", "");
    EXPECT_EQ(rig.blitter.mode, kBlitMotionBlur);
    rig.blitter.handleCommand(0, "setmode", "inverse");
    EXPECT_EQ(rig.blitter.mode, kBlitInverse);

    rig.blitter.handleCommand(1000, "setparam", "param=control mode=linear loopmode=stop length=800 value0=1024 value1=256");
    rig.blitter.handleCommand(1000, "setparam", "param=other mode=constant length=1 value0=5");
    rig.blitter.handleCommand(1000, "setmode", "mul");
    rig.blitter.update(1200);
    EXPECT_EQ(rig.blitter.control.current, 832);
}

TEST(Blitter, ModeExamples) {
    Rig rig;
    rig.set("mul", 512);
    EXPECT_EQ(rig.presentOne(0x4208), 0x8410);
    rig.set("mul", 1024);
    EXPECT_EQ(rig.presentOne(0x8410), 0xFFFF);
    EXPECT_EQ(rig.presentOne(0x4208), 0xFFFF);
    rig.set("mul", 128);
    EXPECT_EQ(rig.presentOne(0xFFFF), 0x7BEF);
    rig.set("inverse", 128);
    EXPECT_EQ(rig.presentOne(0x0000), 0x7BEF);

    rig.set("normal", 0);
    rig.presentOne(0xFFFF);
    rig.set("motionblur", 128);
    EXPECT_EQ(rig.presentOne(0x0000), 0x7BEF);
    // The trail keeps closing in on the new picture.
    EXPECT_EQ(rig.presentOne(0x0000), 0x39E7);
}

TEST(Blitter, InverseEndsAreThePictureAndItsComplement) {
    Rig rig;
    const auto frame = allValuesFrame();
    rig.set("inverse", 256);
    rig.blitter.present(frame.data());
    for (size_t i = 0; i < frame.size(); ++i) ASSERT_EQ(rig.display.memory[i], 0xFFFF - frame[i]) << i;
    rig.set("inverse", 0);
    rig.blitter.present(frame.data());
    EXPECT_EQ(rig.display.memory, frame);

    // Strengths outside 0..256 count as the nearer end, not as a wrapped blend.
    rig.set("inverse", 1024);
    rig.blitter.present(frame.data());
    for (size_t i = 0; i < frame.size(); ++i) ASSERT_EQ(rig.display.memory[i], 0xFFFF - frame[i]) << i;
    rig.set("inverse", -300);
    rig.blitter.present(frame.data());
    EXPECT_EQ(rig.display.memory, frame);
}

TEST(Blitter, TrivialStrengthsCopyOrLeaveTheDisplay) {
    const auto frame = allValuesFrame();
    struct Case {
        const char* mode;
        int32_t control;
        bool copies;
    };
    for (const Case c : {Case{"mul", 0, false}, Case{"mul", 256, true}, Case{"motionblur", 256, false},
                         Case{"motionblur", 5000, false}, Case{"motionblur", 0, true}, Case{"motionblur", -3, true},
                         Case{"normal", 77, true}}) {
        SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.control));
        Rig rig;
        rig.set(c.mode, c.control);
        rig.blitter.present(frame.data());
        EXPECT_EQ(rig.display.memory, c.copies ? frame : frameOf(kUntouched));
        EXPECT_EQ(rig.display.begins, 1);
        EXPECT_EQ(rig.display.ends, 1);
    }
}

TEST(Blitter, UnknownModesAndMissingSurfacesWriteNothing) {
    Rig rig;
    rig.blitter.mode = 7;
    EXPECT_EQ(rig.presentOne(0x1234), kUntouched);
    rig.blitter.mode = kBlitNormal;
    rig.display.available = false;
    rig.presentOne(0x1234);
    EXPECT_EQ(rig.display.ends, 2);
    EXPECT_EQ(rig.display.memory, frameOf(kUntouched));
}

// Landscape surfaces (320-pixel rows) and a mirror: each surface pixel must
// hold the picture pixel the layout puts there.
struct Layout {
    const char* name;
    int32_t xPitch, yPitch;
    int surfaceWidth;
    // The picture pixel (x, y) expected at surface position (column, row).
    void (*source)(int column, int row, int& x, int& y);
};

const Layout kLayouts[] = {
    {"portrait", 2, 480, 240, [](int c, int r, int& x, int& y) { x = c, y = r; }},
    {"quarter turn clockwise", 640, -2, 320, [](int c, int r, int& x, int& y) { x = r, y = 319 - c; }},
    {"quarter turn anticlockwise", -640, 2, 320, [](int c, int r, int& x, int& y) { x = 239 - r, y = c; }},
    {"mirrored", -2, 480, 240, [](int c, int r, int& x, int& y) { x = 239 - c, y = r; }},
};

void expectLaidOut(const Layout& layout, const std::vector<uint16_t>& surface, const std::vector<uint16_t>& picture) {
    ASSERT_EQ(surface.size(), kScreenPixels);
    for (size_t i = 0; i < surface.size(); ++i) {
        int x = 0, y = 0;
        layout.source(static_cast<int>(i % layout.surfaceWidth), static_cast<int>(i / layout.surfaceWidth), x, y);
        ASSERT_EQ(surface[i], picture[static_cast<size_t>(y) * kScreenWidth + x]) << layout.name << " at " << i;
    }
}

TEST(Blitter, PitchesTurnAndMirrorThePicture) {
    const auto picture = allValuesFrame();
    std::mt19937 rng(7);
    std::vector<uint16_t> shown(kScreenPixels);
    for (auto& p : shown) p = static_cast<uint16_t>(rng());

    struct Case {
        const char* mode;
        int32_t control;
    };
    for (const Layout& layout : kLayouts) {
        for (const Case c : {Case{"normal", 0}, Case{"inverse", 100}, Case{"mul", 700}, Case{"motionblur", 90}}) {
            SCOPED_TRACE(std::string(layout.name) + " " + c.mode);
            // The same frame presented on a portrait display over the same old picture.
            Rig portrait;
            portrait.display.memory = shown;
            portrait.set(c.mode, c.control);
            portrait.blitter.present(picture.data());

            Rig rig(layout.xPitch, layout.yPitch);
            for (int y = 0; y < kScreenHeight; ++y)
                for (int x = 0; x < kScreenWidth; ++x) rig.display.at(x, y) = shown[y * kScreenWidth + x];
            rig.set(c.mode, c.control);
            rig.blitter.present(picture.data());
            expectLaidOut(layout, rig.display.memory, portrait.display.memory);
        }
    }
}

TEST(Blitter, QuarterTurnMatchesTheDesktopView) {
    const auto picture = orientationFrame();
    Rig rig(640, -2);
    rig.blitter.present(picture.data());
    const std::string dir = testpng::outputDir();
    ASSERT_TRUE(testpng::writeRgb565(dir + "/blitter_quarter_turn.png", rig.display.memory.data(), 320, 240));
    ASSERT_TRUE(testpng::writeLandscape(dir + "/blitter_quarter_turn_expected.png", picture.data()));
    expectLaidOut(kLayouts[1], rig.display.memory, picture);
}

// Pitches under which pixels share addresses: the walk's order decides, the
// last pixel written to an address wins.
TEST(Blitter, OverlappingPitchesFollowTheWalk) {
    const auto picture = allValuesFrame();
    for (const auto& [xPitch, yPitch] : {std::pair{4, 2}, std::pair{2, 100}, std::pair{0, 2}}) {
        SCOPED_TRACE(std::to_string(xPitch) + " " + std::to_string(yPitch));
        Rig rig(xPitch, yPitch);
        FakeDisplay expected(xPitch, yPitch);
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) expected.at(x, y) = picture[y * kScreenWidth + x];
        rig.blitter.present(picture.data());
        EXPECT_EQ(rig.display.memory, expected.memory);
    }
}

}  // namespace
