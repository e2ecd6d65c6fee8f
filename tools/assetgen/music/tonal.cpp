// The pitched instruments. Each is built from exact harmonics so that its
// loop repeats seamlessly: single-period loops after a filtered attack (bass,
// pluck, bell), or long loops of detuned voices whose every partial completes
// a whole number of cycles per loop (pads, lead, stab).

#include <algorithm>
#include <cmath>

#include "music/instruments.h"
#include "music/synth.h"

namespace music {
namespace {

using assetgen::Rng;

// Attack with time-varying harmonics, then one period looped. The amplitude
// function sees time frozen at the loop start, so the loop is the attack's
// last period exactly.
Waveform harmonicWithLoop(double fundamental, int period, double attackSeconds, int harmonics, uint64_t seed,
                          const std::function<double(int, double)>& amplitude) {
    Waveform w;
    w.rate = fundamental * period;
    const int periods = static_cast<int>(std::ceil(attackSeconds * w.rate / period));
    const int loopStart = periods * period;
    const double loopTime = loopStart / w.rate;
    Rng rng(seed);
    const auto phases = randomPhases(harmonics, rng);
    w.samples = harmonicTone(loopStart + period, period, harmonics, w.rate,
                             [&](int h, double t) { return amplitude(h, std::min(t, loopTime)); }, phases);
    w.loopStart = loopStart;
    w.loopLength = period;
    declick(w.samples, 24, 0);
    return w;
}

XmInstrument tuned(const char* name, const Waveform& w, double fundamental) {
    XmInstrument ins;
    ins.name = name;
    ins.sample = toXmSample(w, true, pitchedC4Rate(w, fundamental));
    return ins;
}

// Saw with a touch of square, its low-pass closing fast from bright to round,
// over a light sine sub. Base D2.
XmInstrument bass() {
    const double f0 = midiFrequency(38);
    const Waveform w = harmonicWithLoop(f0, 256, 0.26, 120, 0xBA55, [f0](int h, double t) {
        const double cutoff = 420.0 + 2600.0 * std::exp(-t / 0.07);
        double a = (h % 2 ? 1.0 : 0.75) / h * lowpassGain(h * f0, cutoff, 2);
        if (h == 1) a += 0.15;
        return a;
    });
    XmInstrument ins = tuned("bass", w, f0);
    ins.volumeEnvelope.points = {{0, 64}, {6, 48}, {9, 0}};
    ins.volumeEnvelope.sustain = 1;
    ins.fadeout = 0x400;
    return ins;
}

// A loop of `size` samples holding `cycles` periods of the base note; the
// sample rate follows from them. Partials added to `spectrum` at whole
// numbers of cycles per loop keep it seamless.
struct PitchedLoop {
    PitchedLoop(int midi, int size, int cycles, uint64_t seed)
        : f0(midiFrequency(midi)), rate(f0 * size / cycles), size(size), cycles(cycles), rng(seed), spectrum(size) {}

    // Detuned sawtooth voices (cycles per loop and weights), low-passed at `cutoff`.
    void addSaws(const std::vector<int>& voices, const std::vector<double>& weights, double cutoff) {
        for (size_t v = 0; v < voices.size(); ++v) {
            for (int h = 1; h * voices[v] < size / 2; ++h) {
                const double f = h * voices[v] * rate / size;
                spectrum.add(h * voices[v], weights[v] / h * lowpassGain(f, cutoff, 2), rng.range(0.0, 2.0 * kPi));
            }
        }
    }
    void add(int bin, double amplitude) { spectrum.add(bin, amplitude, rng.range(0.0, 2.0 * kPi)); }

    XmInstrument instrument(const char* name, int preroll) const {
        return tuned(name, loopWithPreroll(spectrum.toLoop(), rate, preroll), f0);
    }

    double f0, rate;
    int size, cycles;
    Rng rng;
    LoopSpectrum spectrum;
};

constexpr int kPadLoop = 16384;
constexpr int kPadCycles = 218;  // of D4 per loop: about 22 kHz

// Five sawtooth voices about 8 cents apart, darkly filtered. Base D4.
XmInstrument warmPad() {
    PitchedLoop loop(62, kPadLoop, kPadCycles, 0x9AD);
    const int k = kPadCycles;
    loop.addSaws({k - 2, k - 1, k, k + 1, k + 2}, {0.6, 0.85, 1.0, 0.85, 0.6}, 2200.0);
    XmInstrument ins = loop.instrument("warm pad", 64);
    ins.volumeEnvelope.points = {{0, 0}, {10, 48}, {24, 64}, {40, 40}, {70, 0}};
    ins.volumeEnvelope.sustain = 2;
    ins.fadeout = 0x200;
    return ins;
}

// Three nearly sine voices with a few soft overtones, an octave shimmer and
// a breath of noise; slow to swell and slow to fade. Base D4.
XmInstrument airPad() {
    PitchedLoop loop(62, kPadLoop, kPadCycles, 0xA12);
    const int k = kPadCycles;
    const double overtones[] = {1.0, 0.32, 0.12, 0.16, 0.0, 0.05};
    for (int voice : {k - 1, k, k + 1}) {
        for (int h = 1; h <= 6; ++h) loop.add(h * voice, overtones[h - 1]);
    }
    loop.add(2 * k + 1, 0.22);
    for (int bin = 40; bin < kPadLoop / 2; ++bin) loop.add(bin, 0.012 * bandGain(bin * loop.rate / kPadLoop, 900.0, 3000.0));
    XmInstrument ins = loop.instrument("air pad", 64);
    ins.volumeEnvelope.points = {{0, 0}, {30, 34}, {70, 64}, {110, 32}, {170, 0}};
    ins.volumeEnvelope.sustain = 2;
    ins.fadeout = 0x100;
    return ins;
}

// Five detuned saws (about 15 cents apart) with a square underneath: the
// bright lead of the choruses, with a delayed vibrato. Base A4.
XmInstrument lead() {
    const int k = 112;
    PitchedLoop loop(69, 8192, k, 0x1EAD);
    loop.addSaws({k - 2, k - 1, k, k + 1, k + 2}, {0.45, 0.75, 1.0, 0.75, 0.45}, 5200.0);
    for (int h = 1; h * k < loop.size / 2; h += 2) loop.add(h * k, 0.5 / h * lowpassGain(h * loop.f0, 3000.0, 2));
    XmInstrument ins = loop.instrument("lead", 32);
    ins.volumeEnvelope.points = {{0, 0}, {2, 64}, {10, 52}, {16, 0}};
    ins.volumeEnvelope.sustain = 2;
    ins.fadeout = 0x300;
    return ins;
}

// A plucked saw: the filter snaps shut within a tenth of a second. Base A4.
XmInstrument pluck() {
    const double f0 = midiFrequency(69);
    const Waveform w = harmonicWithLoop(f0, 64, 0.24, 31, 0x91C, [f0](int h, double t) {
        const double cutoff = 500.0 + 7000.0 * std::exp(-t / 0.045);
        return (h % 2 ? 1.3 : 1.0) / h * lowpassGain(h * f0, cutoff, 2);
    });
    XmInstrument ins = tuned("pluck", w, f0);
    ins.volumeEnvelope.points = {{0, 64}, {4, 50}, {16, 30}, {40, 14}, {90, 0}};
    ins.fadeout = 0x300;
    return ins;
}

// An electric-piano bell: bright upper partials that die within a few tenths
// of a second over a long, pure fundamental. Base A4.
XmInstrument bell() {
    const double f0 = midiFrequency(69);
    const Waveform w = harmonicWithLoop(f0, 64, 0.3, 8, 0xBE11, [](int h, double t) {
        switch (h) {
            case 1: return 1.0;
            case 2: return 0.45 * std::exp(-t / 0.5);
            case 3: return 0.2 * std::exp(-t / 0.2);
            case 4: return 0.35 * std::exp(-t / 0.08);
            case 5: return 0.1 * std::exp(-t / 0.05);
            case 6: return 0.12 * std::exp(-t / 0.03);
            case 8: return 0.08 * std::exp(-t / 0.02);
            default: return 0.0;
        }
    });
    XmInstrument ins = tuned("bell", w, f0);
    ins.volumeEnvelope.points = {{0, 64}, {8, 52}, {40, 34}, {100, 16}, {180, 6}, {260, 0}};
    ins.fadeout = 0x180;
    return ins;
}

// A detuned power chord (root, fifth, octave, sub-octave) for the accents.
// Base D4 as the root.
XmInstrument stab() {
    const int root = 110;  // cycles per loop; the fifth needs an even root
    PitchedLoop loop(62, 8192, root, 0x57AB);
    const int fifth = root * 3 / 2, octave = root * 2;
    loop.addSaws({root - 1, root, root + 1, fifth - 1, fifth + 1, octave - 1, octave + 1},
                 {0.7, 1.0, 0.7, 0.5, 0.5, 0.45, 0.45}, 4500.0);
    loop.addSaws({root / 2}, {0.5}, 1500.0);
    XmInstrument ins = loop.instrument("stab", 32);
    ins.volumeEnvelope.points = {{0, 64}, {3, 56}, {12, 36}, {30, 16}, {55, 5}, {80, 0}};
    return ins;
}

}  // namespace

std::vector<XmInstrument> makeTonalInstruments() {
    return {bass(), warmPad(), airPad(), lead(), pluck(), bell(), stab()};
}

}  // namespace music
