// Accents tied to the picture: a crash, a chord stab and a kick on every
// flash, drum fills that land on the scene changes, noise risers and snare
// rolls that build into the drops, and a key click for every burst of typing.

#include "music_form.h"
#include "music_instruments.h"

namespace music {
namespace {

// The stab's root: the chord root between G3 and F#4.
int stabNote(const Chord& c) { return 55 + (c.root - 7 + 12) % 12; }

// Every flash falls on a downbeat of a section whose kick already plays there.
void accent(Score& s, int row, bool half) {
    s.note(kChCrash, row, kDrumNote, kCrash, half ? 44 : 64, 0);
    s.note(kChStab, row, stabNote(chordAt(s, row)), kStab, half ? 40 : 56, 0);
}

// Toms tumbling down through the last beat of a bar; the final sixteenth is
// left silent so the downbeat lands clean.
void tomFill(Score& s, int barRow) {
    const int toms[] = {57, 52, 45};
    const int volumes[] = {40, 46, 54};
    for (int i = 0; i < 3; ++i) s.note(kChPerc, barRow + 24 + 2 * i, toms[i], kTom, volumes[i], 0);
    s.note(kChSnare, barRow + 16, kDrumNote, kSnare, 30, 0);
    s.note(kChSnare, barRow + 20, kDrumNote, kSnare, 36, 0);
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
        // A breath before the hit: the last sixteenth before it is left to the pads.
        for (int channel : {kChHat, kChOpenHat, kChShaker, kChSnare, kChBass, kChArp, kChArpEcho}) s.rest(channel, row - 2, row);
    }

    // Crashes where a scene starts without a flash.
    s.note(kChCrash, s.at(4), kDrumNote, kCrash, 50, 0);
    s.note(kChCrash, s.at(26), kDrumNote, kCrash, 30, 0);
    s.note(kChCrash, s.at(28), kDrumNote, kCrash, 36, 0);

    // Fills in the last bar before each scene change that lands on a flash.
    for (int landing : {5, 7, 9, 11, 20, 22}) tomFill(s, s.at(landing) - kRowsPerBar);

    // Builds into the drops.
    riser(s, s.at(4), 2, 36);
    riser(s, s.at(9), 1, 34);
    riser(s, s.at(18), 2, 40);
    riser(s, s.at(22), 1, 34);
    riser(s, s.at(24), 2, 40);
    riser(s, s.at(30), 2, 42);
    snareRoll(s, s.at(18), 1);
    snareRoll(s, s.at(24), 2);
    snareRoll(s, s.at(30), 2);

    // The typewriter: a key click on every row that types more letters.
    for (int order : {26, 27}) {
        int i = 0;
        for (int row : typingRows()) {
            s.note(kChPerc, s.at(order, row), kDrumNote + (i++ % 3) - 1, kClick, 60, 0);
        }
    }
}

}  // namespace music
