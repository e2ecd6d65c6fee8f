#pragma once
// Signal building blocks for the soundtrack's instruments: spectra turned
// into seamless loops, harmonic tones with time-varying partials, filters,
// and the conversion of a finished waveform into a tuned XM sample.

#include <complex>
#include <functional>
#include <vector>

#include "common/noise.h"
#include "music/xm.h"

namespace music {

constexpr double kPi = 3.14159265358979323846;

// Equal temperament, A4 (MIDI 69) = 440 Hz.
double midiFrequency(double midi);

// A synthesised sound at its own sample rate, with an optional loop.
struct Waveform {
    std::vector<double> samples;
    double rate = 22050.0;
    int loopStart = 0;
    int loopLength = 0;  // 0: one-shot
};

// Spectrum of a loop: bin k holds the partial with k cycles per loop.
// toLoop() turns it into `size` samples (a power of two) that repeat seamlessly.
class LoopSpectrum {
public:
    explicit LoopSpectrum(int size) : bins_(static_cast<size_t>(size / 2)) {}
    void add(int cycles, double amplitude, double phase);
    std::vector<double> toLoop() const;

private:
    std::vector<std::complex<double>> bins_;
};

// Sum of harmonics h = 1..count of one period of `period` samples, each with
// amplitude(h, seconds) and a fixed phase, over `length` samples at `rate`.
// When amplitudes stop changing at a multiple of the period, the waveform from
// there on repeats exactly every period: a seamless loop.
std::vector<double> harmonicTone(int length, int period, int count, double rate,
                                 const std::function<double(int, double)>& amplitude,
                                 const std::vector<double>& phases);

// Random phases in [0, 2 pi) for `count` partials.
std::vector<double> randomPhases(int count, assetgen::Rng& rng);

// Magnitude of a gentle n-pole low-pass at `frequency` for cutoff `cutoff`.
double lowpassGain(double frequency, double cutoff, int poles = 2);
// Magnitude of a band: a two-pole high-pass at `low` under a two-pole low-pass at `high`.
double bandGain(double frequency, double low, double high);

// A loop preceded by a short fade-in of its own tail, so the sample starts at
// zero and runs into the loop without a seam.
Waveform loopWithPreroll(const std::vector<double>& loop, double rate, int preroll);

// A second-order filter section (bilinear designs), run sample by sample.
class Biquad {
public:
    static Biquad lowpass(double cutoff, double q, double rate);
    static Biquad highpass(double cutoff, double q, double rate);
    static Biquad bandpass(double centre, double q, double rate);
    double operator()(double x);

private:
    // Coefficients from the bilinear design, divided by a0.
    static Biquad normalised(double b0, double b1, double b2, double a0, double a1, double a2);
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Fades the first `in` and last `out` samples linearly so the sound starts
// and ends at zero. For looped sounds pass out = 0.
void declick(std::vector<double>& samples, int in, int out);

// Normalises to the sample format's full scale, quantises, and tunes the
// sample so that note C-4 plays it at `c4Rate` samples per second.
XmSample toXmSample(const Waveform& wave, bool sixteenBit, double c4Rate);

// The C-4 rate of a pitched waveform whose fundamental is `fundamental` Hz
// at its own rate: C-4 then sounds as middle C (MIDI 60).
double pitchedC4Rate(const Waveform& wave, double fundamental);

}  // namespace music
