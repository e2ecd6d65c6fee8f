#pragma once
// The soundtrack as the show plays it: the module carried as BZ2 189, loaded
// the way start-up loads it, rendered whole at 44100 Hz with the master volume
// the show sets (250 of 256) and the module's own stereo panning (the show
// changes the separation only for MOD and S3M songs). One render per test
// program, shared by the tests of the soundtrack.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "anim/song_position.h"
#include "platform/music/module_player.h"
#include "song_analysis.h"
#include "song_render.h"

namespace songcheck {

constexpr uint32_t kStartupBuffer = 409600;
constexpr int kRate = 44100;
constexpr int kFramesPerRow = kRate / 20;  // speed 3 at 150 BPM: 50 ms a row
constexpr int kOrders = 35;
constexpr int kFadeOrder = 34;  // the show fades to black in it

std::vector<uint8_t> loadModuleBytes();

// Renders module bytes as the show plays them; nothing when they do not load.
bool renderAsShown(const std::vector<uint8_t>& bytes, RenderedSong& song);

// Rows where the script flashes the picture: the blitter's control set to
// 1024 or 512.
std::vector<SongPosition> flashRows();
// Rows where the picture starts to fade to or from black ("mul" mode, the
// control going from 256 to 0 or from 0 to 256).
std::vector<SongPosition> fadeRows();
// Rows where an effect becomes the one shown: the starts of the scenes.
std::vector<SongPosition> sceneRows();
// Rows where the typewriter shows more letters (a line length set above 0).
std::vector<SongPosition> typingRows();

class RenderedSoundtrack : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override { ASSERT_NE(song_, nullptr) << "the module did not load"; }

    static std::size_t frameOf(SongPosition p) { return song_->rowStarts.at(p.order).at(p.row); }
    static std::size_t orderEnd(int order);
    static double orderRmsDb(int order);

    static std::vector<uint8_t>* bytes_;
    static ModulePlayer* player_;
    static RenderedSong* song_;
    static Stereo* highBand_;
};

}  // namespace songcheck
