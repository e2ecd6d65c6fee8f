#pragma once
// The shape of the soundtrack: its channels, the length of each order
// position, the chord of every bar and the style of each section, laid out
// along the show it accompanies (scene changes, flashes, the typewriter).

#include <vector>

#include "music/score.h"
#include "music/theory.h"

namespace music {

enum Channel {
    kChKick,
    kChSnare,
    kChHat,
    kChOpenHat,
    kChCrash,
    kChRiser,
    kChPerc,
    kChBass,
    kChPadA,  // three voices
    kChPadB = kChPadA + 3,  // three more, so one chord can fade while the next swells
    kChLead = kChPadB + 3,
    kChHarmony,
    kChLeadEcho,
    kChArp,
    kChArpEcho,
    kChStab,
    kChCounter,  // a melody doubled an octave away
    kChShaker,
    kChSnareLayer,  // the snare under the clap, ghost notes and fills
    kChChip,        // chords spelled by the arpeggio command
    kChannelCount,
};

constexpr int kOrderCount = 35;

enum class Beat { None, Soft, Four, Full, Drive, Climax, Break, HalfTime };
enum class BassLine { None, Drone, Offbeat, Rolling, Funk };
enum class PadSound { None, Air, Warm, Pump };
enum class Arpeggio { None, Eighths, Sixteenths, Leaps, Dotted };

// How one order position is played. Drums stop at `beatEnd` rows.
struct Section {
    Beat beat;
    BassLine bass;
    PadSound pad;
    Arpeggio arp;
    int arpVolume;
    int beatEnd = 128;
};

const Section& sectionOf(int order);

// An empty score with the song's orders, channels and channel panning.
Score makeScore();

// The chord sounding at an absolute row.
Chord chordAt(const Score& score, int row);
// Bars of an order with their chord, merged where a chord repeats:
// (first row, rows, chord) in absolute rows.
struct ChordSpan {
    int row, rows;
    Chord chord;
};
std::vector<ChordSpan> chordSpans(const Score& score, int firstOrder, int endOrder);

struct Position {
    int order, row;
};
// Rows where the picture flashes: the music lands an accent on each.
const std::vector<Position>& flashPositions();
// Rows where the picture starts to fade to or from black: the music marks each.
const std::vector<Position>& fadePositions();
// Rows of orders 26 and 27 on which the typewriter types more letters.
const std::vector<int>& typingRows();

// The parts, each written into the score.
void writeDrums(Score& score);
void writeBass(Score& score);
void writePads(Score& score);
void writeArpeggios(Score& score);
void writeMelodies(Score& score);
void writeAccents(Score& score);

}  // namespace music
