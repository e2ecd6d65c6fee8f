// The offline music player: the position a frame reads belongs to exactly
// the audio made up to that frame, the end of the song reads one past the
// last order, playing can start part-way in (as with the player heard
// live), and a moment already rendered reads as it read then.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/music/lockstep_music_player.h"
#include "platform/music/streaming_music_player.h"
#include "support/pulled_audio_output.h"

namespace {

// Three orders of four rows of 100 frames, then a tail of 50 frames during
// which the position reads (0, 0) again, as libopenmpt's does. Each sample
// holds its frame number.
class SteadySong : public Song {
public:
    static constexpr long kRowFrames = 100, kRows = 4, kOrders = 3, kTail = 50;
    static constexpr long kSongFrames = kRowFrames * kRows * kOrders;

    int formatCode() const override { return 3; }
    int orderCount() const override { return kOrders; }
    int currentOrder() const override { return static_cast<int>(lastRow() / kRows); }
    int currentRow() const override { return static_cast<int>(lastRow() % kRows); }
    std::size_t render(int, float* stereo, std::size_t frames) override {
        const auto count = static_cast<std::size_t>(std::clamp<long>(kSongFrames + kTail - at_, 0, static_cast<long>(frames)));
        for (std::size_t i = 0; i < count; ++i) stereo[2 * i] = stereo[2 * i + 1] = static_cast<float>(at_ + static_cast<long>(i));
        at_ += static_cast<long>(count);
        return count;
    }
    void setGainMillibel(int32_t millibel) override { gain = millibel; }
    void setStereoSeparationPercent(int32_t) override {}
    void seek(int order, int row) override { at_ = begin_ = (order * kRows + row) * kRowFrames; }

    int32_t gain = 0;

private:
    // The row of the last frame made, or the row played from; the tail
    // reads as row 0.
    long lastRow() const {
        if (at_ > kSongFrames) return 0;
        return at_ == begin_ ? begin_ / kRowFrames : (at_ - 1) / kRowFrames;
    }
    long at_ = 0, begin_ = 0;
};

struct Rig {
    SteadySong* song = nullptr;
    LockstepMusicPlayer player{[this](const void*, std::size_t) {
        auto made = std::make_unique<SteadySong>();
        song = made.get();
        return made;
    }};
    Rig() {
        const char bytes[] = "xm";
        player.init(1000);
        player.loadSongMemory(bytes, sizeof bytes);
    }
    SongPosition position() { return player.position(); }
};

TEST(LockstepMusicPlayer, ReadsThePositionOfTheAudioMadeSoFar) {
    Rig rig;
    rig.player.setMasterVolume(250);
    EXPECT_EQ(rig.song->gain, -21);
    ASSERT_TRUE(rig.player.play());
    EXPECT_EQ(rig.position(), (SongPosition{0, 0}));

    rig.player.renderUntil(100);  // the last frame of row 0
    EXPECT_EQ(rig.position(), (SongPosition{0, 0}));
    rig.player.renderUntil(101);  // the first frame of row 1 is made
    EXPECT_EQ(rig.position(), (SongPosition{0, 1}));
    rig.player.renderUntil(401);
    EXPECT_EQ(rig.position(), (SongPosition{1, 0}));
    rig.player.renderUntil(50);  // never renders back
    EXPECT_EQ(rig.player.renderedFrames(), 401u);

    std::vector<float> audio;
    rig.player.takeAudio(audio);
    ASSERT_EQ(audio.size(), 2u * 401);
    EXPECT_EQ(audio[2 * 400], 400.0f);
    rig.player.takeAudio(audio);
    EXPECT_EQ(audio.size(), 2u * 401);  // nothing new
    EXPECT_FALSE(rig.player.isFinished());
}

TEST(LockstepMusicPlayer, PastTheLastRowReadsOnePastTheLastOrderUntilTheSongEnds) {
    Rig rig;
    rig.player.play();
    rig.player.renderUntil(SteadySong::kSongFrames);
    EXPECT_EQ(rig.position(), (SongPosition{2, 3}));
    rig.player.renderUntil(SteadySong::kSongFrames + 10);  // the tail reads (0, 0)
    EXPECT_EQ(rig.position(), (SongPosition{3, 0}));
    EXPECT_FALSE(rig.player.isFinished());
    rig.player.renderUntil(SteadySong::kSongFrames + 1000);
    EXPECT_EQ(rig.player.renderedFrames(), static_cast<uint64_t>(SteadySong::kSongFrames + SteadySong::kTail));
    EXPECT_EQ(rig.position(), (SongPosition{3, 0}));
    EXPECT_TRUE(rig.player.isFinished());
}

TEST(LockstepMusicPlayer, AMomentAlreadyRenderedReadsAsItReadThen) {
    Rig rig;
    rig.player.play();
    const std::vector<uint64_t> requests = {1, 100, 101, 250, 401, 1150, SteadySong::kSongFrames + 10,
                                            SteadySong::kSongFrames + 1000};
    std::vector<std::pair<SongPosition, bool>> read;
    for (const uint64_t request : requests) {
        rig.player.renderUntil(request);
        read.push_back({rig.position(), rig.player.isFinished()});
    }
    ASSERT_TRUE(rig.player.isFinished());
    std::vector<float> audio;
    rig.player.takeAudio(audio);
    // Again, from the first, and from the middle on: nothing is rendered.
    for (const std::size_t first : {std::size_t{0}, std::size_t{3}}) {
        for (std::size_t i = first; i < requests.size(); ++i) {
            rig.player.renderUntil(requests[i]);
            EXPECT_EQ(std::make_pair(rig.position(), rig.player.isFinished()), read[i]) << requests[i];
        }
    }
    rig.player.takeAudio(audio);
    EXPECT_EQ(audio.size(), 2u * (SteadySong::kSongFrames + SteadySong::kTail));

    // Past the furthest moment asked for, the song renders on from there.
    Rig partWay;
    partWay.player.play();
    partWay.player.renderUntil(101);
    partWay.player.renderUntil(401);
    partWay.player.renderUntil(150);  // as the request before it read
    EXPECT_EQ(partWay.position(), (SongPosition{0, 1}));
    partWay.player.renderUntil(501);
    EXPECT_EQ(partWay.position(), (SongPosition{1, 1}));
    EXPECT_EQ(partWay.player.renderedFrames(), 501u);
}

TEST(LockstepMusicPlayer, StartsAtTheStartPosition) {
    Rig rig;
    rig.player.setStartPosition({1, 2});
    rig.player.play();
    EXPECT_EQ(rig.position(), (SongPosition{1, 2}));
    rig.player.renderUntil(1);
    EXPECT_EQ(rig.position(), (SongPosition{1, 2}));
    std::vector<float> audio;
    rig.player.takeAudio(audio);
    ASSERT_EQ(audio.size(), 2u);
    EXPECT_EQ(audio[0], 600.0f);  // the first frame of order 1, row 2
    rig.player.renderUntil(101);
    EXPECT_EQ(rig.position(), (SongPosition{1, 3}));
}

TEST(StreamingMusicPlayer, StartsAtTheStartPositionToo) {
    PulledAudioOutput output;
    StreamingMusicPlayer player(output, [](const void*, std::size_t) { return std::make_unique<SteadySong>(); });
    const auto position = [&player] { return player.position(); };
    const char bytes[] = "xm";
    ASSERT_TRUE(player.init(1000));
    ASSERT_TRUE(player.loadSongMemory(bytes, sizeof bytes));
    player.setStartPosition({2, 1});
    ASSERT_TRUE(player.play());
    EXPECT_EQ(position(), (SongPosition{2, 1}));  // before anything is heard
    EXPECT_EQ(output.pull(100)[0], 900.0f);  // the first frame of order 2, row 1
    EXPECT_EQ(position(), (SongPosition{2, 1}));
    output.pull(100);
    output.pull(100);
    EXPECT_EQ(position(), (SongPosition{2, 2}));
    player.close();
}

}  // namespace
