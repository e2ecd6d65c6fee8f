// The groove: drum patterns per section and the bassline under them.

#include <algorithm>
#include <string_view>

#include "music_form.h"
#include "music_instruments.h"

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

void fourOnTheFloor(Score& s, int bar, bool clap, bool loud) {
    pattern(s, kChKick, bar, "a...a...a...a...", kKick, {60});
    pattern(s, kChOpenHat, bar, "..a...a...a...a.", kOpenHat, {loud ? 46 : 40});
    pattern(s, kChHat, bar, "ab.bab.bab.bab.c", kClosedHat, {loud ? 40 : 36, 20, 28});
    if (clap) pattern(s, kChSnare, bar, "....a.......a...", kClap, {50});
}

void drumsForBar(Score& s, Beat beat, int bar, int barIndex) {
    switch (beat) {
        case Beat::None:
            break;
        case Beat::Soft:
            pattern(s, kChHat, bar, "a.b.a.b.a.b.a.b.", kClosedHat, {22, 14});
            break;
        case Beat::Four:
            fourOnTheFloor(s, bar, false, false);
            break;
        case Beat::Full:
            fourOnTheFloor(s, bar, true, false);
            break;
        case Beat::Drive:
            fourOnTheFloor(s, bar, true, true);
            // A bright shaker (the closed hat an octave up) rolling in sixteenths.
            pattern(s, kChShaker, bar, "abababababababab", kClosedHat, {12, 22}, kDrumNote + 12);
            // Ghost snares around the last clap of the second bar (the fourth is left to the fills).
            if (barIndex == 1) pattern(s, kChSnare, bar, "...........a.b..", kSnare, {16, 22});
            break;
        case Beat::HalfTime:
            pattern(s, kChKick, bar, barIndex % 2 ? "a......b..a....." : "a.........a.....", kKick, {60, 44});
            pattern(s, kChSnare, bar, "........a.......", kSnare, {46});
            pattern(s, kChHat, bar, "a.b.a.b.a.b.a.bb", kClosedHat, {28, 16});
            break;
    }
}

// The bass note of a chord, placed between Bb1 and A2.
int bassNote(const Chord& c) { return 34 + (c.bass - 10 + 12) % 12; }

void bassForBar(Score& s, BassLine line, int bar, const Chord& c) {
    const int root = bassNote(c);
    switch (line) {
        case BassLine::None:
        case BassLine::Drone:
            break;
        case BassLine::Offbeat:
            for (int beat = 0; beat < 4; ++beat) s.note(kChBass, bar + beat * 8 + 4, root, kBass, 46, 3);
            break;
        case BassLine::Rolling:
            for (int beat = 0; beat < 4; ++beat) {
                s.note(kChBass, bar + beat * 8 + 2, root, kBass, 44, 2);
                s.note(kChBass, bar + beat * 8 + 4, root, kBass, 38, 2);
                s.note(kChBass, bar + beat * 8 + 6, beat == 3 ? root + 12 : root, kBass, 42, 2);
            }
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
            bassForBar(s, sec.bass, s.at(o, r), chordAt(s, s.at(o, r)));
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
