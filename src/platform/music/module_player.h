#pragma once
// A tracker module loaded from memory and rendered on demand: a thin layer
// over libopenmpt that keeps the library out of every other header. It
// renders only when asked (no audio device); the music player of the show
// and the tests both drive it. Not thread-safe: the caller serialises access.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class ModulePlayer {
public:
    ModulePlayer();
    ~ModulePlayer();
    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    // Loads a module from a copy of the bytes, replacing any loaded one.
    // The song plays once (no repeat). False when the bytes are not a module.
    bool load(const void* bytes, std::size_t length);
    bool loaded() const;
    void unload();

    // What the library said while loading (empty for a clean module).
    const std::string& loadMessages() const;

    // Format of the loaded module as a lower-case file extension ("xm").
    std::string formatName() const;
    int orderCount() const;
    int channelCount() const;
    // Rows of the pattern that order position `order` plays; 0 when out of range.
    int patternRowsAt(int order) const;
    double durationSeconds() const;

    // Render up to `frames` stereo frames at `sampleRate` Hz into interleaved
    // left/right samples. Returns the frames written; 0 once the song has ended.
    std::size_t renderInt16(int sampleRate, int16_t* interleaved, std::size_t frames);
    std::size_t renderFloat(int sampleRate, float* interleaved, std::size_t frames);

    // Current playing position.
    int currentOrder() const;
    int currentRow() const;
    // Moves the playing position to the start of (order, row). Returns the
    // time in seconds at which the song reaches that position from its start.
    double seek(int order, int row);

    // Output gain in millibel (hundredths of a decibel), 0 = unchanged. Both
    // settings persist across loads.
    void setGainMillibel(int32_t millibel);
    // Stereo separation in percent: 0 mono, 100 the module's own panning, up to 200.
    void setStereoSeparationPercent(int32_t percent);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Master volume on a 0..256 scale (256 = unity) expressed as a gain in
// millibel: 250 gives -21 mB. Volumes of 0 or less give a deep cut.
int32_t masterVolumeToMillibel(int volume);
// Pan separation as a fraction (1 the module's own stereo width) expressed
// as a stereo separation in percent, between 0 and 200: 0.7 gives 70.
int32_t panSeparationToPercent(float separation);
