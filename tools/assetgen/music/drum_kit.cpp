// The percussion: kick, snare, clap, hats, crash, riser, tom and the
// typewriter's key click. One-shots fade to zero at their end; the crash and
// the riser hold on a seamless noise loop shaped by their volume envelopes.

#include <cmath>

#include "music/instruments.h"
#include "music/synth.h"

namespace music {
namespace {

using assetgen::Rng;

int samplesFor(double seconds, double rate) { return static_cast<int>(seconds * rate); }

// `seconds` of sound at `rate`, sample by sample: sampleAt(t) for t in seconds.
template <class SampleAt>
Waveform synthesise(double seconds, double rate, SampleAt sampleAt) {
    Waveform w;
    w.rate = rate;
    for (int n = 0; n < samplesFor(seconds, rate); ++n) w.samples.push_back(sampleAt(n / rate));
    return w;
}

// A sound played once; it plays at its own rate on C-4 unless `c4Rate` says otherwise.
XmInstrument oneShot(const char* name, Waveform wave, bool sixteenBit, uint8_t panning = 128, double c4Rate = 0.0) {
    declick(wave.samples, 4, samplesFor(0.008, wave.rate));
    XmInstrument ins;
    ins.name = name;
    ins.sample = toXmSample(wave, sixteenBit, c4Rate > 0.0 ? c4Rate : wave.rate);
    ins.sample.panning = panning;
    return ins;
}

// A sine sweeping down from a high pitch onto its body pitch, held briefly
// then decaying fast (a short tail leaves the bass its room), with a short
// noisy click on the attack.
XmInstrument kick() {
    const double rate = 22050.0;
    Rng rng(0x4B1C);
    auto click = Biquad::highpass(1800.0, 0.7, rate);
    double phase = 0.0;
    return oneShot("kick", synthesise(0.45, rate, [&](double t) {
        phase += 2.0 * kPi * (52.0 + 130.0 * std::exp(-t / 0.028) + 70.0 * std::exp(-t / 0.006)) / rate;
        const double body = std::sin(phase) * (t < 0.03 ? 1.0 : std::exp(-(t - 0.03) / 0.085));
        const double tick = click(rng.range(-1.0, 1.0)) * 0.45 * std::exp(-t / 0.0025);
        return std::tanh(1.7 * (body + tick));
    }), true);
}

// Two damped drum-head tones under a burst of high-passed noise.
XmInstrument snare() {
    Rng rng(0x5A4E);
    auto hp = Biquad::highpass(900.0, 0.7, 22050.0);
    return oneShot("snare", synthesise(0.3, 22050.0, [&](double t) {
        const double tone = 0.6 * std::sin(2.0 * kPi * 188.0 * t) * std::exp(-t / 0.045) +
                            0.3 * std::sin(2.0 * kPi * 331.0 * t) * std::exp(-t / 0.03);
        return std::tanh(1.4 * (tone + hp(rng.range(-1.0, 1.0)) * std::exp(-t / 0.075)));
    }), false);
}

// Band-passed noise in four quick bursts, the last with a short tail: hands
// that do not quite clap together.
XmInstrument clap() {
    Rng rng(0xC1A9);
    auto bp = Biquad::bandpass(1250.0, 0.9, 22050.0);
    return oneShot("clap", synthesise(0.32, 22050.0, [&](double t) {
        double env = 0.0;
        for (double start : {0.0, 0.010, 0.021, 0.032}) {
            if (t >= start) env = std::max(env, std::exp(-(t - start) / (start == 0.032 ? 0.11 : 0.004)));
        }
        return bp(rng.range(-1.0, 1.0)) * env;
    }), false);
}

// Six detuned square waves (a metallic cluster) plus noise, high-passed at
// `low`; a low-pass at `high` (0: none) takes the hiss off the top.
std::vector<double> metallicNoise(int length, double rate, uint64_t seed, double low = 7000.0, double high = 0.0) {
    static const double freqs[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Rng rng(seed);
    auto hp1 = Biquad::highpass(low, 0.7, rate);
    auto hp2 = Biquad::highpass(low, 0.7, rate);
    auto lp = Biquad::lowpass(high > 0.0 ? high : 0.45 * rate, 0.7, rate);
    std::vector<double> out;
    for (int n = 0; n < length; ++n) {
        const double t = n / rate;
        double metal = 0.0;
        for (double f : freqs) metal += std::sin(2.0 * kPi * f * 1.7 * t) >= 0.0 ? 1.0 : -1.0;
        const double v = hp2(hp1(metal / 6.0 + 0.6 * rng.range(-1.0, 1.0)));
        out.push_back(high > 0.0 ? lp(v) : v);
    }
    return out;
}

// The hats sit lower than the crash's burst: their body between 5 and 10 kHz
// keeps them crisp without the hiss above that builds up over a song of sixteenths.
XmInstrument hat(const char* name, double seconds, double fast, double slow, uint8_t panning) {
    Waveform w;
    w.rate = 32000.0;
    w.samples = metallicNoise(samplesFor(seconds, w.rate), w.rate, 0x4A7, 5200.0, 9500.0);
    for (size_t n = 0; n < w.samples.size(); ++n) {
        const double t = n / w.rate;
        w.samples[n] *= slow > 0.0 ? 0.5 * std::exp(-t / fast) + 0.5 * std::exp(-t / slow) : std::exp(-t / fast);
    }
    return oneShot(name, w, false, panning);
}

// Band-limited noise (corners `low` and `high` Hz) that repeats seamlessly every `size` samples.
std::vector<double> noiseLoop(int size, double rate, uint64_t seed, double low, double high) {
    Rng rng(seed);
    LoopSpectrum spectrum(size);
    for (int k = 1; k < size / 2; ++k) spectrum.add(k, bandGain(k * rate / size, low, high), rng.range(0.0, 2.0 * kPi));
    return spectrum.toLoop();
}

// A bright noise burst over a loop of cymbal noise; the envelope lets it ring
// for about four seconds.
XmInstrument crash() {
    Waveform w;
    w.rate = 32000.0;
    const int loop = 16384, attack = 6400;
    const std::vector<double> ring = noiseLoop(loop, w.rate, 0xC7A5, 2500.0, 9000.0);
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
    ins.sample.panning = 100;  // the cymbal a little left of the kick and snare
    ins.volumeEnvelope.points = {{0, 64}, {6, 50}, {24, 34}, {60, 20}, {120, 9}, {200, 3}, {260, 0}};
    return ins;
}

// A noise swell over two bars (192 ticks), held until released; the score
// sweeps its pitch upwards. Starting the envelope half way makes a one-bar swell.
XmInstrument riser() {
    const double rate = 22050.0;
    const Waveform w = loopWithPreroll(noiseLoop(8192, rate, 0x215E, 500.0, 4500.0), rate, 64);
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
    const double rate = 22050.0, f0 = midiFrequency(45);
    Rng rng(0x7033);
    auto bp = Biquad::bandpass(900.0, 0.8, rate);
    double phase = 0.0;
    const Waveform w = synthesise(0.45, rate, [&](double t) {
        phase += 2.0 * kPi * f0 * (1.0 + 0.6 * std::exp(-t / 0.04)) / rate;
        return std::tanh(1.3 * (std::sin(phase) * std::exp(-t / 0.2) + bp(rng.range(-1.0, 1.0)) * 0.5 * std::exp(-t / 0.015)));
    });
    return oneShot("tom", w, false, 128, rate * midiFrequency(60) / f0);
}

// A typewriter key: a sharp strike, the thud of the type bar and its return.
XmInstrument click() {
    Rng rng(0x7E7);
    auto strike = Biquad::bandpass(2600.0, 1.4, 32000.0);
    auto back = Biquad::bandpass(1200.0, 1.2, 32000.0);
    return oneShot("click", synthesise(0.07, 32000.0, [&](double t) {
        const double noise = rng.range(-1.0, 1.0);
        double v = strike(noise) * 2.5 * std::exp(-t / 0.003);
        v += t >= 0.016 ? back(noise) * 1.2 * std::exp(-(t - 0.016) / 0.004) : back(0.0);
        return v + 0.45 * std::sin(2.0 * kPi * 420.0 * t) * std::exp(-t / 0.012);
    }), false, 150);
}

}  // namespace

std::vector<XmInstrument> makeDrumKit() {
    return {kick(),
            snare(),
            clap(),
            hat("closed hat", 0.1, 0.022, 0.0, 184),
            hat("open hat", 0.5, 0.012, 0.17, 72),
            crash(),
            riser(),
            tom(),
            click()};
}

}  // namespace music
