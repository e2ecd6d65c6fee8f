#pragma once
// The music of study mode: the show's module played through an audio
// output from any moment of the song, held and continued in place. The
// picture is made offline frame by frame; the sound follows it, started
// anew at the frame's moment after every jump.

#include <cstdint>
#include <mutex>

#include "anim/song_position.h"
#include "platform/audio_output.h"
#include "platform/music/module_player.h"

class StudySound : private AudioSource {
public:
    static constexpr int kRate = 44100;

    explicit StudySound(AudioOutput& output) : output_(output) {}
    ~StudySound() override;
    StudySound(const StudySound&) = delete;
    StudySound& operator=(const StudySound&) = delete;

    // Loads the module (copied) with the show's volume and opens the output,
    // silent until playFrom. False when either fails.
    bool open(const void* module, std::size_t length);
    // Plays from `seconds` after the start of the row `from` (the audio of a
    // frame made offline, which counts its time from there); `near`, a row
    // at or shortly before that moment, saves rendering the way to it.
    void playFrom(SongPosition from, double seconds, SongPosition near);
    void setPaused(bool paused);
    bool paused() const { return paused_; }

private:
    void fill(float* stereo, int frames) override;

    AudioOutput& output_;
    bool open_ = false;
    bool paused_ = false;
    std::mutex mutex_;  // guards the player and playing_; fill runs on the output's thread
    ModulePlayer player_;
    bool playing_ = false;
};
