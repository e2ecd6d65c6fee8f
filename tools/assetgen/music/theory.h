#pragma once
// Notes, chords and melodies written as text, turned into MIDI numbers
// (C4 = 60, A4 = 69) and rows (a sixteenth note is two rows).

#include <string_view>
#include <vector>

namespace music {

constexpr int kRowsPerSixteenth = 2;
constexpr int kRowsPerBeat = 8;
constexpr int kRowsPerBar = 32;

// "d5", "bb4", "c#6" -> MIDI number. Throws on anything else.
int parseNote(std::string_view name);

struct Chord {
    int root = 0;                // pitch class 0..11 (C = 0)
    std::vector<int> intervals;  // semitones above the root, root included
    int bass = 0;                // pitch class of the bass note (the root unless slashed)

    // Every MIDI note of the chord within [low, high], ascending.
    std::vector<int> tonesBetween(int low, int high) const;
    bool contains(int midi) const;
};

// "Dm", "Bb", "F/A", "Gm7", "Bbmaj7", "A7", "Asus4", "Dmadd9", "Dm7".
Chord parseChord(std::string_view name);

// Three pad voices for the chord, moving as little as possible from the
// previous voicing (empty: centred around E4). Seventh and added-ninth
// chords leave out the fifth.
std::vector<int> voiceChord(const Chord& chord, const std::vector<int>& previous);

// The highest chord tone at least a minor third below `midi`: a harmony
// line that always agrees with the chord.
int harmonyBelow(int midi, const Chord& chord);

struct MelodyNote {
    int offset;  // rows from the start of the phrase
    int midi;    // -1 for a rest
    int length;  // rows
    bool slide = false;  // glides into its pitch from the note before
};

// Space-separated notes, each "name:length" with the length in sixteenths
// ("a4:3 d5:3 f5:2"); "r" is a rest, a missing length repeats the last one,
// "|" marks a bar line and is checked to fall on a bar; "~" before a note
// ("~a5:6") glides into it from the note before.
std::vector<MelodyNote> parseMelody(std::string_view text);

}  // namespace music
