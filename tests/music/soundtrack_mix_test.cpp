// The soundtrack's mix and arrangement, measured on the render the show
// plays and on the module's patterns: room beside the low end, accents that
// stand out on the picture's flashes, drum bars and chords that vary, effect
// commands a tracker musician writes, a climax above the first drop, an event
// under every fade of the picture, and stereo that is wide but mono-safe.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/script_entry.h"
#include "rendered_soundtrack.h"
#include "song_score.h"

namespace songcheck {
namespace {

constexpr double kLowCutoffHz = 100.0;
constexpr int kFirstDrop[] = {18, 19};
constexpr int kClimax[] = {24, 25};

double median(std::vector<double> v) {
    if (v.empty()) return -200.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// What happens around a row, against what the music around it does anyway:
// how far its strongest onset within 50 ms rises above the median onset of
// the beats in the bar before and the bar after (whole band or above 2 kHz),
// and the largest change of level from the beat (400 ms) before to the beat
// after, below 150 Hz or above 2 kHz (a drop-out, a swell, drums arriving or
// leaving).
struct RowEvent {
    double onset = 0.0, step = 0.0;
    bool musical() const { return onset >= 6.0 || std::abs(step) >= 6.0; }
};

class SoundtrackMix : public RenderedSoundtrack {
protected:
    struct Figures {
        XmScore score;
        std::vector<XmSampleData> samples;
        double kickDb = 0.0, snareDb = 0.0, kickShare = 0.0;
        std::vector<double> lowShare, correlation, monoLoss, rms;
        std::vector<int> notes;
        double loudest = -200.0;
    };

    static void SetUpTestSuite() {
        RenderedSoundtrack::SetUpTestSuite();
        if (song_ == nullptr) return;
        figures_ = new Figures();
        Figures& f = *figures_;
        f.score = readXmScore(bytes_->data(), bytes_->size());
        f.samples = readXmSamples(bytes_->data(), bytes_->size());
        // The kick and the claps and snares played solo, over the whole song.
        RenderedSong kick, snare;
        renderAsShown(withInstrumentsSolo(*bytes_, {instrument("kick")}), kick);
        renderAsShown(withInstrumentsSolo(*bytes_, {instrument("clap"), instrument("snare")}), snare);
        f.kickDb = rmsDb(kick.audio, 0, kick.audio.frames());
        f.snareDb = rmsDb(snare.audio, 0, snare.audio.frames());
        f.kickShare = std::pow(10.0, (f.kickDb - rmsDb(song_->audio, 0, song_->audio.frames())) / 10.0);
        for (int o = 0; o < kOrders; ++o) {
            const std::size_t first = song_->orderStarts[o], end = orderEnd(o);
            f.rms.push_back(orderRmsDb(o));
            f.loudest = std::max(f.loudest, f.rms.back());
            f.lowShare.push_back(lowShare(song_->audio, first, end, kLowCutoffHz));
            f.correlation.push_back(correlation(song_->audio, first, end));
            f.monoLoss.push_back(monoLossDb(song_->audio, first, end));
        }
        f.notes = notesPerOrder(f.score);
        lowBand_ = new Stereo(lowpassed(song_->audio, 150.0));
    }
    static void TearDownTestSuite() {
        delete figures_;
        delete lowBand_;
        figures_ = nullptr;
        lowBand_ = nullptr;
        RenderedSoundtrack::TearDownTestSuite();
    }

    static int instrument(const std::string& name) {
        return instrumentNumber(readXmSamples(bytes_->data(), bytes_->size()), name);
    }
    static bool loud(int order) { return figures_->rms[order] >= figures_->loudest - 6.0; }
    static double notesPerSecond(int order) {
        return figures_->notes[order] / (static_cast<double>(orderEnd(order) - song_->orderStarts[order]) / kRate);
    }
    static bool isFlash(SongPosition p) {
        for (const SongPosition& f : flashRows()) {
            if (f.order == p.order && f.row == p.row) return true;
        }
        return false;
    }
    // The 10 ms peak of a flash's downbeat above the median of the order's
    // other beats, in dB.
    static double flashLift(SongPosition flash) {
        std::vector<double> beats;
        for (int r = 0; r < player_->patternRowsAt(flash.order); r += 8) {
            if (!isFlash({flash.order, r})) beats.push_back(peakDbAfter(song_->audio, frameOf({flash.order, r}), 0.01));
        }
        return peakDbAfter(song_->audio, frameOf(flash), 0.01) - median(beats);
    }
    // Starts of the beats (8 rows) within a bar (32 rows) of `frame`, itself left out.
    static std::vector<std::size_t> neighbourBeats(std::size_t frame) {
        std::vector<std::size_t> beats;
        const std::size_t bar = 32 * kFramesPerRow;
        for (int o = 0; o < kOrders; ++o) {
            for (int r = 0; r < player_->patternRowsAt(o); r += 8) {
                const std::size_t f = frameOf({o, r});
                if (f != frame && f + bar >= frame && f <= frame + bar) beats.push_back(f);
            }
        }
        return beats;
    }
    static RowEvent eventAt(SongPosition p) {
        RowEvent e;
        const std::size_t at = frameOf(p), beat = 8 * kFramesPerRow, reach = kFramesPerRow;
        for (const Stereo* s : {static_cast<const Stereo*>(&song_->audio), static_cast<const Stereo*>(highBand_)}) {
            std::vector<double> beats;
            for (std::size_t f : neighbourBeats(at)) beats.push_back(transientDb(*s, f, 0.05));
            e.onset = std::max(e.onset, transientDb(*s, at, 0.05) - median(beats));
        }
        for (std::size_t f = at - reach; f <= at + reach; f += kFramesPerRow / 5) {
            for (const Stereo* s : {static_cast<const Stereo*>(lowBand_), static_cast<const Stereo*>(highBand_)}) {
                const double step = rmsDb(*s, f, f + beat) - rmsDb(*s, f - beat, f);
                if (std::abs(step) > std::abs(e.step)) e.step = step;
            }
        }
        return e;
    }
    // Level and notes per second of two neighbouring orders together.
    static double pairRmsDb(const int (&orders)[2]) {
        return rmsDb(song_->audio, song_->orderStarts[orders[0]], orderEnd(orders[1]));
    }
    static double pairNotesPerSecond(const int (&orders)[2]) {
        const double seconds = static_cast<double>(orderEnd(orders[1]) - song_->orderStarts[orders[0]]) / kRate;
        return (figures_->notes[orders[0]] + figures_->notes[orders[1]]) / seconds;
    }

    static Figures* figures_;
    static Stereo* lowBand_;
};

SoundtrackMix::Figures* SoundtrackMix::figures_ = nullptr;
Stereo* SoundtrackMix::lowBand_ = nullptr;


// Not a check: the table to judge the mix and the arrangement by.
TEST_F(SoundtrackMix, ReportTable) {
    const Figures& f = *figures_;
    const auto loudestSample = std::max_element(song_->audio.samples.begin(), song_->audio.samples.end(),
                                                [](float a, float b) { return std::abs(a) < std::abs(b); });
    const std::size_t peakFrame = static_cast<std::size_t>(loudestSample - song_->audio.samples.begin()) / 2;
    int peakOrder = 0;
    while (peakOrder + 1 < kOrders && song_->orderStarts[peakOrder + 1] <= peakFrame) ++peakOrder;
    std::printf("peak %.2f dBFS in order %d, row %zu; module %zu bytes of %u; L/R correlation over the song %.3f\n",
                20.0 * std::log10(std::abs(*loudestSample)), peakOrder,
                (peakFrame - song_->orderStarts[peakOrder]) / kFramesPerRow, bytes_->size(), kStartupBuffer,
                correlation(song_->audio, 0, song_->audio.frames()));
    std::printf("kick solo %.1f dBFS, claps+snare solo %.1f dBFS (%+.1f dB); the kick carries %.0f%% of the power\n",
                f.kickDb, f.snareDb, f.snareDb - f.kickDb, 100.0 * f.kickShare);
    std::printf("order  RMS dBFS  rel  <100Hz  notes/s  corr  mono dB  chords\n");
    const auto chords = chordsPerOrder(f.score, {instrument("warm pad"), instrument("air pad")}, instrument("bass"));
    for (int o = 0; o < kOrders; ++o) {
        std::string progression;
        for (const std::string& c : chords[o]) progression += (progression.empty() ? "" : " ") + c;
        std::printf("%5d %8.1f %5.1f%s %5.0f%% %8.1f %5.2f %8.1f  %s\n", o, f.rms[o], f.rms[o] - f.loudest, loud(o) ? "*" : " ",
                    100.0 * f.lowShare[o], notesPerSecond(o), f.correlation[o], f.monoLoss[o], progression.c_str());
    }
    std::map<std::string, int> progressions;
    for (const auto& bars : chords) {
        std::string p;
        for (const std::string& c : bars) p += c + " ";
        ++progressions[p];
    }
    std::printf("(* loud: within 6 dB of the loudest)\n%zu distinct chord progressions; most used:", progressions.size());
    int most = 0;
    for (const auto& [p, n] : progressions) most = std::max(most, n);
    for (const auto& [p, n] : progressions) {
        if (n == most) std::printf(" %s(%d orders)", p.c_str(), n);
    }
    const BarCount kicks = distinctBars(f.score, {instrument("kick")});
    const BarCount hats = distinctBars(f.score, {instrument("closed hat"), instrument("open hat")});
    std::printf("\nkick bars %d distinct of %d; hi-hat bars %d distinct of %d\neffect commands:", kicks.distinct, kicks.bars,
                hats.distinct, hats.bars);
    for (const auto& [name, n] : effectsUsed(f.score)) std::printf(" %s(%d)", name.c_str(), n);
    std::printf("\nclimax 24-25 vs first drop 18-19: %+.1f dB, notes/s %.1f vs %.1f\n", pairRmsDb(kClimax) - pairRmsDb(kFirstDrop),
                pairNotesPerSecond(kClimax), pairNotesPerSecond(kFirstDrop));
    for (const SongPosition& p : flashRows()) {
        std::printf("flash %2d:%-3d 10 ms peak %5.1f dBFS, %+5.1f dB over the order's median beat\n", p.order, p.row,
                    peakDbAfter(song_->audio, frameOf(p), 0.01), flashLift(p));
    }
    for (const SongPosition& p : fadeRows()) {
        const RowEvent e = eventAt(p);
        std::printf("fade  %2d:%-3d onset %+5.1f dB over the beats around, beat step %+5.1f dB: %s\n", p.order, p.row,
                    e.onset, e.step, e.musical() ? "event" : "nothing");
    }
    // How often an ordinary beat would pass for an event, to judge the measure by.
    int beats = 0, eventful = 0;
    for (int o = 0; o < kOrders; ++o) {
        for (int r = 8; r < player_->patternRowsAt(o); r += 8) {
            if (o == 0 && r < 16) continue;
            ++beats;
            eventful += eventAt({o, r}).musical() ? 1 : 0;
        }
    }
    std::printf("ordinary beats that pass for an event: %d of %d\n", eventful, beats);
}


// The kick and bass leave room: in every loud order at most 45% of the power
// lies below 100 Hz, and the claps and snares played solo are within 6 dB of
// the kick played solo.
TEST_F(SoundtrackMix, LowEndLeavesRoomForTheBackbeat) {
    const Figures& f = *figures_;
    for (int o = 0; o < kOrders; ++o) {
        if (loud(o)) {
            EXPECT_LE(f.lowShare[o], 0.45) << "order " << o;
        }
    }
    EXPECT_GE(f.snareDb, f.kickDb - 6.0);
}

// A flash still peaks above its order's beats, but only just: the song's
// highest peaks are held near the crowd of loud beats (see the character
// test), so a flash is heard by the breath before it and the crash on it
// (the transient test), not by towering over the beat.
TEST_F(SoundtrackMix, FlashDownbeatsPeakAboveTheOrdersBeats) {
    for (const SongPosition& p : flashRows()) EXPECT_GE(flashLift(p), 0.5) << "flash " << p.order << ":" << p.row;
}

// Tracked, not generated: drum bars that vary, more than one chord loop,
// and the effect commands of a tracker musician's hand.
TEST_F(SoundtrackMix, ArrangementVaries) {
    const Figures& f = *figures_;
    EXPECT_GE(distinctBars(f.score, {instrument("kick")}).distinct, 8);
    EXPECT_GE(distinctBars(f.score, {instrument("closed hat"), instrument("open hat")}).distinct, 8);
    std::map<std::vector<std::string>, int> progressions;
    for (const auto& bars : chordsPerOrder(f.score, {instrument("warm pad"), instrument("air pad")}, instrument("bass"))) {
        ++progressions[bars];
    }
    EXPECT_GE(progressions.size(), 4u);
    for (const auto& [bars, orders] : progressions) EXPECT_LE(orders, kOrders / 4) << bars.front() << "...";
    EXPECT_GE(effectsUsed(f.score).size(), 6u);
}

TEST_F(SoundtrackMix, ClimaxIsLouderAndDenserThanTheFirstDrop) {
    EXPECT_GE(pairRmsDb(kClimax) - pairRmsDb(kFirstDrop), 1.5);
    EXPECT_GE(pairNotesPerSecond(kClimax), 1.15 * pairNotesPerSecond(kFirstDrop));
}

TEST_F(SoundtrackMix, EveryFadeOfThePictureHasAMusicalEvent) {
    const auto fades = fadeRows();
    ASSERT_EQ(fades.size(), 14u);
    for (const SongPosition& p : fades) {
        const RowEvent e = eventAt(p);
        EXPECT_TRUE(e.musical()) << "fade " << p.order << ":" << p.row << ": onset " << e.onset << " dB, step " << e.step
                                 << " dB";
    }
}

// Wide: the channels correlate below 0.85 over the song. Mono-safe: in no
// order does the mono sum fall more than 3 dB below the channels (the level
// of two unrelated channels), so nothing cancels out.
TEST_F(SoundtrackMix, StereoIsWideAndMonoSafe) {
    EXPECT_LT(correlation(song_->audio, 0, song_->audio.frames()), 0.85);
    for (int o = 0; o < kOrders; ++o) EXPECT_GT(figures_->monoLoss[o], -3.0) << "order " << o;
}

}  // namespace
}  // namespace songcheck
