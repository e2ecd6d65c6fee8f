// The module player over libopenmpt: loading, position, and the output
// settings the show's music player relies on.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "assets/resources.h"
#include "platform/music/module_player.h"
#include "song_analysis.h"

namespace {

std::vector<uint8_t> soundtrack() {
    std::vector<uint8_t> buffer(409600);
    buffer.resize(loadCompressedResource(buffer.data(), 409600, 189));
    return buffer;
}

// One second of the chorus at order 9, as floats.
songcheck::Stereo renderChorus(ModulePlayer& player) {
    songcheck::Stereo s;
    s.samples.resize(2 * 44100);
    player.seek(9, 0);
    s.samples.resize(2 * player.renderFloat(44100, s.samples.data(), 44100));
    return s;
}

TEST(ModulePlayer, RejectsBytesThatAreNoModule) {
    ModulePlayer player;
    const std::vector<uint8_t> noise(4096, 0x5A);
    EXPECT_FALSE(player.load(noise.data(), noise.size()));
    EXPECT_FALSE(player.load(nullptr, 0));
    EXPECT_FALSE(player.loaded());
    EXPECT_EQ(player.orderCount(), 0);
    EXPECT_EQ(player.patternRowsAt(0), 0);
    std::vector<int16_t> out(64);
    EXPECT_EQ(player.renderInt16(44100, out.data(), 32), 0u);
}

TEST(ModulePlayer, SeeksToAnOrderAndRowAndReportsThePosition) {
    const auto bytes = soundtrack();
    ModulePlayer player;
    ASSERT_TRUE(player.load(bytes.data(), bytes.size()));
    EXPECT_EQ(player.patternRowsAt(-1), 0);
    EXPECT_EQ(player.patternRowsAt(player.orderCount()), 0);
    player.seek(7, 64);
    std::vector<int16_t> out(2 * 441);
    ASSERT_EQ(player.renderInt16(44100, out.data(), 441), 441u);  // 10 ms: still the same row
    EXPECT_EQ(player.currentOrder(), 7);
    EXPECT_EQ(player.currentRow(), 64);
}

TEST(ModulePlayer, GainAndSeparationShapeTheOutputAndSurviveALoad) {
    const auto bytes = soundtrack();
    ModulePlayer plain, quieter, mono;
    quieter.setGainMillibel(-600);  // set before the load: must still apply
    mono.setStereoSeparationPercent(0);
    for (ModulePlayer* p : {&plain, &quieter, &mono}) ASSERT_TRUE(p->load(bytes.data(), bytes.size()));

    const auto a = renderChorus(plain), b = renderChorus(quieter), m = renderChorus(mono);
    EXPECT_NEAR(songcheck::rmsDb(a, 0, a.frames()) - songcheck::rmsDb(b, 0, b.frames()), 6.0, 0.2);
    double sideEnergy = 0.0;
    for (std::size_t i = 0; i < m.frames(); ++i) sideEnergy += std::abs(m.samples[2 * i] - m.samples[2 * i + 1]);
    EXPECT_LT(sideEnergy / m.frames(), 1e-5);
}

TEST(ModulePlayer, MasterVolumeMapsToMillibel) {
    EXPECT_EQ(masterVolumeToMillibel(256), 0);
    EXPECT_EQ(masterVolumeToMillibel(250), -21);
    EXPECT_EQ(masterVolumeToMillibel(128), -602);
    EXPECT_LE(masterVolumeToMillibel(0), -10000);
}

}  // namespace
