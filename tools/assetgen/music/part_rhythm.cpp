// The groove: drum patterns per section and the bassline under them.

#include <algorithm>
#include <string_view>

#include "music/form.h"
#include "music/instruments.h"

namespace music {
namespace {

// Plays a one-bar pattern: one character per sixteenth (16 characters) or
// per row (32). '.' rests; other characters index `volumes` by 'a' + i
// (so "a..b" plays volumes[0] then volumes[1]).
void pattern(Score& s, int channel, int barRow, std::string_view steps, uint8_t instrument,
             std::initializer_list<int> volumes, int midi = kDrumNote) {
    const int step = steps.size() == 16 ? kRowsPerSixteenth : 1;
    const std::vector<int> levels(volumes);
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == '.') continue;
        const size_t level = static_cast<size_t>(steps[i] - 'a');
        s.note(channel, barRow + static_cast<int>(i) * step, midi, instrument, levels.at(level), 0);
    }
}

// One bar of drums, a character per sixteenth: kick, backbeat (the clap),
// the snare under it, closed hats and open hats. Letters pick the volumes
// below ('a' the main stroke, 'b' a ghost, 'c' an accent).
struct DrumBar {
    const char* kick;
    const char* clap;
    const char* snare;
    const char* hat;
    const char* open;
};

// Each groove is a phrase of four bars; two-bar orders play its first two.
using Groove = DrumBar[4];

const Groove kFour = {
    {"a...a...a...a...", "................", "................", "ab.bab.bab.bab.c", "..a...a...a...a."},
    {"a...a...a...a...", "................", "................", "ab.bab.bab.bab.c", "..a...a...a...a."},
    {"a...a...a...a...", "................", "................", "ab.bab.bab.bab.c", "..a...a...a...a."},
    {"a...a...a...a.b.", "................", "............b.b.", "ab.bab.bab.babbc", "..a...a...a....."},
};
const Groove kFull = {
    {"a...a...a...a...", "....a.......a...", "................", "ab.bab.bab.bab.c", "..a...a...a...a."},
    {"a...a...a..ba...", "....a.......a...", "...........b....", "ab.bab.bab.bab.c", "..a...a...a...a."},
    {"a...a...a...a...", "....a.......a...", "................", "ab.bab.bab.bab.c", "..a...a...a...a."},
    {"a...a...a...a.b.", "....a.......a...", "..............bb", "ab.bab.babbbab.c", "..a...a...a....."},
};
const Groove kDrive = {
    {"a...a...a...a...", "....a.......a...", "....a.......a...", "cbabcbabcbabcbab", "..a...a...a...a."},
    {"a...a.b.a...a...", "....a.......a...", "....a......ba.b.", "cbabcbabcbabcbab", "..a...a...a...a."},
    {"a...a...a...a...", "....a.......a...", "....a.......a...", "cbabcbabcbabcbab", "..a...a...a...a."},
    {"a...a...a...a..b", "....a.......a...", "....a.....b.a.bb", "cbabcbabcbabcbbb", "..a...a...a....."},
};
// The climax: the kick gallops, the snare answers, the hats run in accented sixteenths.
const Groove kClimax = {
    {"a...a...a.b.a...", "....a.......a...", "....a..b....a...", "cbcbcbcbcbcbcbcb", "..a...a...a...a."},
    {"a..ba...a...a.b.", "....a.......a...", "....a.b.....a..b", "cbcbcbcbcbcbcbcb", "..a...a...a...a."},
    {"a...a...a.b.a...", "....a.......a...", "....a..b....a...", "cbcbcbcbcbcbcbcb", "..a...a...a...a."},
    {"a...a..ba...a.bb", "....a.......a...", "....a.b...b.a.bb", "cbcbcbcbcbcbcbbb", "..a...a...a....."},
};
// A broken beat under the pole's second theme, its hats swung.
const Groove kBreak = {
    {"a.....a...a.....", "....a.......a...", ".......b........", "abababababababab", "..............a."},
    {"a.b...a...a..b..", "....a.......a...", ".......b.....b..", "ababab.bababab.b", "......a.......a."},
    {"a.....a...a.....", "....a.......a...", ".......b........", "abababababababab", "..............a."},
    {"a.b...a.a.a.....", "....a.......a...", ".......b.b....bb", "abababa.abababbb", "......a........."},
};
const Groove kHalfTime = {
    {"a.........a.....", "................", "........a.......", "a.b.a.b.a.b.a.bb", "................"},
    {"a......b..a.....", "................", "........a.....b.", "a.b.a.b.a.b.a.bb", "..............a."},
    {"a.........a.....", "................", "........a.......", "a.b.a.b.a.b.a.bb", "................"},
    {"a......b..a..b..", "................", "........a...b.b.", "a.b.a.bba.b.a.bb", "......a.......a."},
};
const Groove kSoft = {
    {"................", "................", "................", "a.b.a.b.a.b.a.b.", "................"},
    {"................", "................", "................", "a.b.a.b.a.b.a.b.", "................"},
    {"................", "................", "................", "a.b.a.b.a.b.a.b.", "................"},
    {"................", "................", "................", "a.b.a.b.a.bba.bb", "................"},
};

const Groove* grooveOf(Beat beat) {
    switch (beat) {
        case Beat::Four: return &kFour;
        case Beat::Full: return &kFull;
        case Beat::Drive: return &kDrive;
        case Beat::Climax: return &kClimax;
        case Beat::Break: return &kBreak;
        case Beat::HalfTime: return &kHalfTime;
        case Beat::Soft: return &kSoft;
        case Beat::None: break;
    }
    return nullptr;
}

// Hats on the off-sixteenths land a tick late (of three to a row): a swing.
void swungHats(Score& s, int bar, std::string_view steps, std::initializer_list<int> volumes) {
    const std::vector<int> levels(volumes);
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == '.') continue;
        const int row = bar + static_cast<int>(i) * kRowsPerSixteenth;
        const int volume = levels.at(static_cast<size_t>(steps[i] - 'a'));
        if (i % 2 == 1) {
            s.note(kChHat, row, kDrumNote, kClosedHat, volume, 0, kFxExtended, kExNoteDelay | 1);
        } else {
            s.note(kChHat, row, kDrumNote, kClosedHat, volume, 0);
        }
    }
}

void drumsForBar(Score& s, Beat beat, int bar, int barIndex) {
    const Groove* groove = grooveOf(beat);
    if (groove == nullptr) return;
    const DrumBar& d = (*groove)[barIndex % 4];
    const bool driving = beat == Beat::Drive || beat == Beat::Climax;
    // The climax's kick drives a little harder than the rest of the song's.
    pattern(s, kChKick, bar, d.kick, kKick, {beat == Beat::Climax ? 41 : 38, 26});
    pattern(s, kChSnare, bar, d.clap, kClap, {driving ? 52 : 54});
    pattern(s, kChSnareLayer, bar, d.snare, kSnare, {driving ? 32 : 50, 20});
    // The hats ride well under the backbeat: a song of sixteenths adds up.
    if (beat == Beat::Break || beat == Beat::HalfTime) {
        // Under the typewriter the hats stay soft, so its key clicks stand out.
        swungHats(s, bar, d.hat, beat == Beat::HalfTime ? std::initializer_list<int>{18, 9} : std::initializer_list<int>{22, 12});
    } else if (beat == Beat::Soft) {
        pattern(s, kChHat, bar, d.hat, kClosedHat, {18, 11});
    } else {
        pattern(s, kChHat, bar, d.hat, kClosedHat, {driving ? 24 : 26, 14, 20});
    }
    pattern(s, kChOpenHat, bar, d.open, kOpenHat, {beat == Beat::Four ? 22 : 24});
    // A shaker (the closed hat a fifth up) rolling in sixteenths.
    if (driving) pattern(s, kChShaker, bar, "abababababababab", kClosedHat, {8, 14}, kDrumNote + 7);
}

// The bass note of a chord, placed between Bb1 and A2.
int bassNote(const Chord& c) { return 34 + (c.bass - 10 + 12) % 12; }

// The last bar of every four turns the line towards the next phrase.
void bassForBar(Score& s, BassLine line, int bar, int barIndex, const Chord& c) {
    const int root = bassNote(c);
    const bool turn = barIndex % 4 == 3;
    switch (line) {
        case BassLine::None:
        case BassLine::Drone:
            break;
        case BassLine::Offbeat:
            for (int beat = 0; beat < 4; ++beat) s.note(kChBass, bar + beat * 8 + 4, root, kBass, 46, 3);
            // A pickup through the fifth.
            if (turn) s.note(kChBass, bar + 30, root + 7, kBass, 40, 2);
            break;
        case BassLine::Rolling:
            for (int beat = 0; beat < 4; ++beat) {
                s.note(kChBass, bar + beat * 8 + 2, root, kBass, 44, 2);
                s.note(kChBass, bar + beat * 8 + 4, root, kBass, 38, 2);
                s.note(kChBass, bar + beat * 8 + 6, beat == 3 ? root + 12 : root, kBass, 42, 2);
            }
            // The octave dives back down to the root.
            if (turn) s.slide(kChBass, bar + 31, root, 0x60, -1, 1);
            break;
        case BassLine::Funk: {
            // Syncopated root, octave and seventh under the half-time beat;
            // the seventh is the chord's own (major over a major seventh chord).
            const int seventh = std::find(c.intervals.begin(), c.intervals.end(), 11) != c.intervals.end() ? 11 : 10;
            struct Step {
                int sixteenth, interval, length, volume;
            };
            const Step steps[] = {{0, 0, 5, 54},       {3, 0, 2, 40},  {6, 12, 3, 48}, {8, seventh, 3, 44},
                                  {10, 0, 3, 50},      {13, 7, 2, 42}, {14, 12, 2, 46}};
            for (const Step& st : steps) {
                s.note(kChBass, bar + st.sixteenth * kRowsPerSixteenth, root + st.interval, kBass, st.volume, st.length);
            }
            break;
        }
    }
}

}  // namespace

void writeDrums(Score& s) {
    for (int o = 0; o < kOrderCount; ++o) {
        const Section& sec = sectionOf(o);
        for (int r = 0; r < s.orderRows(o) && r < sec.beatEnd; r += kRowsPerBar) {
            drumsForBar(s, sec.beat, s.at(o, r), r / kRowsPerBar);
        }
    }
}

void writeBass(Score& s) {
    for (int o = 0; o < kOrderCount; ++o) {
        const Section& sec = sectionOf(o);
        for (int r = 0; r < s.orderRows(o); r += kRowsPerBar) {
            bassForBar(s, sec.bass, s.at(o, r), r / kRowsPerBar, chordAt(s, s.at(o, r)));
        }
    }
    // Held bass notes, one per chord, wherever a section drones.
    for (const ChordSpan& span : chordSpans(s, 0, kOrderCount)) {
        for (int row = span.row; row < span.row + span.rows; row += kRowsPerBar) {
            int order = 0;
            while (order + 1 < kOrderCount && s.at(order + 1) <= row) ++order;
            if (sectionOf(order).bass != BassLine::Drone) continue;
            const bool chordStart = row == span.row;
            const bool sectionStart = row == s.at(order) && (order == 0 || sectionOf(order - 1).bass != BassLine::Drone);
            if (!chordStart && !sectionStart) continue;
            const int length = span.row + span.rows - row;
            if (order == kOrderCount - 1) {
                s.note(kChBass, row, bassNote(span.chord), kBass, 38, 112);
                s.fade(kChBass, row + 16, row + 110, 38, 0);
            } else {
                s.note(kChBass, row, bassNote(span.chord), kBass, 38, length - 1);
            }
        }
    }
}

}  // namespace music
