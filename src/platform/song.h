#pragma once
// A song the streaming music player renders: audio on demand and the
// position in the order list of the audio rendered last.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class Song {
public:
    virtual ~Song() = default;
    // Format code: 1 MOD, 2 S3M, 3 XM, 4 IT, 0 anything else.
    virtual int formatCode() const = 0;
    virtual int orderCount() const = 0;
    virtual int currentOrder() const = 0;
    virtual int currentRow() const = 0;
    // Renders up to `frames` interleaved stereo frames; fewer, then 0, at the end.
    virtual std::size_t render(int rate, float* stereo, std::size_t frames) = 0;
    virtual void setGainMillibel(int32_t millibel) = 0;
    virtual void setStereoSeparationPercent(int32_t percent) = 0;
    // Moves to the start of (order, row): the audio rendered next begins
    // there. A song that cannot seek plays on from where it is.
    virtual void seek(int order, int row) {
        (void)order;
        (void)row;
    }
};

// Makes a song from module bytes (copied); null when they are no module.
using SongLoader = std::function<std::unique_ptr<Song>(const void* bytes, std::size_t length)>;

// The tracker-module song, over the module player.
std::unique_ptr<Song> loadModuleSong(const void* bytes, std::size_t length);
