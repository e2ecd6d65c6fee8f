// The soundtrack as the show plays it: the module carried as BZ2 189, loaded
// the way start-up loads it, rendered whole at 44100 Hz with the master volume
// the show sets (250 of 256) and the module's own stereo panning (the show
// changes the separation only for MOD and S3M songs).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/resources.h"
#include "engine/demo_script.h"
#include "platform/module_player.h"
#include "song_analysis.h"
#include "song_picture.h"
#include "song_render.h"
#include "support/png.h"
#include "xm_samples.h"

namespace {

constexpr uint32_t kStartupBuffer = 409600;
constexpr int kRate = 44100;
constexpr int kFramesPerRow = kRate / 20;  // speed 3 at 150 BPM: 50 ms a row
constexpr int kOrders = 35;
constexpr int kFadeOrder = 34;             // the show fades to black in it

std::vector<uint8_t> loadModuleBytes() {
    std::vector<uint8_t> buffer(kStartupBuffer);
    const uint32_t length = loadCompressedResource(buffer.data(), kStartupBuffer, 189);
    buffer.resize(length);
    return buffer;
}

struct Position {
    int order, row;
};

// Rows where the script flashes the picture: the blitter's control set to
// 1024 or 512.
std::vector<Position> flashRows() {
    std::vector<Position> rows;
    for (const ScriptEntry& e : demoScript()) {
        if (e.argument == nullptr || std::strcmp(e.target, "blitter") != 0 || std::strcmp(e.command, "setparam") != 0 ||
            std::strstr(e.argument, "param=control ") == nullptr) {
            continue;
        }
        const int value0 = std::atoi(std::strstr(e.argument, "value0=") + 7);
        if (value0 == 1024 || value0 == 512) rows.push_back({e.order, e.row});
    }
    return rows;
}

// Rows where the typewriter shows more letters (a line length set above 0).
std::vector<Position> typingRows() {
    std::vector<Position> rows;
    for (const ScriptEntry& e : demoScript()) {
        if (e.argument == nullptr || std::strcmp(e.target, "spriteefu") != 0 || std::strstr(e.argument, "param=len") == nullptr) continue;
        const bool more = std::atoi(std::strstr(e.argument, "value0=") + 7) > 0;
        if (more && (rows.empty() || rows.back().order != e.order || rows.back().row != e.row)) rows.push_back({e.order, e.row});
    }
    return rows;
}

// One load and one render of the whole song, shared by the tests below (each
// test program run renders it once).
class RenderedSoundtrack : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bytes_ = new std::vector<uint8_t>(loadModuleBytes());
        player_ = new ModulePlayer();
        if (!player_->load(bytes_->data(), bytes_->size())) return;
        player_->setGainMillibel(masterVolumeToMillibel(250));
        song_ = new songcheck::RenderedSong(songcheck::renderSong(*player_, kRate));
        highBand_ = new songcheck::Stereo(songcheck::highpassed(song_->audio, 2000.0));
    }
    static void TearDownTestSuite() {
        delete highBand_;
        delete song_;
        delete player_;
        delete bytes_;
        highBand_ = nullptr;
        song_ = nullptr;
        player_ = nullptr;
        bytes_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(song_, nullptr) << "the module did not load"; }

    static std::size_t frameOf(Position p) { return song_->rowStarts.at(p.order).at(p.row); }
    static double orderRmsDb(int order) {
        const std::size_t end = order + 1 < static_cast<int>(song_->orderStarts.size()) ? song_->orderStarts[order + 1]
                                                                                     : song_->songEnd;
        return songcheck::rmsDb(song_->audio, song_->orderStarts[order], end);
    }

    static std::vector<uint8_t>* bytes_;
    static ModulePlayer* player_;
    static songcheck::RenderedSong* song_;
    static songcheck::Stereo* highBand_;
};

std::vector<uint8_t>* RenderedSoundtrack::bytes_ = nullptr;
ModulePlayer* RenderedSoundtrack::player_ = nullptr;
songcheck::RenderedSong* RenderedSoundtrack::song_ = nullptr;
songcheck::Stereo* RenderedSoundtrack::highBand_ = nullptr;

TEST(SoundtrackModule, DecompressesIntoTheStartupBufferAndLoadsAsXmWithTheShowsFrame) {
    const std::vector<uint8_t> bytes = loadModuleBytes();
    ASSERT_GT(bytes.size(), 0u) << "BZ2 189 is missing or does not fit 409600 bytes";
    ModulePlayer player;
    ASSERT_TRUE(player.load(bytes.data(), bytes.size()));
    EXPECT_EQ(player.loadMessages(), "");
    EXPECT_EQ(player.formatName(), "xm");
    ASSERT_EQ(player.orderCount(), kOrders);
    int rows = 0;
    for (int o = 0; o < kOrders; ++o) {
        const int n = player.patternRowsAt(o);
        rows += n;
        const bool free = o <= 2 || (o >= 13 && o <= 18);
        if (free) {
            EXPECT_TRUE(n == 64 || n == 128) << "order " << o << " has " << n << " rows";
        } else {
            EXPECT_EQ(n, 128) << "order " << o;
        }
    }
    EXPECT_NEAR(player.durationSeconds(), rows * 0.05, 0.05);
}

TEST(SoundtrackModule, EveryScriptPositionLiesInsideTheSong) {
    ModulePlayer player;
    const std::vector<uint8_t> bytes = loadModuleBytes();
    ASSERT_TRUE(player.load(bytes.data(), bytes.size()));
    for (const ScriptEntry& e : demoScript()) {
        if (std::strcmp(e.command, "stop") == 0) {
            // The stop row stands one position past the last order.
            EXPECT_EQ(e.order, player.orderCount());
            EXPECT_EQ(e.row, 0);
            continue;
        }
        ASSERT_LT(e.order, player.orderCount());
        EXPECT_LT(e.row, player.patternRowsAt(e.order)) << "script row at " << e.order << ":" << e.row;
    }
}

TEST(SoundtrackModule, InstrumentsStartAndEndAtZeroAndLoopSeamlessly) {
    const std::vector<uint8_t> bytes = loadModuleBytes();
    const auto samples = songcheck::readXmSamples(bytes.data(), bytes.size());
    ASSERT_FALSE(samples.empty());
    for (const auto& s : samples) {
        ASSERT_FALSE(s.values.empty()) << s.name;
        const int quiet = s.sixteenBit ? 330 : 2;  // 1% of full scale
        EXPECT_LE(std::abs(s.values.front()), quiet) << s.name << " starts with a step";
        if (s.loopLength == 0) {
            EXPECT_LE(std::abs(s.values.back()), quiet) << s.name << " ends with a step";
            continue;
        }
        ASSERT_LE(s.loopStart + s.loopLength, s.values.size()) << s.name;
        // The jump from the loop's end back to its start is no larger than
        // the steps inside the loop.
        int largestStep = 0;
        for (std::size_t i = s.loopStart + 1; i < s.loopStart + s.loopLength; ++i) {
            largestStep = std::max(largestStep, std::abs(s.values[i] - s.values[i - 1]));
        }
        const int wrap = std::abs(s.values[s.loopStart] - s.values[s.loopStart + s.loopLength - 1]);
        EXPECT_LE(wrap, largestStep) << s.name << " loop seam";
    }
}

TEST_F(RenderedSoundtrack, EveryRowLastsFiftyMilliseconds) {
    std::size_t expected = 0;
    for (int o = 0; o < kOrders; ++o) {
        EXPECT_NEAR(static_cast<double>(song_->orderStarts.at(o)), static_cast<double>(expected), kFramesPerRow)
            << "order " << o;
        for (int r = 0; r < player_->patternRowsAt(o); ++r, expected += kFramesPerRow) {
            ASSERT_NEAR(static_cast<double>(frameOf({o, r})), static_cast<double>(expected), kFramesPerRow / 10)
                << o << ":" << r;
        }
    }
    // The song ends when all its rows have played.
    ASSERT_EQ(song_->orderStarts.size(), static_cast<std::size_t>(kOrders));
    EXPECT_NEAR(static_cast<double>(song_->songEnd), static_cast<double>(expected), kFramesPerRow);
}

TEST_F(RenderedSoundtrack, NeverClipsAndNoOrderIsNearlySilent) {
    EXPECT_LT(songcheck::peak(song_->audio), 1.0);
    double loudest = -200.0;
    for (int o = 0; o < kOrders; ++o) loudest = std::max(loudest, orderRmsDb(o));
    for (int o = 0; o < kOrders; ++o) {
        if (o == kFadeOrder) continue;
        EXPECT_GT(orderRmsDb(o), loudest - 30.0) << "order " << o;
    }
}

// Each flash of the picture lands on a jump in level, and one that stands
// out above 2 kHz, where a crash shows and a plain kick does not; each burst
// of typing lands on a click that stands out above 2 kHz.
TEST_F(RenderedSoundtrack, FlashesAndTypingLandOnTransients) {
    const auto flashes = flashRows();
    ASSERT_EQ(flashes.size(), 25u);
    for (const Position& p : flashes) {
        EXPECT_GE(songcheck::transientDb(song_->audio, frameOf(p), 0.05), 5.0) << "flash " << p.order << ":" << p.row;
        EXPECT_GE(songcheck::transientDb(*highBand_, frameOf(p), 0.05), 7.0) << "flash " << p.order << ":" << p.row;
    }
    const auto typing = typingRows();
    ASSERT_EQ(typing.size(), 38u);
    for (const Position& p : typing) {
        EXPECT_GE(songcheck::transientDb(*highBand_, frameOf(p), 0.05), 5.0) << "typing " << p.order << ":" << p.row;
    }
}

// Not a check: the figures and the picture to judge the song by.
TEST_F(RenderedSoundtrack, ReportWithPicture) {
    std::printf("module: %zu bytes of %u; %d channels; %.3f s\n", bytes_->size(), kStartupBuffer,
                player_->channelCount(), player_->durationSeconds());
    const double top = songcheck::peak(song_->audio);
    std::printf("peak %.4f (%.2f dBFS); song ends after %.3f s, sound after %.3f s\n", top, 20.0 * std::log10(top),
                static_cast<double>(song_->songEnd) / kRate, static_cast<double>(song_->audio.frames()) / kRate);
    double loudest = -200.0;
    for (int o = 0; o < kOrders; ++o) loudest = std::max(loudest, orderRmsDb(o));
    for (int o = 0; o < kOrders; ++o) {
        std::printf("order %2d: %3d rows, RMS %6.1f dBFS (%+5.1f dB)\n", o, player_->patternRowsAt(o), orderRmsDb(o),
                    orderRmsDb(o) - loudest);
    }
    std::vector<std::size_t> accents;
    for (const Position& p : flashRows()) {
        accents.push_back(frameOf(p));
        std::printf("flash %2d:%-3d level jump %5.1f dB, above 2 kHz %5.1f dB\n", p.order, p.row,
                    songcheck::transientDb(song_->audio, frameOf(p), 0.05),
                    songcheck::transientDb(*highBand_, frameOf(p), 0.05));
    }
    for (const Position& p : typingRows()) {
        std::printf("typing %2d:%-3d above 2 kHz %5.1f dB\n", p.order, p.row,
                    songcheck::transientDb(*highBand_, frameOf(p), 0.05));
    }
    const auto picture = songcheck::drawSong(song_->audio, song_->orderStarts, accents);
    const std::string path = testpng::outputDir() + "/soundtrack.png";
    ASSERT_TRUE(testpng::writeRgb(path, picture.rgb, picture.width, picture.height));
    std::printf("picture: %s\n", path.c_str());
}

}  // namespace
