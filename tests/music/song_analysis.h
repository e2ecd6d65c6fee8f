#pragma once
// Measurements on a rendered song (interleaved stereo floats, full scale 1.0):
// peaks, levels per stretch of time, and transients (sudden jumps in level).

#include <cstddef>
#include <vector>

namespace songcheck {

struct Stereo {
    std::vector<float> samples;  // left, right, left, right, ...
    int rate = 44100;

    std::size_t frames() const { return samples.size() / 2; }
};

// Largest absolute sample value.
double peak(const Stereo& s);

// RMS level of frames [first, end) over both channels, in dB relative to full
// scale (a full-scale sine is -3 dB). Silence gives -200 dB.
double rmsDb(const Stereo& s, std::size_t first, std::size_t end);

// The strongest rise in short-term level whose onset lies within `window`
// seconds of `frame`: the level of the 10 ms after an onset minus the level
// of the 30 ms before it, in dB, searched in 1 ms steps.
double transientDb(const Stereo& s, std::size_t frame, double window);

// The song through a two-pole high-pass at `cutoffHz` (twice, for a steep
// slope): what remains is cymbals, clicks and the bright edges of attacks.
Stereo highpassed(const Stereo& s, double cutoffHz);

// Magnitudes of a log-frequency spectrogram: `columns` slices across the whole
// song, `bands` bands from `lowHz` to `highHz`, each in dB (full scale 0).
std::vector<std::vector<float>> spectrogram(const Stereo& s, int columns, int bands, double lowHz, double highHz);

}  // namespace songcheck
