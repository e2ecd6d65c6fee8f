#pragma once
// The show's music player: renders a song to an audio output on the output's
// thread and reports the position of the audio being heard, not of the audio
// mixed ahead of it.
//
// Each chunk of at most kChunkFrames frames is rendered with a mark of its
// first frame's number and the song position at that point; order() answers
// with the mark of the frame the output is playing. Once the song's last row
// has been played the position is (order count, 0), one past the last order,
// and it never goes back (the tail libopenmpt renders after the last row
// would otherwise read as order 0, row 0). The song counts as finished when
// the listener has heard all of its audio.

#include <compare>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/audio_output.h"
#include "platform/music_player.h"
#include "platform/song.h"

class StreamingMusicPlayer : public MusicPlayer, private AudioSource {
public:
    static constexpr int kChunkFrames = 512;

    explicit StreamingMusicPlayer(AudioOutput& output, SongLoader loader = loadModuleSong);
    ~StreamingMusicPlayer() override;
    StreamingMusicPlayer(const StreamingMusicPlayer&) = delete;
    StreamingMusicPlayer& operator=(const StreamingMusicPlayer&) = delete;

    // Opening the audio output is the player's initialisation.
    bool init(int rate) override;
    bool loadSongMemory(const void* bytes, std::size_t length) override;
    int type() override;
    void setMasterVolume(int volume) override;
    void setPanSeparation(float separation) override;
    bool play() override;
    bool isFinished() override;
    // The order of the audio being heard. row() answers for the same moment,
    // so a pair read order-then-row always belongs together.
    int order() override;
    int row() override;
    void setPaused(bool paused) override;
    void freeSong() override;
    void close() override;

    // Where play() starts the song: order 0, row 0 unless set.
    void setStartPosition(SongPosition start) { start_ = start; }

private:
    struct Mark {
        uint64_t frame;  // output frame number where the chunk starts
        SongPosition position;
    };

    void fill(float* stereo, int frames) override;
    void renderChunk(float* stereo, int frames);

    AudioOutput& output_;
    SongLoader loader_;
    bool outputOpen_ = false;
    int rate_ = 44100;

    std::mutex mutex_;  // guards everything below; fill runs on the output's thread
    std::unique_ptr<Song> song_;
    bool playing_ = false;
    uint64_t framesOut_ = 0;  // frames handed to the output since it opened
    std::deque<Mark> marks_;
    SongPosition lastRendered_;
    bool pastLastRow_ = false;
    bool songEnded_ = false;
    uint64_t endFrame_ = 0;  // first frame after the song's audio
    SongPosition reported_;
    SongPosition start_;
};
