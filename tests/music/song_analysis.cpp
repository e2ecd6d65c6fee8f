#include "song_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace songcheck {
namespace {

constexpr double kPi = 3.14159265358979323846;

double sumOfSquares(const Stereo& s, std::size_t first, std::size_t end) {
    double sum = 0.0;
    for (std::size_t i = 2 * first; i < 2 * end; ++i) sum += static_cast<double>(s.samples[i]) * s.samples[i];
    return sum;
}

double toDb(double meanSquare) { return meanSquare > 1e-20 ? 10.0 * std::log10(meanSquare) : -200.0; }

}  // namespace

void fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * kPi / static_cast<double>(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w(1.0, 0.0);
            for (std::size_t k = 0; k < len / 2; ++k) {
                const auto u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

double peak(const Stereo& s) {
    double p = 0.0;
    for (float v : s.samples) p = std::max(p, static_cast<double>(std::abs(v)));
    return p;
}

double rmsDb(const Stereo& s, std::size_t first, std::size_t end) {
    end = std::min(end, s.frames());
    if (first >= end) return -200.0;
    return toDb(sumOfSquares(s, first, end) / (2.0 * static_cast<double>(end - first)));
}

double transientDb(const Stereo& s, std::size_t frame, double window) {
    const auto ms = static_cast<std::size_t>(s.rate / 1000);
    const auto reach = static_cast<std::size_t>(window * s.rate);
    double best = -200.0;
    for (std::size_t onset = frame > reach ? frame - reach : 0; onset <= frame + reach; onset += ms) {
        if (onset < 30 * ms || onset + 10 * ms > s.frames()) continue;
        const double after = rmsDb(s, onset, onset + 10 * ms);
        const double before = rmsDb(s, onset - 30 * ms, onset);
        best = std::max(best, after - before);
    }
    return best;
}

namespace {

// A bilinear two-pole Butterworth section run twice per channel: a steep
// high-pass or low-pass at `cutoffHz`.
Stereo filtered(const Stereo& s, double cutoffHz, bool high) {
    const double w = 2.0 * kPi * cutoffHz / s.rate, alpha = std::sin(w) / std::sqrt(2.0), c = std::cos(w);
    const double a0 = 1.0 + alpha;
    const double b0 = (high ? (1.0 + c) : (1.0 - c)) / 2.0 / a0, b1 = (high ? -(1.0 + c) : (1.0 - c)) / a0, b2 = b0;
    const double a1 = -2.0 * c / a0, a2 = (1.0 - alpha) / a0;
    Stereo out = s;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t ch = 0; ch < 2; ++ch) {
            double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
            for (std::size_t i = ch; i < out.samples.size(); i += 2) {
                const double x = out.samples[i];
                const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
                x2 = x1;
                x1 = x;
                y2 = y1;
                y1 = y;
                out.samples[i] = static_cast<float>(y);
            }
        }
    }
    return out;
}

}  // namespace

Stereo highpassed(const Stereo& s, double cutoffHz) { return filtered(s, cutoffHz, true); }

Stereo lowpassed(const Stereo& s, double cutoffHz) { return filtered(s, cutoffHz, false); }

double lowShare(const Stereo& s, std::size_t first, std::size_t end, double cutoffHz) {
    constexpr std::size_t size = 4096;
    end = std::min(end, s.frames());
    const auto lastBin = static_cast<std::size_t>(cutoffHz * size / s.rate);
    double low = 0.0, all = 0.0;
    std::vector<std::complex<double>> buffer(size);
    for (std::size_t block = first; block + size <= end; block += size / 2) {
        for (std::size_t ch = 0; ch < 2; ++ch) {
            for (std::size_t i = 0; i < size; ++i) {
                const double hann = 0.5 - 0.5 * std::cos(2.0 * kPi * i / size);
                buffer[i] = s.samples[2 * (block + i) + ch] * hann;
            }
            fft(buffer);
            for (std::size_t k = 1; k < size / 2; ++k) {
                const double power = std::norm(buffer[k]);
                all += power;
                if (k < lastBin) low += power;
            }
        }
    }
    return all > 0.0 ? low / all : 0.0;
}

double peakDbAfter(const Stereo& s, std::size_t frame, double seconds) {
    const std::size_t end = std::min(s.frames(), frame + static_cast<std::size_t>(seconds * s.rate));
    double top = 0.0;
    for (std::size_t i = 2 * frame; i < 2 * end; ++i) top = std::max(top, static_cast<double>(std::abs(s.samples[i])));
    return top > 0.0 ? 20.0 * std::log10(top) : -200.0;
}

double correlation(const Stereo& s, std::size_t first, std::size_t end) {
    end = std::min(end, s.frames());
    double ll = 0.0, rr = 0.0, lr = 0.0;
    for (std::size_t f = first; f < end; ++f) {
        const double l = s.samples[2 * f], r = s.samples[2 * f + 1];
        ll += l * l;
        rr += r * r;
        lr += l * r;
    }
    return ll > 0.0 && rr > 0.0 ? lr / std::sqrt(ll * rr) : 1.0;
}

double monoLossDb(const Stereo& s, std::size_t first, std::size_t end) {
    end = std::min(end, s.frames());
    double mono = 0.0, sides = 0.0;
    for (std::size_t f = first; f < end; ++f) {
        const double l = s.samples[2 * f], r = s.samples[2 * f + 1];
        mono += (l + r) * (l + r) / 4.0;
        sides += (l * l + r * r) / 2.0;
    }
    return sides > 0.0 ? toDb(mono / sides) : 0.0;
}

std::vector<std::vector<float>> spectrogram(const Stereo& s, int columns, int bands, double lowHz, double highHz) {
    constexpr std::size_t size = 4096;
    std::vector<double> hann(size);
    for (std::size_t i = 0; i < size; ++i) hann[i] = 0.5 - 0.5 * std::cos(2.0 * kPi * i / size);
    std::vector<std::vector<float>> out(static_cast<std::size_t>(columns), std::vector<float>(bands, -200.0f));
    std::vector<std::complex<double>> buffer(size);
    for (int c = 0; c < columns; ++c) {
        const auto centre = static_cast<std::size_t>((c + 0.5) * s.frames() / columns);
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t f = centre + i >= size / 2 ? centre + i - size / 2 : s.frames();
            const double mono = f < s.frames() ? 0.5 * (s.samples[2 * f] + s.samples[2 * f + 1]) : 0.0;
            buffer[i] = mono * hann[i];
        }
        fft(buffer);
        for (int b = 0; b < bands; ++b) {
            const double lo = lowHz * std::pow(highHz / lowHz, static_cast<double>(b) / bands);
            const double hi = lowHz * std::pow(highHz / lowHz, static_cast<double>(b + 1) / bands);
            auto first = static_cast<std::size_t>(lo * size / s.rate);
            auto last = std::max(first, static_cast<std::size_t>(hi * size / s.rate));
            double strongest = 0.0;
            for (std::size_t k = first; k <= last && k < size / 2; ++k) strongest = std::max(strongest, std::abs(buffer[k]));
            // A full-scale sine peaks at size / 4 under the Hann window.
            out[static_cast<std::size_t>(c)][static_cast<std::size_t>(b)] =
                static_cast<float>(strongest > 0.0 ? 20.0 * std::log10(strongest / (size / 4.0)) : -200.0);
        }
    }
    return out;
}

}  // namespace songcheck
