#include "song_character.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace songcheck {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> hannWindow(std::size_t size) {
    std::vector<double> w(size);
    for (std::size_t i = 0; i < size; ++i) w[i] = 0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / size);
    return w;
}

// The Hann-windowed mono sum of `size` frames from `first` (zeros past the end).
void monoFrame(const Stereo& s, std::size_t first, const std::vector<double>& hann, std::vector<std::complex<double>>& out) {
    out.resize(hann.size());
    for (std::size_t i = 0; i < hann.size(); ++i) {
        const std::size_t f = first + i;
        const double mono = f < s.frames() ? 0.5 * (s.samples[2 * f] + s.samples[2 * f + 1]) : 0.0;
        out[i] = mono * hann[i];
    }
}

// A biquad run over one channel of interleaved samples, in place.
struct Biquad {
    double b0, b1, b2, a1, a2;  // normalised by a0

    void run(std::vector<double>& x) const {
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (double& v : x) {
            const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = v;
            y2 = y1;
            y1 = y;
            v = y;
        }
    }
};

// BS.1770's two K-weighting stages for any rate: the analogue prototypes
// behind the standard's 48 kHz coefficients (which they reproduce exactly)
// through the bilinear transform.
Biquad headShelf(double rate) {
    const double q = 0.7071752369554196, k = std::tan(kPi * 1681.974450955533 / rate);
    const double high = std::pow(10.0, 3.999843853973347 / 20.0), band = std::pow(high, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(high + band * k / q + k * k) / a0, 2.0 * (k * k - high) / a0, (high - band * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// The standard's second stage keeps the numerator 1, -2, 1 unnormalised.
Biquad rlbHighpass(double rate) {
    const double q = 0.5003270373238773, k = std::tan(kPi * 38.13547087602444 / rate);
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

double lufs(double meanSquare) { return meanSquare > 0.0 ? -0.691 + 10.0 * std::log10(meanSquare) : -200.0; }

}  // namespace

SpectralShape spectralShape(const Stereo& s) {
    constexpr std::size_t size = 2048, hop = 1024;
    const std::vector<double> hann = hannWindow(size);
    std::vector<std::complex<double>> buffer;
    double flatness = 0.0, centroid = 0.0;
    int frames = 0;
    for (std::size_t first = 0; first + size <= s.frames(); first += hop) {
        if (rmsDb(s, first, first + size) < -70.0) continue;
        monoFrame(s, first, hann, buffer);
        fft(buffer);
        double logSum = 0.0, powerSum = 0.0, magnitudeSum = 0.0, weighted = 0.0;
        for (std::size_t k = 0; k <= size / 2; ++k) {
            const double power = std::max(std::norm(buffer[k]), 1e-10), magnitude = std::abs(buffer[k]);
            logSum += std::log(power);
            powerSum += power;
            magnitudeSum += magnitude;
            weighted += magnitude * static_cast<double>(k) * s.rate / size;
        }
        const double bins = size / 2 + 1;
        flatness += std::exp(logSum / bins) / (powerSum / bins);
        centroid += magnitudeSum > 0.0 ? weighted / magnitudeSum : 0.0;
        ++frames;
    }
    if (frames == 0) return {};
    return {flatness / frames, centroid / frames};
}

std::vector<double> windowPeaks(const Stereo& s) {
    const auto window = static_cast<std::size_t>(s.rate / 100);
    std::vector<double> peaks;
    for (std::size_t first = 0; first + window <= s.frames(); first += window) {
        double top = 0.0;
        for (std::size_t i = 2 * first; i < 2 * (first + window); ++i) top = std::max(top, static_cast<double>(std::abs(s.samples[i])));
        peaks.push_back(top);
    }
    return peaks;
}

double peakOverPercentileDb(const Stereo& s) {
    std::vector<double> peaks = windowPeaks(s);
    if (peaks.empty()) return 0.0;
    std::sort(peaks.begin(), peaks.end());
    const double percentile = peaks[static_cast<std::size_t>(0.99 * static_cast<double>(peaks.size() - 1))];
    return percentile > 0.0 ? 20.0 * std::log10(peaks.back() / percentile) : 0.0;
}

double crestFactorDb(const Stereo& s) {
    const double top = peak(s);
    return top > 0.0 ? 20.0 * std::log10(top) - rmsDb(s, 0, s.frames()) : 0.0;
}

double integratedLoudness(const Stereo& s) {
    const Biquad shelf = headShelf(s.rate), highpass = rlbHighpass(s.rate);
    std::vector<std::vector<double>> weighted(2, std::vector<double>(s.frames()));
    for (std::size_t ch = 0; ch < 2; ++ch) {
        for (std::size_t f = 0; f < s.frames(); ++f) weighted[ch][f] = s.samples[2 * f + ch];
        shelf.run(weighted[ch]);
        highpass.run(weighted[ch]);
    }
    // Each block's mean square, summed over the channels (both weighted 1).
    const auto block = static_cast<std::size_t>(0.4 * s.rate), step = block / 4;
    std::vector<double> blocks;
    for (std::size_t first = 0; first + block <= s.frames(); first += step) {
        double sum = 0.0;
        for (const auto& channel : weighted) {
            for (std::size_t f = first; f < first + block; ++f) sum += channel[f] * channel[f];
        }
        blocks.push_back(sum / static_cast<double>(block));
    }
    const auto gatedMean = [&](double gate) {
        double sum = 0.0;
        int n = 0;
        for (double z : blocks) {
            if (lufs(z) > gate) {
                sum += z;
                ++n;
            }
        }
        return n > 0 ? sum / n : 0.0;
    };
    const double ungated = gatedMean(-70.0);
    if (ungated <= 0.0) return -200.0;
    return lufs(gatedMean(lufs(ungated) - 10.0));
}

double levelStepDb(const Stereo& s, std::size_t frame, double window) {
    const auto ms = static_cast<std::size_t>(s.rate / 1000);
    const auto reach = static_cast<std::size_t>(window * s.rate);
    double best = 0.0;
    for (std::size_t at = frame > reach ? frame - reach : 0; at <= frame + reach; at += ms) {
        if (at < 40 * ms || at + 10 * ms > s.frames()) continue;
        const double step = rmsDb(s, at, at + 10 * ms) - rmsDb(s, at - 40 * ms, at);
        if (std::abs(step) > std::abs(best)) best = step;
    }
    return best;
}

std::vector<double> chroma(const Stereo& s, std::size_t first, std::size_t end, int parts) {
    constexpr std::size_t size = 4096, hop = 1024;
    const std::vector<double> hann = hannWindow(size);
    std::vector<int> pitchClass(size / 2, -1);
    for (std::size_t k = 1; k < size / 2; ++k) {
        const double hz = static_cast<double>(k) * s.rate / size;
        if (hz < 110.0 || hz > 3520.0) continue;
        const long semitone = std::lround(12.0 * std::log2(hz / 440.0)) + 69;  // MIDI number
        pitchClass[k] = static_cast<int>(semitone % 12);
    }
    std::vector<double> classes(12 * static_cast<std::size_t>(parts), 0.0);
    std::vector<std::complex<double>> buffer;
    const std::size_t length = end > first ? end - first : 0;
    for (int part = 0; part < parts; ++part) {
        // Frames centred within the part.
        const std::size_t from = first + length * static_cast<std::size_t>(part) / static_cast<std::size_t>(parts);
        const std::size_t to = first + length * static_cast<std::size_t>(part + 1) / static_cast<std::size_t>(parts);
        for (std::size_t centre = from; centre < std::max(to, from + 1); centre += hop) {
            monoFrame(s, centre >= size / 2 ? centre - size / 2 : 0, hann, buffer);
            fft(buffer);
            std::vector<double> frame(12, 0.0);
            for (std::size_t k = 1; k < size / 2; ++k) {
                if (pitchClass[k] >= 0) frame[static_cast<std::size_t>(pitchClass[k])] += std::norm(buffer[k]);
            }
            const double strongest = *std::max_element(frame.begin(), frame.end());
            for (std::size_t c = 0; c < 12; ++c) {
                classes[12 * static_cast<std::size_t>(part) + c] += strongest > 0.0 ? frame[c] / strongest : 0.0;
            }
        }
    }
    return classes;
}

double pearson(const std::vector<double>& a, const std::vector<double>& b) {
    const double n = static_cast<double>(a.size());
    double ma = 0.0, mb = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ma += a[i] / n;
        mb += b[i] / n;
    }
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return aa > 0.0 && bb > 0.0 ? ab / std::sqrt(aa * bb) : 0.0;
}

double shareWithNearDuplicate(const std::vector<std::vector<double>>& vectors, double threshold) {
    if (vectors.empty()) return 0.0;
    int matched = 0;
    for (std::size_t i = 0; i < vectors.size(); ++i) {
        for (std::size_t j = 0; j < vectors.size(); ++j) {
            if (i != j && pearson(vectors[i], vectors[j]) >= threshold) {
                ++matched;
                break;
            }
        }
    }
    return static_cast<double>(matched) / static_cast<double>(vectors.size());
}

}  // namespace songcheck
