// The streaming music player against a song whose position at every frame is
// known and an audio device that the test plays by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/music/streaming_music_player.h"

namespace {

using Position = std::pair<int, int>;  // order, row

// Rows of rowFrames frames, rowsPerOrder rows to an order, orderCount orders,
// then a tail of tailFrames during which the position reads (0, 0) again,
// as libopenmpt's does. Every sample holds its frame number, so the test can
// tell which audio the device handed out.
class TimedSong : public Song {
public:
    static constexpr int kRowFrames = 1000, kRowsPerOrder = 4, kOrders = 3, kTailFrames = 3000;
    static constexpr int kSongFrames = kRowFrames * kRowsPerOrder * kOrders;

    static Position positionAt(long frame) {
        if (frame >= kSongFrames) return {kOrders, 0};
        const long row = frame / kRowFrames;
        return {static_cast<int>(row / kRowsPerOrder), static_cast<int>(row % kRowsPerOrder)};
    }

    int formatCode() const override { return 3; }
    int orderCount() const override { return kOrders; }
    // The position of the last frame rendered, as a tracker reports it.
    int currentOrder() const override { return reported().first; }
    int currentRow() const override { return reported().second; }
    std::size_t render(int, float* stereo, std::size_t frames) override {
        const long left = kSongFrames + kTailFrames - rendered_;
        const std::size_t count = std::min<std::size_t>(frames, static_cast<std::size_t>(std::max(0L, left)));
        for (std::size_t i = 0; i < count; ++i) stereo[2 * i] = stereo[2 * i + 1] = static_cast<float>(rendered_ + i);
        rendered_ += static_cast<long>(count);
        return count;
    }
    void setGainMillibel(int32_t millibel) override { gain = millibel; }
    void setStereoSeparationPercent(int32_t percent) override { separation = percent; }

    int32_t gain = 0, separation = 100;

private:
    Position reported() const {
        if (rendered_ == 0) return {0, 0};
        if (rendered_ > kSongFrames) return {0, 0};  // the tail
        return positionAt(rendered_ - 1);
    }
    long rendered_ = 0;
};

// A device that takes audio in buffers of its own size and plays it when
// told; what it has heard lags what it has taken.
class HandPlayedOutput : public AudioOutput {
public:
    bool opens = true;
    AudioSource* source = nullptr;
    std::vector<bool> pauses;
    uint64_t taken = 0, heard = 0;
    std::vector<float> lastBuffer;

    bool open(int, AudioSource& s) override {
        source = &s;
        return opens;
    }
    void close() override { source = nullptr; }
    void setPaused(bool paused) override { pauses.push_back(paused); }
    uint64_t playedFrames() override { return heard; }

    void take(int frames) {
        lastBuffer.assign(2 * static_cast<std::size_t>(frames), -1.0f);
        source->fill(lastBuffer.data(), frames);
        taken += static_cast<uint64_t>(frames);
    }
};

struct PlayerRig {
    HandPlayedOutput output;
    TimedSong* song = nullptr;
    StreamingMusicPlayer player{output, [this](const void*, std::size_t) {
                                    auto made = std::make_unique<TimedSong>();
                                    song = made.get();
                                    return std::unique_ptr<Song>(std::move(made));
                                }};

    void startPlaying() {
        ASSERT_TRUE(player.init(44100));
        const char bytes[] = "module";
        ASSERT_TRUE(player.loadSongMemory(bytes, sizeof bytes));
        ASSERT_TRUE(player.play());
    }
    Position position() {
        const int order = player.order();
        return {order, player.row()};
    }
};

TEST(StreamingMusicPlayer, ReportsTheAudioBeingHeardNeverAheadAndNeverBack) {
    PlayerRig rig;
    rig.startPlaying();
    constexpr int kDeviceBuffer = 2048, kLatency = 3000;
    constexpr uint64_t kChunk = StreamingMusicPlayer::kChunkFrames;

    Position last{0, 0};
    while (!rig.player.isFinished()) {
        // The device keeps a buffer ahead of what it plays, plus its latency.
        while (rig.output.taken < rig.output.heard + kDeviceBuffer + kLatency) rig.output.take(kDeviceBuffer);
        const uint64_t heard = rig.output.heard;
        const Position reported = rig.position();
        SCOPED_TRACE(heard);
        EXPECT_GE(reported, last) << "went back";
        EXPECT_LE(reported, TimedSong::positionAt(static_cast<long>(heard + kChunk))) << "ahead of the sound";
        EXPECT_GE(reported, TimedSong::positionAt(static_cast<long>(heard) - static_cast<long>(kChunk)))
            << "behind the sound";
        last = reported;
        rig.output.heard += 97;
        ASSERT_LT(heard, 1000000u);
    }
    // The tail plays out after the last row, and the song ends with its audio.
    EXPECT_EQ(last, Position(TimedSong::kOrders, 0));
    EXPECT_GE(rig.output.heard, static_cast<uint64_t>(TimedSong::kSongFrames + TimedSong::kTailFrames));
    EXPECT_LT(rig.output.heard, static_cast<uint64_t>(TimedSong::kSongFrames + TimedSong::kTailFrames) + 97);
}

TEST(StreamingMusicPlayer, ReportsOnePastTheLastOrderFromTheEndOfTheLastRow) {
    PlayerRig rig;
    rig.startPlaying();
    while (rig.output.taken < static_cast<uint64_t>(TimedSong::kSongFrames + TimedSong::kTailFrames + 4096))
        rig.output.take(1024);

    rig.output.heard = TimedSong::kSongFrames - 600;
    EXPECT_EQ(rig.position(), Position(TimedSong::kOrders - 1, TimedSong::kRowsPerOrder - 1));
    rig.output.heard = TimedSong::kSongFrames + StreamingMusicPlayer::kChunkFrames;
    EXPECT_EQ(rig.position(), Position(TimedSong::kOrders, 0));  // the tail, not (0, 0)
    EXPECT_FALSE(rig.player.isFinished());
    rig.output.heard = TimedSong::kSongFrames + TimedSong::kTailFrames;
    EXPECT_TRUE(rig.player.isFinished());
    EXPECT_EQ(rig.position(), Position(TimedSong::kOrders, 0));
}

TEST(StreamingMusicPlayer, HandsOutTheSongThenSilence) {
    PlayerRig rig;
    ASSERT_TRUE(rig.player.init(44100));
    rig.output.take(100);  // before a song is playing: silence
    EXPECT_TRUE(std::all_of(rig.output.lastBuffer.begin(), rig.output.lastBuffer.end(), [](float s) { return s == 0; }));

    const char bytes[] = "module";
    ASSERT_TRUE(rig.player.loadSongMemory(bytes, sizeof bytes));
    ASSERT_TRUE(rig.player.play());
    rig.output.take(1500);  // three chunks, the audio in one piece
    for (int frame = 0; frame < 1500; ++frame) {
        ASSERT_EQ(rig.output.lastBuffer[2 * frame], static_cast<float>(frame));
        ASSERT_EQ(rig.output.lastBuffer[2 * frame + 1], static_cast<float>(frame));
    }

    rig.player.setPaused(true);
    rig.player.setPaused(false);
    EXPECT_EQ(rig.output.pauses, (std::vector<bool>{true, false}));

    rig.player.freeSong();
    rig.output.take(100);
    EXPECT_TRUE(std::all_of(rig.output.lastBuffer.begin(), rig.output.lastBuffer.end(), [](float s) { return s == 0; }));
    EXPECT_FALSE(rig.player.play());
}

TEST(StreamingMusicPlayer, PauseHoldsThePosition) {
    PlayerRig rig;
    rig.startPlaying();
    rig.output.take(8192);
    rig.output.heard = 5500;
    const Position before = rig.position();
    rig.player.setPaused(true);
    // A paused device plays nothing: the position stays however long it is asked.
    for (int i = 0; i < 10; ++i) EXPECT_EQ(rig.position(), before);
    rig.player.setPaused(false);
    rig.output.heard = 6500;
    EXPECT_GT(rig.position(), before);
}

TEST(StreamingMusicPlayer, OpeningTheDeviceIsTheInitialisation) {
    PlayerRig rig;
    rig.output.opens = false;
    EXPECT_FALSE(rig.player.init(44100));
    rig.output.opens = true;
    EXPECT_TRUE(rig.player.init(44100));
    EXPECT_NE(rig.output.source, nullptr);
    rig.player.close();
    EXPECT_EQ(rig.output.source, nullptr);
}

TEST(StreamingMusicPlayer, MapsVolumeAndSeparationToTheSong) {
    PlayerRig rig;
    EXPECT_EQ(rig.player.type(), 0);  // no song yet
    rig.startPlaying();
    EXPECT_EQ(rig.player.type(), 3);
    rig.player.setMasterVolume(250);
    EXPECT_EQ(rig.song->gain, -21);
    rig.player.setMasterVolume(256);
    EXPECT_EQ(rig.song->gain, 0);
    rig.player.setPanSeparation(0.7f);
    EXPECT_EQ(rig.song->separation, 70);
}

TEST(StreamingMusicPlayer, RejectsWhatIsNoSong) {
    HandPlayedOutput output;
    StreamingMusicPlayer player(output, [](const void*, std::size_t) { return std::unique_ptr<Song>(); });
    ASSERT_TRUE(player.init(44100));
    EXPECT_FALSE(player.loadSongMemory("x", 1));
    EXPECT_FALSE(player.play());
    EXPECT_EQ(player.order(), 0);
    EXPECT_EQ(player.row(), 0);
    EXPECT_FALSE(player.isFinished());
}

}  // namespace
