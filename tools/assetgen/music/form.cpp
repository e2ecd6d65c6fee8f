#include "music/form.h"

#include <sstream>
#include <stdexcept>
#include <string>

namespace music {
namespace {

// One chord per bar (32 rows). The piece is in D minor: the main progression
// i-VI-III-VII (Dm Bb F C) opens the choruses and its answer turns through
// Bbmaj7 and Gm7, the descent Dm C Bb A carries the credits, a softer Bbmaj7
// F/A Gm7 colours the landscape, and the climax states the chorus at home,
// then lifts its answer a tone (Cmaj7 Am7 G D, the chorus's closing C the
// pivot) before the typewriter settles back on D.
const char* const kChords[kOrderCount] = {
    "Dm Dm Bb Bb",            // 0  intro under the globe
    "F F C C",                // 1
    "Dm Dm Bb Bb",            // 2
    "F F Gm A",               // 3  build, cadence into the beat
    "Dm Bb F C",              // 4  logo: drums and bass arrive
    "Dm Bb F C",              // 5  theme
    "Dm Gm7 Dm7 Am7",         // 6  the answer, turning back through the minor fifth
    "Dm C Bb A",              // 7  credits
    "Dm C Bb A",              // 8
    "Dm Bb F C",              // 9  tunnel: chorus, a flash every bar
    "Bbmaj7 Gm7 F C",         // 10
    "Dm Bb Gm A",             // 11 magnet field
    "Dm Bb C C",              // 12 winding down
    "Bbmaj7 F/A Gm7 Dmadd9",  // 13 landscape: calm
    "Bbmaj7 F/A Gm7 Asus4",   // 14
    "Bbmaj7 C Am7 Dm",        // 15
    "Gm7 A",                  // 16 the landscape dissolves
    "Bb C",                   // 17 breakdown
    "Dm Bb F C",              // 18 shaft: the drop
    "Bbmaj7 Gm7 F A7",        // 19
    "Bb C Am Dm",             // 20 pole: second theme
    "Bb C A A",               // 21
    "Dm Bb F C",              // 22 fractal zoom
    "Dm Bb Gm A",             // 23 build
    "Dm Bb F C",              // 24 tube: the climax, the chorus at home, a flash every bar
    "Cmaj7 Am7 G D",          // 25 a tone higher
    "Dm7 Gm7 Dm7 Gm7",        // 26 typewriter
    "Dm7 Gm7 Bbmaj7 A7",      // 27
    "Dm Gm/Bb F C",           // 28 water
    "Dm Bb Gm A",             // 29 build
    "Dm Bb F C",              // 30 final chorus
    "Bbmaj7 Gm7 Dm7 C",       // 31
    "Bb C Dm Dm",             // 32 outro
    "Bb C Gm A",              // 33
    "Dm Dm Dm Dm",            // 34 the last chord rings out
};

using B = Beat;
using L = BassLine;
using P = PadSound;
using A = Arpeggio;

const Section kSections[kOrderCount] = {
    {B::None, L::None, P::Air, A::None, 0},                 // 0
    {B::None, L::None, P::Air, A::None, 0},                 // 1
    {B::None, L::Drone, P::Air, A::Eighths, 18},            // 2
    {B::None, L::Drone, P::Air, A::Eighths, 22},            // 3
    {B::Four, L::Offbeat, P::Warm, A::Sixteenths, 18},      // 4
    {B::Full, L::Offbeat, P::Warm, A::Dotted, 18},          // 5
    {B::Full, L::Offbeat, P::Warm, A::Dotted, 18},          // 6
    {B::Full, L::Offbeat, P::Warm, A::None, 0},             // 7
    {B::Full, L::Offbeat, P::Warm, A::None, 0},             // 8
    {B::Drive, L::Rolling, P::Warm, A::Sixteenths, 22},     // 9
    {B::Drive, L::Rolling, P::Warm, A::Sixteenths, 22},     // 10
    {B::Full, L::Offbeat, P::Warm, A::Leaps, 24},           // 11
    {B::Full, L::Drone, P::Warm, A::Leaps, 22, 32},         // 12
    {B::None, L::Drone, P::Air, A::Eighths, 16},            // 13
    {B::Soft, L::Drone, P::Air, A::Eighths, 18},            // 14
    {B::Soft, L::Drone, P::Air, A::Eighths, 18},            // 15
    {B::Soft, L::Drone, P::Air, A::None, 0},                // 16
    {B::None, L::None, P::Warm, A::Sixteenths, 14},         // 17
    {B::Drive, L::Rolling, P::Warm, A::Eighths, 22},        // 18 the first drop leaves room for the climax
    {B::Drive, L::Rolling, P::Warm, A::Eighths, 22},        // 19
    {B::Break, L::Offbeat, P::Warm, A::Leaps, 22},          // 20
    {B::Break, L::Offbeat, P::Warm, A::Leaps, 22},          // 21
    {B::Full, L::Rolling, P::Warm, A::Dotted, 20},          // 22
    {B::Full, L::Rolling, P::Warm, A::Dotted, 20},          // 23
    {B::Climax, L::Rolling, P::Warm, A::Sixteenths, 26},    // 24
    {B::Climax, L::Rolling, P::Warm, A::Sixteenths, 26},    // 25
    {B::HalfTime, L::Funk, P::Warm, A::None, 0},            // 26
    {B::HalfTime, L::Funk, P::Pump, A::Sixteenths, 16},     // 27
    {B::Four, L::Offbeat, P::Air, A::Dotted, 22},           // 28
    {B::Full, L::Offbeat, P::Warm, A::Sixteenths, 22},      // 29
    {B::Drive, L::Rolling, P::Warm, A::Sixteenths, 24},     // 30
    {B::Drive, L::Rolling, P::Warm, A::Sixteenths, 24, 96}, // 31
    {B::Soft, L::Drone, P::Air, A::Eighths, 16},            // 32
    {B::Soft, L::Drone, P::Air, A::Eighths, 14, 96},        // 33
    {B::None, L::Drone, P::Air, A::None, 0},                // 34
};

std::vector<Chord> parseBars(const char* text) {
    std::vector<Chord> bars;
    std::istringstream in(text);
    std::string name;
    while (in >> name) bars.push_back(parseChord(name));
    return bars;
}

}  // namespace

const Section& sectionOf(int order) { return kSections[order]; }

Score makeScore() {
    std::vector<int> rows;
    for (int o = 0; o < kOrderCount; ++o) rows.push_back(static_cast<int>(parseBars(kChords[o]).size()) * kRowsPerBar);
    Score score(rows, kChannelCount);
    // Pad voices spread wide across the stereo field, mirrored between the
    // two sets; echoes answer their sources from the other side. Kick, bass,
    // backbeat and lead stay in the middle.
    const uint8_t padPanning[3] = {40, 128, 216};
    for (int v = 0; v < 3; ++v) {
        score.setChannelPanning(kChPadA + v, padPanning[v]);
        score.setChannelPanning(kChPadB + v, padPanning[2 - v]);
    }
    score.setChannelPanning(kChHarmony, 72);
    score.setChannelPanning(kChLeadEcho, 208);
    score.setChannelPanning(kChArp, 52);
    score.setChannelPanning(kChArpEcho, 204);
    score.setChannelPanning(kChCounter, 184);
    score.setChannelPanning(kChShaker, 216);
    score.setChannelPanning(kChChip, 72);
    // The whole song at full volume: with no layered hits towering over the
    // beat it fits the headroom.
    score.effect(kChChip, 0, kFxSetGlobalVolume, 64);
    return score;
}

Chord chordAt(const Score& score, int row) {
    for (int o = kOrderCount - 1; o >= 0; --o) {
        if (row >= score.at(o)) {
            const auto bars = parseBars(kChords[o]);
            const size_t bar = static_cast<size_t>((row - score.at(o)) / kRowsPerBar);
            return bars.at(std::min(bar, bars.size() - 1));
        }
    }
    throw std::runtime_error("chordAt: row before the song");
}

std::vector<ChordSpan> chordSpans(const Score& score, int firstOrder, int endOrder) {
    std::vector<ChordSpan> spans;
    for (int o = firstOrder; o < endOrder; ++o) {
        const auto bars = parseBars(kChords[o]);
        for (size_t b = 0; b < bars.size(); ++b) {
            const int row = score.at(o) + static_cast<int>(b) * kRowsPerBar;
            const Chord& c = bars[b];
            if (!spans.empty() && spans.back().chord.root == c.root && spans.back().chord.intervals == c.intervals &&
                spans.back().chord.bass == c.bass) {
                spans.back().rows += kRowsPerBar;
            } else {
                spans.push_back({row, kRowsPerBar, c});
            }
        }
    }
    return spans;
}

const std::vector<Position>& flashPositions() {
    static const std::vector<Position> positions = [] {
        std::vector<Position> p = {{5, 0}, {7, 0}};
        for (int o : {9, 10}) {
            for (int r = 0; r < 128; r += 32) p.push_back({o, r});
        }
        p.insert(p.end(), {{11, 0}, {12, 0}, {18, 0}, {20, 0}, {22, 0}, {23, 0}});
        for (int o : {24, 25}) {
            for (int r = 0; r < 128; r += 32) p.push_back({o, r});
        }
        p.push_back({30, 0});
        return p;
    }();
    return positions;
}

const std::vector<Position>& fadePositions() {
    static const std::vector<Position> positions = {{0, 32}, {3, 16}, {10, 112}, {12, 32}, {13, 0},
                                                    {19, 96}, {31, 32}, {32, 0}, {34, 16}};
    return positions;
}

const std::vector<int>& typingRows() {
    static const std::vector<int> rows = {4, 8, 20, 22, 24, 36, 40, 52, 56, 68, 72, 84, 86, 88, 100, 104, 112, 116, 120};
    return rows;
}

}  // namespace music
