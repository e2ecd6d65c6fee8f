#include "music/synth.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace music {

double midiFrequency(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

namespace {

// In-place radix-2 FFT; `inverse` flips the sign of the exponent (no scaling).
void fft(std::vector<std::complex<double>>& a, bool inverse) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = 2.0 * kPi / static_cast<double>(len) * (inverse ? 1.0 : -1.0);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k) {
                const auto u = a[i + k];
                const auto v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

}  // namespace

void LoopSpectrum::add(int cycles, double amplitude, double phase) {
    if (cycles <= 0 || cycles >= static_cast<int>(bins_.size())) return;  // beyond Nyquist: dropped
    bins_[static_cast<size_t>(cycles)] += std::polar(amplitude, phase);
}

std::vector<double> LoopSpectrum::toLoop() const {
    const size_t n = bins_.size() * 2;
    if (n == 0 || (n & (n - 1)) != 0) throw std::runtime_error("loop size must be a power of two");
    std::vector<std::complex<double>> a(n);
    for (size_t k = 1; k < bins_.size(); ++k) {
        // A sine of amplitude A and phase p is (A/2i) e^{ip} at +k and its conjugate at -k.
        const auto c = bins_[k] * std::complex<double>(0.0, -0.5);
        a[k] = c;
        a[n - k] = std::conj(c);
    }
    fft(a, true);
    std::vector<double> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = a[i].real();
    return out;
}

std::vector<double> harmonicTone(int length, int period, int count, double rate,
                                 const std::function<double(int, double)>& amplitude,
                                 const std::vector<double>& phases) {
    std::vector<double> out(static_cast<size_t>(length), 0.0);
    std::vector<double> amps(static_cast<size_t>(count) + 1);
    for (int n = 0; n < length; ++n) {
        const double t = n / rate;
        // Amplitudes change slowly: refresh them every few samples.
        if (n % 8 == 0) {
            for (int h = 1; h <= count; ++h) amps[static_cast<size_t>(h)] = amplitude(h, t);
        }
        const double x = 2.0 * kPi * static_cast<double>(n % period) / period;
        double sum = 0.0;
        for (int h = 1; h <= count; ++h) {
            const double a = amps[static_cast<size_t>(h)];
            if (a != 0.0) sum += a * std::sin(h * x + phases[static_cast<size_t>(h)]);
        }
        out[static_cast<size_t>(n)] = sum;
    }
    return out;
}

std::vector<double> randomPhases(int count, assetgen::Rng& rng) {
    std::vector<double> phases(static_cast<size_t>(count) + 1);
    for (double& p : phases) p = rng.range(0.0, 2.0 * kPi);
    return phases;
}

double lowpassGain(double frequency, double cutoff, int poles) {
    return 1.0 / std::sqrt(1.0 + std::pow(frequency / cutoff, 2.0 * poles));
}

double bandGain(double frequency, double low, double high) {
    return (1.0 - lowpassGain(frequency, low, 2)) * lowpassGain(frequency, high, 2);
}

Waveform loopWithPreroll(const std::vector<double>& loop, double rate, int preroll) {
    Waveform w;
    w.rate = rate;
    const int size = static_cast<int>(loop.size());
    for (int n = 0; n < preroll; ++n) {
        w.samples.push_back(loop[static_cast<size_t>(size - preroll + n)] * n / preroll);
    }
    w.samples.insert(w.samples.end(), loop.begin(), loop.end());
    w.loopStart = preroll;
    w.loopLength = size;
    return w;
}

Biquad Biquad::normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
    Biquad f;
    f.b0_ = b0 / a0;
    f.b1_ = b1 / a0;
    f.b2_ = b2 / a0;
    f.a1_ = a1 / a0;
    f.a2_ = a2 / a0;
    return f;
}

// The three designs share w (the centre as an angle), alpha and cos w.
Biquad Biquad::lowpass(double cutoff, double q, double rate) {
    const double w = 2.0 * kPi * cutoff / rate, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    return normalised((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::highpass(double cutoff, double q, double rate) {
    const double w = 2.0 * kPi * cutoff / rate, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    return normalised((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::bandpass(double centre, double q, double rate) {
    const double w = 2.0 * kPi * centre / rate, alpha = std::sin(w) / (2.0 * q), c = std::cos(w);
    return normalised(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

double Biquad::operator()(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

void declick(std::vector<double>& samples, int in, int out) {
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < in && i < n; ++i) samples[static_cast<size_t>(i)] *= static_cast<double>(i) / in;
    for (int i = 0; i < out && i < n; ++i) samples[static_cast<size_t>(n - 1 - i)] *= static_cast<double>(i) / out;
}

XmSample toXmSample(const Waveform& wave, bool sixteenBit, double c4Rate) {
    double peak = 0.0;
    for (double v : wave.samples) peak = std::max(peak, std::abs(v));
    const double full = sixteenBit ? 32767.0 : 127.0;
    const double scale = peak > 0.0 ? 0.97 * full / peak : 0.0;

    XmSample s;
    s.sixteenBit = sixteenBit;
    s.data.reserve(wave.samples.size());
    for (double v : wave.samples) s.data.push_back(static_cast<int16_t>(std::lround(v * scale)));
    s.loopStart = static_cast<uint32_t>(wave.loopStart);
    s.loopLength = static_cast<uint32_t>(wave.loopLength);

    // Pitch relative to C-4 at 8363 Hz, in 1/128 semitones.
    const long steps = std::lround(12.0 * std::log2(c4Rate / 8363.0) * 128.0);
    const long semitones = std::lround(static_cast<double>(steps) / 128.0);
    s.relativeNote = static_cast<int8_t>(semitones);
    s.finetune = static_cast<int8_t>(steps - semitones * 128);
    return s;
}

double pitchedC4Rate(const Waveform& wave, double fundamental) {
    return wave.rate * midiFrequency(60.0) / fundamental;
}

}  // namespace music
