// The soundtrack's character beside tracker music written by hand: highs no
// brighter than a cymbal-heavy module's, peaks that do not tower over the
// beat, a level near -16 LUFS within the show's headroom, material that
// recurs (a hook that returns, bars repeated literally) and a change of
// level a listener hears wherever the picture fades.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "rendered_soundtrack.h"
#include "song_character.h"
#include "song_score.h"

namespace songcheck {
namespace {

constexpr int kClimaxOrders[] = {24, 25};
constexpr double kNearDuplicate = 0.9;
constexpr double kAudibleStepDb = 6.0;

class SoundtrackCharacter : public RenderedSoundtrack {
protected:
    struct Figures {
        double highShare = 0.0, peakDb = 0.0, peakOverP99 = 0.0, crest = 0.0, loudness = 0.0;
        SpectralShape shape;
        double nearDuplicates = 0.0, repeatedBars = 0.0;
        XmScore score;
        int melodyChannel = 0;
    };

    static void SetUpTestSuite() {
        RenderedSoundtrack::SetUpTestSuite();
        if (song_ == nullptr) return;
        figures_ = new Figures();
        Figures& f = *figures_;
        const Stereo& a = song_->audio;
        f.highShare = 1.0 - lowShare(a, 0, a.frames(), 8000.0);
        f.shape = spectralShape(a);
        f.peakDb = 20.0 * std::log10(peak(a));
        f.peakOverP99 = peakOverPercentileDb(a);
        f.crest = crestFactorDb(a);
        f.loudness = integratedLoudness(a);
        std::vector<std::vector<double>> bars;
        for (int o = 0; o < kOrders; ++o) {
            for (int r = 0; r < player_->patternRowsAt(o); r += 32) {
                const std::size_t end = r + 32 < player_->patternRowsAt(o) ? frameOf({o, r + 32}) : orderEnd(o);
                // The last fade to silence has no chords left to compare.
                if (rmsDb(a, frameOf({o, r}), end) > -50.0) bars.push_back(chroma(a, frameOf({o, r}), end, 4));
            }
        }
        f.nearDuplicates = shareWithNearDuplicate(bars, kNearDuplicate);
        f.score = readXmScore(bytes_->data(), bytes_->size());
        f.repeatedBars = shareOfRepeatedBars(f.score);
        const auto samples = readXmSamples(bytes_->data(), bytes_->size());
        f.melodyChannel = busiestChannel(f.score, instrumentNumber(samples, "lead"));
    }
    static void TearDownTestSuite() {
        delete figures_;
        figures_ = nullptr;
        RenderedSoundtrack::TearDownTestSuite();
    }

    // The scene (counted from 0) playing at a position.
    static int sceneAt(SongPosition p) {
        int scene = -1;
        for (const SongPosition& s : sceneRows()) {
            if (s.order < p.order || (s.order == p.order && s.row <= p.row)) ++scene;
        }
        return scene;
    }
    // The scenes a phrase sounds in, and whether the climax is one of them.
    static std::set<int> scenesOf(const Phrase& phrase, bool& inClimax) {
        std::set<int> scenes;
        inClimax = false;
        for (const auto& [order, row] : phrase.starts) {
            scenes.insert(sceneAt({order, row}));
            for (int o : kClimaxOrders) inClimax = inClimax || order == o;
        }
        return scenes;
    }
    // The melody's phrases of two to four bars that return in the most
    // scenes, the climax among them: how many scenes, and where (empty when
    // none returns in the climax).
    static int hookScenes(std::string& where) {
        int best = 0;
        for (int bars = 4; bars >= 2; --bars) {
            for (const Phrase& p : recurringPhrases(figures_->score, figures_->melodyChannel, bars)) {
                bool climax = false;
                const int scenes = static_cast<int>(scenesOf(p, climax).size());
                if (!climax || scenes <= best) continue;
                best = scenes;
                where = std::to_string(bars) + " bars at";
                for (const auto& [order, row] : p.starts) where += " " + std::to_string(order) + ":" + std::to_string(row);
            }
        }
        return best;
    }

    static Figures* figures_;
};

SoundtrackCharacter::Figures* SoundtrackCharacter::figures_ = nullptr;

// Not a check: the figures with their method and the targets.
TEST_F(SoundtrackCharacter, ReportFigures) {
    const Figures& f = *figures_;
    std::printf("energy above 8 kHz            %6.2f %%   (target <= 1.5; power of Hann 4096 FFT blocks, both channels)\n",
                100.0 * f.highShare);
    std::printf("spectral flatness, mean       %6.3f     (target <= 0.017; geometric / arithmetic mean of the power\n"
                "                                          spectrum, mono, Hann 2048 hop 1024, frames above -70 dBFS)\n",
                f.shape.flatness);
    std::printf("spectral centroid, mean       %6.0f Hz  (target <= 3300; magnitude-weighted, same frames)\n",
                f.shape.centroidHz);
    std::printf("highest 10 ms peak over the 99th percentile of 10 ms peaks %5.2f dB (target <= 2.5; consecutive windows)\n",
                f.peakOverP99);
    // Where the loudest windows lie, to see which hits stack up.
    const std::vector<double> peaks = windowPeaks(song_->audio);
    std::vector<std::size_t> loudest(peaks.size());
    for (std::size_t i = 0; i < loudest.size(); ++i) loudest[i] = i;
    std::partial_sort(loudest.begin(), loudest.begin() + 12, loudest.end(),
                      [&](std::size_t a, std::size_t b) { return peaks[a] > peaks[b]; });
    std::printf("loudest 10 ms windows:");
    for (std::size_t i = 0; i < 12; ++i) {
        const std::size_t frame = loudest[i] * static_cast<std::size_t>(kRate / 100);
        int o = 0;
        while (o + 1 < kOrders && song_->orderStarts[o + 1] <= frame) ++o;
        std::printf(" %d:%zu %.1f", o, (frame - song_->orderStarts[o]) / kFramesPerRow, 20.0 * std::log10(peaks[loudest[i]]));
    }
    std::printf(" dBFS\n");
    std::printf("crest factor                  %6.2f dB  (target <= 17; sample peak over the RMS of the whole song)\n", f.crest);
    std::printf("peak                          %6.2f dBFS (target <= -1.5)\n", f.peakDb);
    std::printf("integrated loudness           %6.2f LUFS (target -17 .. -16; BS.1770-4: K-weighted, 400 ms blocks\n"
                "                                          by 100 ms, gated at -70 LUFS and 10 LU under the rest);\n"
                "                                          normalised to a -1.5 dBFS peak: %.2f LUFS\n",
                f.loudness, f.loudness - 1.5 - f.peakDb);
    std::printf("bars with a near-duplicate    %6.2f     (target >= 0.70; each 32-row bar's chroma beat by beat, 4 x 12\n"
                "                                          bins: power of Hann 4096 FFTs every 1024 frames, 110..3520 Hz,\n"
                "                                          each FFT scaled to its strongest class; Pearson r >= %.1f with\n"
                "                                          another bar; bars quieter than -50 dBFS left out)\n",
                f.nearDuplicates, kNearDuplicate);
    std::printf("bars repeated exactly         %6.1f %%   (every channel's cells of a 32-row bar found in another bar)\n",
                100.0 * f.repeatedBars);
    std::string where;
    const int scenes = hookScenes(where);
    std::printf("hook in the climax            %d scenes  (target >= 3; melody channel %d's phrases of 2-4 bars, exact\n"
                "                                          cells) %s\n",
                scenes, f.melodyChannel, where.c_str());
    int heard = 0;
    for (const SongPosition& p : fadeRows()) {
        const double step = levelStepDb(song_->audio, frameOf(p), 0.05);
        heard += std::abs(step) >= kAudibleStepDb ? 1 : 0;
        std::printf("fade %2d:%-3d 10 ms level against the 40 ms before, within 50 ms: %+5.1f dB%s\n", p.order, p.row, step,
                    std::abs(step) >= kAudibleStepDb ? "  heard" : "");
    }
    int beats = 0, eventful = 0;
    for (int o = 0; o < kOrders; ++o) {
        for (int r = 8; r < player_->patternRowsAt(o); r += 8, ++beats) {
            eventful += std::abs(levelStepDb(song_->audio, frameOf({o, r}), 0.05)) >= kAudibleStepDb ? 1 : 0;
        }
    }
    std::printf("fades heard: %d of %zu; ordinary beats that pass the same measure: %d of %d\n", heard, fadeRows().size(),
                eventful, beats);
}

// The highs of a song of sixteenth hats stay near those of hand-written
// modules: little energy above 8 kHz, a tonal rather than noisy spectrum,
// its centre of weight below 3.3 kHz.
TEST_F(SoundtrackCharacter, HighsStayDark) {
    EXPECT_LE(figures_->highShare, 0.015);
    EXPECT_LE(figures_->shape.flatness, 0.017);
    EXPECT_LE(figures_->shape.centroidHz, 3300.0);
}

// No hit towers over the song: its loudest 10 ms stand at most 2.5 dB over
// the loudest one in a hundred, its peak at most 17 dB over its RMS; and the
// level those peaks leave room for is used: about -16 to -17 LUFS as the
// show plays it, the peak still at or below -1.5 dBFS.
TEST_F(SoundtrackCharacter, PeaksStayNearTheBeatAndTheLevelIsFull) {
    EXPECT_LE(figures_->peakOverP99, 2.5);
    EXPECT_LE(figures_->crest, 17.0);
    EXPECT_GE(figures_->loudness, -17.25);
    EXPECT_LE(figures_->loudness, -15.75);
    EXPECT_LE(figures_->peakDb, -1.5);
}

// What comes back: most bars sound like another one beat by beat, and the
// hook, a phrase of two to four bars on the melody's channel, returns note
// for note in at least three scenes, the climax among them.
TEST_F(SoundtrackCharacter, MaterialReturnsWithTheHookInTheClimax) {
    EXPECT_GE(figures_->nearDuplicates, 0.70);
    std::string where;
    EXPECT_GE(hookScenes(where), 3) << where;
}

// The nine fades the music marks: at each a listener hears the level jump
// or fall (6 dB or more between the 10 ms from an instant and the 40 ms
// before it, within 50 ms of the row), the way a flash is heard.
TEST_F(SoundtrackCharacter, EveryMarkedFadeIsHeard) {
    const SongPosition fades[] = {{0, 32}, {3, 16}, {10, 112}, {12, 32}, {13, 0}, {19, 96}, {31, 32}, {32, 0}, {34, 16}};
    const auto scripted = fadeRows();
    for (const SongPosition& p : fades) {
        EXPECT_NE(std::find(scripted.begin(), scripted.end(), p), scripted.end()) << p.order << ":" << p.row << " is no fade";
        EXPECT_GE(std::abs(levelStepDb(song_->audio, frameOf(p), 0.05)), kAudibleStepDb) << "fade " << p.order << ":" << p.row;
    }
}

}  // namespace
}  // namespace songcheck
