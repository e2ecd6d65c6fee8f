// Study mode's music: started at a jump it sounds exactly as the offline
// render's music from there; started at a frame after it, as that music
// from the frame's sample on; paused, it holds the output.
#include <gtest/gtest.h>

#include <vector>

#include "show/builtin_show.h"
#include "platform/music/lockstep_music_player.h"
#include "platform/music/study_sound.h"
#include "support/pulled_audio_output.h"
#include "study_rig.h"

namespace {

std::vector<uint8_t> showModule() { return builtInShow().assets->loadMusicModule(); }

// The offline render's music from `from`, after skipping `skip` frames.
std::vector<float> renderedMusic(const std::vector<uint8_t>& module, SongPosition from, uint64_t skip, int frames) {
    LockstepMusicPlayer player;
    player.init(StudySound::kRate);
    player.loadSongMemory(module.data(), module.size());
    player.setMasterVolume(250);  // as the show sets it for its module
    player.setStartPosition(from);
    player.play();
    player.renderUntil(skip + static_cast<uint64_t>(frames));
    std::vector<float> audio;
    player.takeAudio(audio);
    return {audio.begin() + static_cast<std::ptrdiff_t>(2 * skip), audio.end()};
}

TEST(StudySound, PlaysTheRendersMusicFromAJumpAndFromAFrameAfterIt) {
    const std::vector<uint8_t> module = showModule();
    ASSERT_FALSE(module.empty());
    PulledAudioOutput output;
    StudySound sound(output);
    ASSERT_TRUE(sound.open(module.data(), module.size()));
    EXPECT_EQ(output.pull(512), std::vector<float>(1024, 0.0f));  // silent until it plays

    sound.playFrom({9, 0}, 0.0, {9, 0});
    EXPECT_EQ(output.pull(4096), renderedMusic(module, {9, 0}, 0, 4096));

    // Frame 30 after 13:0 is half a second in: 22050 frames.
    sound.playFrom({13, 0}, 0.5, {13, 0});
    EXPECT_EQ(output.pull(4096), renderedMusic(module, {13, 0}, 22050, 4096));

    sound.setPaused(true);
    sound.setPaused(false);
    EXPECT_EQ(output.pauses, (std::vector<bool>{true, false}));
}

}  // namespace
