// Accents tied to the picture: a crash, a chord stab and a kick on every
// flash, drum fills that land on the scene changes, noise risers and snare
// rolls that build into the drops, and a key click for every burst of typing.

#include "music/form.h"
#include "music/instruments.h"

namespace music {
namespace {

// The stab's root: the chord root between G3 and F#4.
int stabNote(const Chord& c) { return 55 + (c.root - 7 + 12) % 12; }

// Every flash falls on a downbeat of a section whose kick already plays
// there: the kick strikes harder with the clap, under a crash and a chord
// stab, out of the breath before it. The layers give way to each other: the
// snare and low tom in unison stay light and the bass softens under the hit,
// since stacked at full strength they made the song's peaks and held its
// level down.
void accent(Score& s, int row, bool half) {
    s.note(kChCrash, row, kDrumNote, kCrash, half ? 40 : 56, 0);
    s.note(kChStab, row, stabNote(chordAt(s, row)), kStab, half ? 36 : 48, 0);
    s.volume(kChKick, row, 54);
    s.volume(kChBass, row, 28);
    s.note(kChSnare, row, kDrumNote, kClap, half ? 44 : 54, 0);
    s.note(kChSnareLayer, row, kDrumNote, kSnare, half ? 24 : 28, 0);
    s.note(kChPerc, row, 45, kTom, half ? 16 : 20, 0);
}

// A breath before a hit: the last sixteenth before it is left to the pads
// and the tune, so the hit lands as a jump in level.
void breath(Score& s, int row) {
    for (int channel : {kChHat, kChOpenHat, kChShaker, kChSnare, kChSnareLayer, kChBass, kChArp, kChArpEcho}) {
        s.rest(channel, row - 2, row);
    }
}

// A low tom that dives in pitch, under a crash unless the hit is to leave
// silence behind it: the hit that opens or closes a scene.
void impact(Score& s, int row, int volume, bool crash = true) {
    if (crash) s.note(kChCrash, row, kDrumNote, kCrash, volume, 0);
    s.note(kChPerc, row, 38, kTom, volume, 0);
    s.effectSpan(kChPerc, row + 1, row + 12, kFxPortaDown, 0x08);
}

// The groove stops: kick, backbeat and bass rest over [first, end).
void dropOut(Score& s, int first, int end) {
    for (int channel : {kChKick, kChSnare, kChSnareLayer, kChBass}) s.rest(channel, first, end);
}

// Toms tumbling down through the last beat of a bar after two snare strokes,
// the kick and bass resting from the first of them; the final sixteenth is
// left silent so the downbeat lands clean.
void tomFill(Score& s, int barRow) {
    const int toms[] = {57, 52, 45};
    const int volumes[] = {44, 50, 58};
    dropOut(s, barRow + 16, barRow + kRowsPerBar);
    for (int i = 0; i < 3; ++i) s.note(kChPerc, barRow + 24 + 2 * i, toms[i], kTom, volumes[i], 0);
    s.note(kChPerc, barRow + 16, kDrumNote, kSnare, 54, 0);
    s.note(kChPerc, barRow + 20, kDrumNote, kSnare, 46, 0);
    s.note(kChPerc, barRow + 22, kDrumNote, kSnare, 34, 0, kFxExtended, kExNoteDelay | 1);
}

// A snare roll over the last `bars` bars before `landing`: eighths, then
// sixteenths, then every row, growing louder; the last four rows stay silent.
void snareRoll(Score& s, int landing, int bars) {
    const int first = landing - bars * kRowsPerBar;
    for (int row = first; row < landing - 4;) {
        const int left = landing - row;
        const int volume = 14 + 40 * (row - first) / (landing - first);
        s.note(kChPerc, row, kDrumNote, kSnare, volume, 0);
        row += left > kRowsPerBar ? 4 : left > 8 ? 2 : 1;
    }
}

// The groove breaks off at `first` on a crash, an open hat and a hard snare
// stroke; the snare rolls on alone, struck again within the row (retrigger)
// as it nears `landing`.
void breakAndRoll(Score& s, int first, int landing) {
    dropOut(s, first, landing);
    for (int channel : {kChHat, kChOpenHat, kChShaker}) s.rest(channel, first + 8, landing);
    s.note(kChCrash, first, kDrumNote, kCrash, 56, 0);
    s.note(kChOpenHat, first, kDrumNote, kOpenHat, 56, 0);
    for (int row = first; row < landing - 2; row += 2) {
        const int left = landing - row;
        const int volume = row == first ? 46 : 24 + 30 * (row - first) / (landing - first);
        const uint8_t retrigger = left <= 8 ? 1 : left <= 16 ? 2 : 0;
        if (retrigger != 0) {
            s.note(kChPerc, row, kDrumNote, kSnare, volume, 0, kFxExtended, kExRetrigger | retrigger);
        } else {
            s.note(kChPerc, row, kDrumNote, kSnare, volume, 0);
        }
    }
}

// The stab chopped short (a note cut on its first tick) in a stutter that
// answers the snare.
void stabStutter(Score& s, int first) {
    const int steps[] = {0, 4, 8, 10, 12};
    for (int step : steps) {
        const int row = first + step;
        s.note(kChStab, row, stabNote(chordAt(s, row)), kStab, step == 0 ? 60 : 44, 0, kFxExtended, kExNoteCut | 2);
    }
}

// A noise swell of one or two bars, its pitch sliding up, cut a sixteenth
// before the landing so the hit comes out of a breath.
void riser(Score& s, int landing, int bars, int volume) {
    const int first = landing - bars * kRowsPerBar;
    s.note(kChRiser, first, kDrumNote, kRiser, volume, 0);
    if (bars == 1) s.effect(kChRiser, first, kFxEnvelopePosition, 96);
    for (int row = first + 1; row < landing - 2; ++row) s.effect(kChRiser, row, kFxPortaUp, bars == 1 ? 2 : 1);
    s.keyOff(kChRiser, landing - 2);
}

}  // namespace

void writeAccents(Score& s) {
    for (const Position& p : flashPositions()) {
        const int row = s.at(p.order, p.row);
        accent(s, row, p.order == 23);
        breath(s, row);
    }

    // The first downbeat of the drums hits like a flash; crashes where other
    // scenes start without one.
    accent(s, s.at(4), false);
    s.note(kChCrash, s.at(26), kDrumNote, kCrash, 18, 0);  // soft: the typing's first click follows
    s.note(kChCrash, s.at(28), kDrumNote, kCrash, 36, 0);

    // Fills in the last bar before scene changes that land on a flash (the
    // magnet field and the pole are reached through breaks, below).
    for (int landing : {5, 7, 9, 22}) tomFill(s, s.at(landing) - kRowsPerBar);

    // Where the picture fades in or out, the music marks the moment with a
    // hit out of a breath, loud enough to be heard over what goes on: as the
    // globe appears and leaves, as the landscape rises and as the magnet
    // field's drums fall silent ...
    for (const Position& p : fadePositions()) {
        const int row = s.at(p.order, p.row);
        breath(s, row);
        // The tune holds its breath too: its held note stops a row before.
        s.effect(kChLead, row - 1, kFxExtended, kExNoteCut);
    }
    impact(s, s.at(0, 32), 36);
    impact(s, s.at(3, 16), 64);
    s.note(kChStab, s.at(3, 16), stabNote(chordAt(s, s.at(3, 16))), kStab, 52, 0);
    impact(s, s.at(12, 32), 64, false);
    s.note(kChStab, s.at(12, 32), stabNote(chordAt(s, s.at(12, 32))), kStab, 64, 0);
    impact(s, s.at(13, 0), 50);
    // ... the logo's groove breaks on a crash until the fill brings it back ...
    dropOut(s, s.at(6, 48), s.at(6, 96));
    s.note(kChCrash, s.at(6, 48), kDrumNote, kCrash, 46, 0);
    // ... the tunnel ends in a stutter, the shaft in a rolling break ...
    breakAndRoll(s, s.at(10, 112), s.at(11));
    stabStutter(s, s.at(10, 112));
    breakAndRoll(s, s.at(19, 96), s.at(20));
    s.note(kChStab, s.at(19, 96), stabNote(chordAt(s, s.at(19, 96))), kStab, 56, 0);
    // ... the kick and bass leave the last bar before the climax to the roll
    // and the riser, and leave the final chorus as its picture fades ...
    dropOut(s, s.at(23, 96), s.at(24));
    dropOut(s, s.at(31, 32), s.at(31, 96));
    s.note(kChCrash, s.at(31, 32), kDrumNote, kCrash, 64, 0);
    s.note(kChPerc, s.at(31, 32), kDrumNote, kSnare, 60, 0);
    s.note(kChStab, s.at(31, 32), stabNote(chordAt(s, s.at(31, 32))), kStab, 52, 0);
    // ... the outro opens on a hit, and a last one sounds under the closing fade.
    impact(s, s.at(32), 48);
    impact(s, s.at(34, 16), 56);

    // Builds into the drops.
    riser(s, s.at(4), 2, 36);
    riser(s, s.at(9), 1, 34);
    riser(s, s.at(18), 2, 40);
    riser(s, s.at(22), 1, 34);
    riser(s, s.at(24), 2, 40);
    riser(s, s.at(30), 2, 36);
    snareRoll(s, s.at(18), 1);
    snareRoll(s, s.at(24), 2);
    snareRoll(s, s.at(30), 2);

    // The climax stops dead where the typewriter begins: its melody, harmony,
    // doubling and echo are cut, so the first key clicks sound in the clear.
    for (int channel : {kChLead, kChHarmony, kChCounter, kChLeadEcho}) s.effect(channel, s.at(26), kFxExtended, kExNoteCut);

    // The typewriter: a key click on every row that types more letters.
    for (int order : {26, 27}) {
        int i = 0;
        for (int row : typingRows()) {
            s.note(kChPerc, s.at(order, row), kDrumNote + (i++ % 3) - 1, kClick, 64, 0);
        }
    }
}

}  // namespace music
