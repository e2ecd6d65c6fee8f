// The percussion: kick, snare, clap, hats, crash, riser, tom and the
// typewriter's key click. One-shots fade to zero at their end; the crash and
// the riser hold on a seamless noise loop shaped by their volume envelopes.

#include <cmath>

#include "music_instruments.h"
#include "music_synth.h"

namespace music {
namespace {

using assetgen::Rng;

int samplesFor(double seconds, double rate) { return static_cast<int>(seconds * rate); }

XmInstrument oneShot(const char* name, Waveform wave, bool sixteenBit, uint8_t panning = 128) {
    declick(wave.samples, 4, samplesFor(0.008, wave.rate));
    XmInstrument ins;
    ins.name = name;
    ins.sample = toXmSample(wave, sixteenBit, wave.rate);
    ins.sample.panning = panning;
    return ins;
}

// A sine sweeping down from a high pitch onto its body pitch, held briefly
// then decaying, with a short noisy click on the attack.
XmInstrument kick() {
    Waveform w;
    w.rate = 22050.0;
    Rng rng(0x4B1C);
    auto click = Biquad::highpass(1800.0, 0.7, w.rate);
    double phase = 0.0;
    for (int n = 0; n < samplesFor(0.45, w.rate); ++n) {
        const double t = n / w.rate;
        const double f = 47.0 + 120.0 * std::exp(-t / 0.032) + 60.0 * std::exp(-t / 0.006);
        phase += 2.0 * kPi * f / w.rate;
        const double body = std::sin(phase) * (t < 0.045 ? 1.0 : std::exp(-(t - 0.045) / 0.15));
        const double tick = click(rng.range(-1.0, 1.0)) * 0.45 * std::exp(-t / 0.0025);
        w.samples.push_back(std::tanh(1.7 * (body + tick)));
    }
    return oneShot("kick", w, true);
}

// Two damped drum-head tones under a burst of high-passed noise.
XmInstrument snare() {
    Waveform w;
    w.rate = 22050.0;
    Rng rng(0x5A4E);
    auto hp = Biquad::highpass(900.0, 0.7, w.rate);
    for (int n = 0; n < samplesFor(0.3, w.rate); ++n) {
        const double t = n / w.rate;
        const double tone = 0.6 * std::sin(2.0 * kPi * 188.0 * t) * std::exp(-t / 0.045) +
                            0.3 * std::sin(2.0 * kPi * 331.0 * t) * std::exp(-t / 0.03);
        const double noise = hp(rng.range(-1.0, 1.0)) * std::exp(-t / 0.075);
        w.samples.push_back(std::tanh(1.4 * (tone + noise)));
    }
    return oneShot("snare", w, false);
}

// Band-passed noise in four quick bursts, the last with a short tail: hands
// that do not quite clap together.
XmInstrument clap() {
    Waveform w;
    w.rate = 22050.0;
    Rng rng(0xC1A9);
    auto bp = Biquad::bandpass(1250.0, 0.9, w.rate);
    const double bursts[] = {0.0, 0.010, 0.021, 0.032};
    for (int n = 0; n < samplesFor(0.32, w.rate); ++n) {
        const double t = n / w.rate;
        double env = 0.0;
        for (double start : bursts) {
            if (t >= start) env = std::max(env, std::exp(-(t - start) / (start == 0.032 ? 0.11 : 0.004)));
        }
        w.samples.push_back(bp(rng.range(-1.0, 1.0)) * env);
    }
    return oneShot("clap", w, false);
}

// Six detuned square waves (a metallic cluster) plus noise, high-passed.
std::vector<double> metallicNoise(int length, double rate, uint64_t seed) {
    static const double freqs[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Rng rng(seed);
    auto hp1 = Biquad::highpass(7000.0, 0.7, rate);
    auto hp2 = Biquad::highpass(7000.0, 0.7, rate);
    std::vector<double> out;
    for (int n = 0; n < length; ++n) {
        const double t = n / rate;
        double metal = 0.0;
        for (double f : freqs) metal += std::sin(2.0 * kPi * f * 1.7 * t) >= 0.0 ? 1.0 : -1.0;
        out.push_back(hp2(hp1(metal / 6.0 + 0.6 * rng.range(-1.0, 1.0))));
    }
    return out;
}

XmInstrument hat(const char* name, double seconds, double fast, double slow, uint8_t panning) {
    Waveform w;
    w.rate = 32000.0;
    w.samples = metallicNoise(samplesFor(seconds, w.rate), w.rate, 0x4A7);
    for (size_t n = 0; n < w.samples.size(); ++n) {
        const double t = n / w.rate;
        w.samples[n] *= slow > 0.0 ? 0.5 * std::exp(-t / fast) + 0.5 * std::exp(-t / slow) : std::exp(-t / fast);
    }
    return oneShot(name, w, false, panning);
}

// Noise with the given magnitude spectrum that repeats seamlessly every `size` samples.
std::vector<double> noiseLoop(int size, double rate, uint64_t seed, double (*magnitude)(double)) {
    Rng rng(seed);
    LoopSpectrum spectrum(size);
    for (int k = 1; k < size / 2; ++k) spectrum.add(k, magnitude(k * rate / size), rng.range(0.0, 2.0 * kPi));
    return spectrum.toLoop();
}

double crashSpectrum(double f) {
    const double hp = std::pow(f / 3000.0, 2.0);
    return hp / (1.0 + hp) * lowpassGain(f, 13000.0, 2);
}

// A bright noise burst over a loop of cymbal noise; the envelope lets it ring
// for about four seconds.
XmInstrument crash() {
    Waveform w;
    w.rate = 32000.0;
    const int loop = 16384, attack = 6400;
    const std::vector<double> ring = noiseLoop(loop, w.rate, 0xC7A5, crashSpectrum);
    const std::vector<double> burst = metallicNoise(attack, w.rate, 0xB0057);
    double ringPeak = 0.0;
    for (double v : ring) ringPeak = std::max(ringPeak, std::abs(v));
    for (int n = 0; n < attack + loop; ++n) {
        const double t = n / w.rate;
        double v = ring[static_cast<size_t>(n % loop)] / ringPeak;
        if (n < attack) {
            const double fade = 1.0 - static_cast<double>(n) / attack;
            v = v * (1.0 + 1.2 * std::exp(-t / 0.05)) + burst[static_cast<size_t>(n)] * 2.0 * std::exp(-t / 0.03) * fade;
        }
        w.samples.push_back(v);
    }
    w.loopStart = attack;
    w.loopLength = loop;
    declick(w.samples, 8, 0);
    XmInstrument ins;
    ins.name = "crash";
    ins.sample = toXmSample(w, false, w.rate);
    ins.volumeEnvelope.points = {{0, 64}, {6, 50}, {24, 34}, {60, 20}, {120, 9}, {200, 3}, {260, 0}};
    return ins;
}

double riserSpectrum(double f) {
    const double hp = std::pow(f / 500.0, 2.0);
    return hp / (1.0 + hp) * lowpassGain(f, 4500.0, 2);
}

// A noise swell over two bars (192 ticks), held until released; the score
// sweeps its pitch upwards. Starting the envelope half way makes a one-bar swell.
XmInstrument riser() {
    Waveform w;
    w.rate = 22050.0;
    const int loop = 8192, pre = 64;
    const std::vector<double> ring = noiseLoop(loop, w.rate, 0x215E, riserSpectrum);
    for (int n = 0; n < pre; ++n) w.samples.push_back(ring[static_cast<size_t>(loop - pre + n)] * n / pre);
    w.samples.insert(w.samples.end(), ring.begin(), ring.end());
    w.loopStart = pre;
    w.loopLength = loop;
    XmInstrument ins;
    ins.name = "riser";
    ins.sample = toXmSample(w, false, w.rate);
    ins.volumeEnvelope.points = {{0, 0}, {48, 8}, {96, 22}, {144, 40}, {192, 64}, {195, 0}};
    ins.volumeEnvelope.sustain = 4;
    ins.fadeout = 0x800;
    return ins;
}

// A tuned drum: a sine that drops onto its pitch (A2 at MIDI 45) and decays.
XmInstrument tom() {
    Waveform w;
    w.rate = 22050.0;
    Rng rng(0x7033);
    auto bp = Biquad::bandpass(900.0, 0.8, w.rate);
    const double f0 = 110.0;
    double phase = 0.0;
    for (int n = 0; n < samplesFor(0.45, w.rate); ++n) {
        const double t = n / w.rate;
        phase += 2.0 * kPi * f0 * (1.0 + 0.6 * std::exp(-t / 0.04)) / w.rate;
        const double v = std::sin(phase) * std::exp(-t / 0.2) + bp(rng.range(-1.0, 1.0)) * 0.5 * std::exp(-t / 0.015);
        w.samples.push_back(std::tanh(1.3 * v));
    }
    declick(w.samples, 4, samplesFor(0.008, w.rate));
    XmInstrument ins;
    ins.name = "tom";
    ins.sample = toXmSample(w, false, w.rate * midiFrequency(60.0) / midiFrequency(45.0));
    return ins;
}

// A typewriter key: a sharp strike, the thud of the type bar and its return.
XmInstrument click() {
    Waveform w;
    w.rate = 32000.0;
    Rng rng(0x7E7);
    auto strike = Biquad::bandpass(2600.0, 1.4, w.rate);
    auto back = Biquad::bandpass(1200.0, 1.2, w.rate);
    for (int n = 0; n < samplesFor(0.07, w.rate); ++n) {
        const double t = n / w.rate;
        const double noise = rng.range(-1.0, 1.0);
        double v = strike(noise) * 2.5 * std::exp(-t / 0.003);
        v += t >= 0.016 ? back(noise) * 1.2 * std::exp(-(t - 0.016) / 0.004) : back(0.0);
        v += 0.45 * std::sin(2.0 * kPi * 420.0 * t) * std::exp(-t / 0.012);
        w.samples.push_back(v);
    }
    return oneShot("click", w, false, 150);
}

}  // namespace

std::vector<XmInstrument> makeDrumKit() {
    return {kick(),
            snare(),
            clap(),
            hat("closed hat", 0.1, 0.022, 0.0, 150),
            hat("open hat", 0.5, 0.012, 0.17, 110),
            crash(),
            riser(),
            tom(),
            click()};
}

}  // namespace music
