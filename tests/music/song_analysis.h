#pragma once
// Measurements on a rendered song (interleaved stereo floats, full scale 1.0):
// peaks, levels per stretch of time, and transients (sudden jumps in level).

#include <complex>
#include <cstddef>
#include <vector>

namespace songcheck {

struct Stereo {
    std::vector<float> samples;  // left, right, left, right, ...
    int rate = 44100;

    std::size_t frames() const { return samples.size() / 2; }
};

// In-place radix-2 FFT; the size must be a power of two.
void fft(std::vector<std::complex<double>>& a);

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
// The song through the matching low-pass: kick, bass and the body of toms.
Stereo lowpassed(const Stereo& s, double cutoffHz);

// Share of the power of frames [first, end) that lies below `cutoffHz`
// (both channels, Hann-windowed blocks of 4096 frames), 0..1.
double lowShare(const Stereo& s, std::size_t first, std::size_t end, double cutoffHz);

// Largest absolute sample in the `seconds` after `frame`, in dBFS.
double peakDbAfter(const Stereo& s, std::size_t frame, double seconds);

// Correlation of the left and right channels over frames [first, end):
// 1 mono, 0 unrelated, -1 opposite.
double correlation(const Stereo& s, std::size_t first, std::size_t end);

// Level of the mono sum (L + R) / 2 relative to the mean level of the two
// channels, in dB: 0 for mono, -3 for unrelated channels, far below when a
// part cancels out in mono.
double monoLossDb(const Stereo& s, std::size_t first, std::size_t end);

// Magnitudes of a log-frequency spectrogram: `columns` slices across the whole
// song, `bands` bands from `lowHz` to `highHz`, each in dB (full scale 0).
std::vector<std::vector<float>> spectrogram(const Stereo& s, int columns, int bands, double lowHz, double highHz);

}  // namespace songcheck
