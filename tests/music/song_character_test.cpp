// The character measures on sounds whose answer is known: the BS.1770
// calibration tone and its gates, noise against a tone, a tone's pitch class,
// a lone peak among equal ones and a step in level.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "song_character.h"

namespace songcheck {
namespace {

constexpr double kPi = 3.14159265358979323846;

// `seconds` of a sine at `hz` with `amplitude` on both channels.
Stereo tone(double hz, double amplitude, double seconds, int rate = 44100) {
    Stereo s;
    s.rate = rate;
    for (int n = 0; n < static_cast<int>(seconds * rate); ++n) {
        const auto v = static_cast<float>(amplitude * std::sin(2.0 * kPi * hz * n / rate));
        s.samples.insert(s.samples.end(), {v, v});
    }
    return s;
}

void append(Stereo& s, const Stereo& more) { s.samples.insert(s.samples.end(), more.samples.begin(), more.samples.end()); }

TEST(LoudnessMeasure, MatchesTheCalibrationToneAtBothRatesAndIgnoresGatedStretches) {
    // EBU Tech 3341's first case: a 1 kHz sine at -23 dBFS on both channels reads -23 LUFS.
    const double amplitude = std::pow(10.0, -23.0 / 20.0);
    for (int rate : {44100, 48000}) EXPECT_NEAR(integratedLoudness(tone(1000.0, amplitude, 20.0, rate)), -23.0, 0.1) << rate;
    // Silence falls under the absolute gate, a tone 30 dB down under the relative one.
    Stereo gated = tone(1000.0, amplitude, 10.0);
    append(gated, tone(1000.0, 0.0, 10.0));
    append(gated, tone(1000.0, amplitude * std::pow(10.0, -30.0 / 20.0), 10.0));
    EXPECT_NEAR(integratedLoudness(gated), -23.0, 0.1);
    // A tone at 60 Hz counts for less than one at 1 kHz: the RLB high-pass.
    EXPECT_LT(integratedLoudness(tone(60.0, amplitude, 20.0)), -23.5);
    EXPECT_EQ(integratedLoudness(tone(1000.0, 0.0, 5.0)), -200.0);
}

TEST(SpectrumMeasures, TellNoiseFromATone) {
    Stereo noise;
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
    for (int n = 0; n < 44100 * 2; ++n) {
        const float v = uniform(rng);
        noise.samples.insert(noise.samples.end(), {v, v});
    }
    const SpectralShape white = spectralShape(noise), sine = spectralShape(tone(1000.0, 0.5, 2.0));
    EXPECT_GT(white.flatness, 0.4);
    EXPECT_LT(sine.flatness, 0.01);
    EXPECT_NEAR(white.centroidHz, 11025.0, 600.0);
    EXPECT_NEAR(sine.centroidHz, 1000.0, 150.0);
    EXPECT_EQ(spectralShape(tone(1000.0, 0.0, 1.0)).centroidHz, 0.0);  // silence has no frames to measure
}

TEST(ChromaMeasure, FindsThePitchClassAndNearDuplicates) {
    const auto a = chroma(tone(440.0, 0.5, 1.6), 0, 44100 * 8 / 5);
    EXPECT_EQ(std::max_element(a.begin(), a.end()) - a.begin(), 9);  // A
    const auto aOctave = chroma(tone(220.0, 0.5, 1.6), 0, 44100 * 8 / 5);
    const auto c = chroma(tone(261.63, 0.5, 1.6), 0, 44100 * 8 / 5);
    EXPECT_GT(pearson(a, aOctave), 0.9);
    EXPECT_LT(pearson(a, c), 0.5);
    EXPECT_DOUBLE_EQ(shareWithNearDuplicate({a, aOctave, c}, 0.9), 2.0 / 3.0);
    EXPECT_EQ(shareWithNearDuplicate({a}, 0.9), 0.0);
    EXPECT_EQ(pearson({1, 1, 1}, {1, 2, 3}), 0.0);
}

TEST(PeakMeasures, CompareTheLoudestWindowWithTheCrowdAndTheWhole) {
    // A hundred seconds of a sine at half scale: every 10 ms window peaks alike.
    Stereo s = tone(1000.0, 0.5, 100.0);
    EXPECT_NEAR(peakOverPercentileDb(s), 0.0, 0.01);
    EXPECT_NEAR(crestFactorDb(s), 3.01, 0.05);
    // One sample at full scale stands 6 dB above the 99th percentile.
    s.samples[2 * 44100 * 50] = 1.0f;
    EXPECT_NEAR(peakOverPercentileDb(s), 6.02, 0.05);
}

TEST(LevelStep, IsSignedAndFoundWithinTheWindow) {
    Stereo s = tone(1000.0, 0.05, 1.0);
    append(s, tone(1000.0, 0.5, 1.0));
    EXPECT_NEAR(levelStepDb(s, 44100, 0.05), 20.0, 0.5);
    EXPECT_NEAR(levelStepDb(s, 44100 + 2000, 0.05), 20.0, 0.5);  // 45 ms later: still within reach
    EXPECT_NEAR(levelStepDb(s, 44100 + 4000, 0.05), 0.0, 0.5);   // 90 ms later: out of reach
    Stereo fall = tone(1000.0, 0.5, 1.0);
    append(fall, tone(1000.0, 0.0, 1.0));
    EXPECT_LT(levelStepDb(fall, 44100, 0.05), -100.0);
}

}  // namespace
}  // namespace songcheck
