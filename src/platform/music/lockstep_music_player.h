#pragma once
// The music player of the offline renderer: there is no audio device, and
// the song is rendered only when the renderer asks for it, so each frame
// reads the position of exactly the audio made up to its own time. The
// audio is kept until the renderer collects it.
//
// As with the player heard live, once the song's last row is over the
// position is (order count, 0), one past the last order, and never goes back;
// the song is finished once all of its audio has been made.
//
// The player remembers what it reported for each request since play().
// Asked again for a moment up to the furthest it was asked for, it reports
// what it reported for the last request at or before that moment (the
// position and the end as they were then), without rendering: a show that
// goes back to an earlier frame reads the music exactly as it read it the
// first time, and the song renders on from where it stopped once the show
// passes that moment again.

#include <compare>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/music_player.h"
#include "platform/song.h"

class LockstepMusicPlayer : public MusicPlayer {
public:
    explicit LockstepMusicPlayer(SongLoader loader = loadModuleSong);

    // Remembers the rate; there is no device to open.
    bool init(int rate) override;
    bool loadSongMemory(const void* bytes, std::size_t length) override;
    int type() override;
    void setMasterVolume(int volume) override;
    void setPanSeparation(float separation) override;
    // Starts the song at the start position.
    bool play() override;
    bool isFinished() override { return playing_ && reported_.ended; }
    int order() override { return reported_.position.order; }
    int row() override { return reported_.position.row; }
    // Nothing plays between two requests, so there is nothing to hold.
    void setPaused(bool) override {}
    void freeSong() override;
    void close() override {}

    // Where play() starts: (0, 0) unless set.
    void setStartPosition(SongPosition start) { start_ = start; }
    int rate() const { return rate_; }
    // Renders on until `frames` stereo frames have been made since play()
    // (fewer once the song has ended). Up to the furthest request so far it
    // renders nothing and reports what the last request at or before
    // `frames` reported.
    void renderUntil(uint64_t frames);
    uint64_t renderedFrames() const { return rendered_; }
    // Moves the audio made since the last call (interleaved stereo floats)
    // to the end of `into`.
    void takeAudio(std::vector<float>& into);

private:
    // What the player reports: the position of the audio made, and whether
    // all of it has been made.
    struct Reading {
        SongPosition position;
        bool ended = false;
        bool operator==(const Reading&) const = default;
    };
    // A request from which the reading changed (the requests after it up to
    // the next one read the same).
    struct Change {
        uint64_t request = 0;
        Reading reading;
    };
    void note(uint64_t request);

    SongLoader loader_;
    std::unique_ptr<Song> song_;
    int rate_ = 44100;
    SongPosition start_;
    bool playing_ = false;
    bool songEnded_ = false;
    bool pastLastRow_ = false;
    SongPosition position_;
    uint64_t rendered_ = 0;
    std::vector<float> audio_;
    Reading reported_;
    std::vector<Change> changes_;  // since play(), by request
    uint64_t furthest_ = 0;        // the furthest request so far
};
