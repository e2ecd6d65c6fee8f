#pragma once
// The tracker-module player that sets the show's pace. It holds at most one
// song, played from a copy of the bytes it was given, and is polled for its
// position; it never calls back.

#include <cstddef>
#include <cstdint>

#include "anim/song_position.h"

class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;

    // Opens the audio output at `rate` Hz (the show asks for 44100). True on
    // success.
    virtual bool init(int rate) = 0;
    // Loads a module from memory; the player keeps its own copy of the bytes.
    virtual bool loadSongMemory(const void* bytes, std::size_t length) = 0;
    // Format code of the loaded module: 1 MOD, 2 S3M, 3 XM, 4 IT.
    virtual int type() = 0;
    virtual void setMasterVolume(int volume) = 0;  // 0..256, the show passes 250
    virtual void setPanSeparation(float separation) = 0;  // 0..1
    // Starts the song at order 0, row 0. True on success.
    virtual bool play() = 0;
    // True once the song has played to its end.
    virtual bool isFinished() = 0;
    // Current position: order-list index and row in its pattern, both from 0.
    virtual int order() = 0;
    virtual int row() = 0;
    // Both at once: order first, as a player reporting the audio heard
    // answers row() for the moment order() was asked.
    SongPosition position() {
        const int atOrder = order();
        return {atOrder, row()};
    }
    // Holds or continues playback in place.
    virtual void setPaused(bool paused) = 0;
    // Stops and frees the song (nothing when there is none).
    virtual void freeSong() = 0;
    // Closes the audio output (harmless when it was never opened).
    virtual void close() = 0;
};
