#pragma once
// Figures that place a rendered song among other tracker music: how bright
// and noisy its spectrum is, how far its loudest moments stand above the
// rest, how loud it sounds, and how much of it recurs.

#include <cstddef>
#include <vector>

#include "song_analysis.h"

namespace songcheck {

// Spectrum of the mono sum in Hann-windowed frames of 2048 with a hop of
// 1024, frames quieter than -70 dBFS left out. Flatness: the geometric over
// the arithmetic mean of a frame's power spectrum (floor 1e-10), 0 for a pure
// tone, near 0.56 for white noise. Centroid: the frame's magnitude-weighted
// mean frequency. Both averaged over the frames.
struct SpectralShape {
    double flatness = 0.0, centroidHz = 0.0;
};
SpectralShape spectralShape(const Stereo& s);

// The loudest 10 ms window against the crowd: every consecutive 10 ms
// window's largest sample (both channels); the highest of them over their
// 99th percentile, in dB.
double peakOverPercentileDb(const Stereo& s);

// Peaks of the consecutive 10 ms windows (largest sample of both channels).
std::vector<double> windowPeaks(const Stereo& s);

// Largest sample over the RMS of the whole song (both channels), in dB.
double crestFactorDb(const Stereo& s);

// Integrated loudness per ITU-R BS.1770-4, in LUFS: both channels through
// the K-weighting (the high shelf of the head and the RLB high-pass, worked
// out for the song's rate), mean squares in 400 ms blocks overlapping by
// 75 %, the blocks below -70 LUFS dropped (absolute gate), then those more
// than 10 LU below the loudness of the rest (relative gate); -200 for silence.
double integratedLoudness(const Stereo& s);

// The largest change of short-term level within `window` seconds of
// `frame`: the level of the 10 ms from an instant minus the level of the
// 40 ms before it, searched in 1 ms steps, signed (a fall is negative).
double levelStepDb(const Stereo& s, std::size_t frame, double window);

// The chroma of a stretch of the mono sum, in `parts` equal parts one after
// the other (12 values each, 0 = C): the power of every bin of Hann-windowed
// 4096-frame FFTs centred every 1024 frames in the part, between 110 and
// 3520 Hz, added to the pitch class nearest its frequency, each FFT scaled
// so its strongest class is 1.
std::vector<double> chroma(const Stereo& s, std::size_t first, std::size_t end, int parts = 1);

// Pearson correlation of two equally long vectors (0 when either is flat).
double pearson(const std::vector<double>& a, const std::vector<double>& b);

// Share of the vectors that correlate at `threshold` or more with another
// one in the list.
double shareWithNearDuplicate(const std::vector<std::vector<double>>& vectors, double threshold);

}  // namespace songcheck
