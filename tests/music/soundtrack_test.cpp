// The soundtrack's module and its render: the show's frame (orders, rows,
// script positions), clean instruments, exact timing, headroom, and accents
// where the picture flashes and the typewriter types.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "show/demo_script.h"
#include "rendered_soundtrack.h"
#include "song_picture.h"
#include "support/png.h"
#include "xm_reader.h"

namespace songcheck {
namespace {

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
    const auto samples = readXmSamples(bytes.data(), bytes.size());
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

TEST_F(RenderedSoundtrack, KeepsHeadroomAndNoOrderIsNearlySilent) {
    EXPECT_LE(20.0 * std::log10(peak(song_->audio)), -1.5) << "peak in dBFS";
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
    for (const SongPosition& p : flashes) {
        EXPECT_GE(transientDb(song_->audio, frameOf(p), 0.05), 5.0) << "flash " << p.order << ":" << p.row;
        EXPECT_GE(transientDb(*highBand_, frameOf(p), 0.05), 7.0) << "flash " << p.order << ":" << p.row;
    }
    const auto typing = typingRows();
    ASSERT_EQ(typing.size(), 38u);
    for (const SongPosition& p : typing) {
        EXPECT_GE(transientDb(*highBand_, frameOf(p), 0.05), 5.0) << "typing " << p.order << ":" << p.row;
    }
}

// Not a check: the figures and the picture to judge the song by (scene
// starts in yellow, flashes in red, fades in cyan).
TEST_F(RenderedSoundtrack, ReportWithPicture) {
    std::printf("module: %zu bytes of %u; %d channels; %.3f s\n", bytes_->size(), kStartupBuffer,
                player_->channelCount(), player_->durationSeconds());
    const double top = peak(song_->audio);
    std::printf("peak %.4f (%.2f dBFS); song ends after %.3f s, sound after %.3f s\n", top, 20.0 * std::log10(top),
                static_cast<double>(song_->songEnd) / kRate, static_cast<double>(song_->audio.frames()) / kRate);
    double loudest = -200.0;
    for (int o = 0; o < kOrders; ++o) loudest = std::max(loudest, orderRmsDb(o));
    for (int o = 0; o < kOrders; ++o) {
        std::printf("order %2d: %3d rows, RMS %6.1f dBFS (%+5.1f dB)\n", o, player_->patternRowsAt(o), orderRmsDb(o),
                    orderRmsDb(o) - loudest);
    }
    SongMarks marks;
    marks.orderStarts = song_->orderStarts;
    for (const SongPosition& p : sceneRows()) marks.sceneStarts.push_back(frameOf(p));
    for (const SongPosition& p : fadeRows()) marks.fades.push_back(frameOf(p));
    for (const SongPosition& p : flashRows()) {
        marks.accents.push_back(frameOf(p));
        std::printf("flash %2d:%-3d level jump %5.1f dB, above 2 kHz %5.1f dB\n", p.order, p.row,
                    transientDb(song_->audio, frameOf(p), 0.05),
                    transientDb(*highBand_, frameOf(p), 0.05));
    }
    for (const SongPosition& p : typingRows()) {
        std::printf("typing %2d:%-3d above 2 kHz %5.1f dB\n", p.order, p.row,
                    transientDb(*highBand_, frameOf(p), 0.05));
    }
    const auto picture = drawSong(song_->audio, marks);
    const std::string path = testpng::outputDir() + "/soundtrack.png";
    ASSERT_TRUE(testpng::writeRgb(path, picture.rgb, picture.width, picture.height));
    std::printf("picture: %s\n", path.c_str());
}

}  // namespace
}  // namespace songcheck
