// The tunes. Theme A (the rising 3-3-2 figure over Dm Bb F C, then its long
// answering phrase) is the song's signature: hinted by the bell in the intro,
// stated at the logo, sung in harmony in every chorus. Its first phrase is
// the hook: the lead plays it note for note, at one volume, wherever it
// returns (logo, tunnel, shaft, tube, final chorus), so it comes back the
// same each time. Theme B answers it in the credits, theme C lifts the pole
// scene, and a slow bell tune floats over the landscape and closes the show.

#include <string>

#include "music/form.h"
#include "music/instruments.h"

namespace music {
namespace {

const char* const kThemeA1 =
    "a4:3 d5:3 f5:2 e5:3 d5:3 a4:2 | bb4:3 d5:3 f5:2 g5:3 f5:3 d5:2 | "
    "c5:3 f5:3 a5:2 g5:3 f5:3 c5:2 | e5:3 g5:3 c6:2 bb5:3 a5:3 g5:2";
const char* const kThemeA2 =
    "~a5:6 f5:4 d5:2 e5:2 f5:2 | f5:6 d5:4 bb4:2 c5:2 d5:2 | "
    "~c6:6 a5:4 f5:2 g5:2 a5:2 | g5:6 e5:2 g5:4 ~a5:4";

// Phrases that return, each played again by a later line. The bell's hint
// of theme A in the intro: three bars and the two that answer them.
const char* const kBellHint = "| a4:3 d5:3 f5:10 | bb4:3 d5:3 g5:10 | f5:3 d5:3 bb4:10";
const char* const kBellHintAnswer = "c5:3 f5:3 a5:10 | g5:3 f5:3 c5:10 | ";
const char* const kThemeBCall =
    "d5:2 r:2 d5:2 f5:2 a5:4 g5:2 f5:2 | e5:4 c5:4 g4:4 c5:2 e5:2 | d5:2 r:2 d5:2 f5:2 bb5:4 a5:2 g5:2 | ";
const char* const kLandscapeTune = "d5:8 c5:4 a4:4 | c5:8 a4:4 g4:4 | bb4:8 d5:4 f5:4 | ";
const char* const kThemeC = "f5:2 g5:2 f5:2 d5:2 f5:4 bb5:4 | g5:2 a5:2 g5:2 e5:2 g5:4 c6:4 | ";
// The rising answer that follows the tunnel's chorus and leads into the
// climax and into the final chorus.
const char* const kBuildTune =
    "a5:6 f5:4 d5:2 e5:2 f5:2 | f5:6 d5:4 bb4:2 c5:2 d5:2 | g5:6 bb5:4 g5:2 a5:2 bb5:2 | a5:8 c#6:4 e6:4";
const char* const kTypingRiff = "r:5 a5:1 c6:1 d6:2 r:7 | r:4 d6:1 c6:1 bb5:2 r:2 g5:2 r:4 | ";

// A melody doubled an octave away on a second instrument, for weight or sparkle.
struct Doubling {
    uint8_t instrument = 0;  // 0: none
    int octaves = 0;
    int volume = 0;
};

struct Line {
    int order;
    std::string notes;
    uint8_t instrument;
    int volume;
    bool harmony = false;  // a second voice on the chord tones below
    Doubling doubling = {};
    int transpose = 0;  // semitones
};

const Doubling kPluckBelow = {kPluck, -1, 34};
const Doubling kBellAbove = {kBell, 1, 32};

constexpr int kHookVolume = 56;

const Line kLines[] = {
    // Intro: the bell hints at theme A's opening notes under the globe.
    {0, "r:16 " + std::string(kBellHint), kBell, 30},
    {1, kBellHintAnswer + std::string("e5:3 g5:3 c6:10 | bb5:3 a5:3 g5:10"), kBell, 30},
    // The hint again once the drone and the arpeggio have joined, theme A's
    // first figure now leading into it.
    {2, "a4:3 d5:3 f5:2 e5:3 d5:3 a4:2 " + std::string(kBellHint), kBell, 38},
    {3, kBellHintAnswer + std::string("bb5:6 a5:4 g5:6 | a5:6 c#6:4 e6:6"), kBell, 40},
    // Logo: theme A on the lead.
    {5, kThemeA1, kLead, kHookVolume},
    {6, kThemeA2, kLead, 52},
    // Credits: theme B on the pluck, its three-bar call played twice, each
    // time with another close.
    {7, kThemeBCall + std::string("a5:6 g5:2 f5:2 e5:2 c#5:4"), kPluck, 46},
    {8, kThemeBCall + std::string("a5:8 e5:4 c#5:4"), kPluck, 46},
    // Tunnel: the chorus, theme A in two voices.
    {9, kThemeA1, kLead, kHookVolume, true},
    {10, kThemeA2, kLead, 54, true},
    // Magnet field: the rising answer over the arpeggios, then the song winds down.
    {11, kBuildTune, kLead, 48},
    {12, "d6:16 | d6:8 c6:4 bb5:4 | c6:16 | r:16", kLead, 44},
    // Landscape: the slow bell tune.
    {13, kLandscapeTune + std::string("e5:12 d5:4"), kBell, 40},
    {14, kLandscapeTune + std::string("a5:8 g5:4 d5:4"), kBell, 40},
    {15, "f5:6 g5:2 a5:8 | g5:6 e5:2 c5:8 | e5:6 g5:2 a5:4 c6:4 | d6:16", kBell, 40, true},
    {16, "bb5:8 a5:4 g5:4 | c#5:8 e5:8", kBell, 38},
    // Breakdown: the lead remembers the chorus.
    {17, "bb4:3 d5:3 f5:2 g5:3 f5:3 d5:2 | e5:3 g5:3 c6:2 bb5:3 a5:3 g5:2", kLead, 42},
    // Shaft: the drop, theme A in two voices.
    {18, kThemeA1, kLead, kHookVolume, true},
    {19, kThemeA2, kLead, 52, true},
    // Pole: theme C, its opening played twice.
    {20, kThemeC + std::string("a5:4 g5:2 e5:2 c5:4 e5:4 | d5:8 r:4 a4:2 c5:2"), kLead, 52},
    {21, kThemeC + std::string("c#6:8 a5:4 e5:4 | a5:4 g5:4 e5:4 c#5:4"), kLead, 52},
    // Fractal zoom: theme A plucked, then a rising answer.
    {22, kThemeA1, kPluck, 46},
    {23, kBuildTune, kLead, 52},
    // Tube: the climax, theme A with the bell above, its answer a tone higher.
    {24, kThemeA1, kLead, kHookVolume, true, kBellAbove},
    {25, kThemeA2, kLead, 60, true, kBellAbove, 2},
    // Typewriter: the bell answers between the keystrokes.
    {26, kTypingRiff + std::string(kTypingRiff), kBell, 36},
    {27, kTypingRiff + std::string("r:4 a5:2 f5:2 d5:2 c5:2 r:4 | e5:4 g5:4 c#6:4 e6:4"), kBell, 36},
    // Water: the intro's motif returns on the pluck, then the lead climbs
    // into the final chorus as it climbed into the climax.
    {28, "a4:3 d5:3 f5:10 | bb4:3 d5:3 g5:10 | c5:3 f5:3 a5:10 | e5:3 g5:3 c6:10", kPluck, 44},
    {29, kBuildTune, kLead, 52},
    // The final chorus; its last phrase holds on G while the picture fades.
    {30, kThemeA1, kLead, kHookVolume, true, kPluckBelow},
    {31, "~a5:6 f5:4 d5:2 e5:2 f5:2 | f5:6 d5:4 bb4:2 c5:2 d5:2 | ~c6:6 a5:4 f5:2 g5:2 a5:2 | g5:16", kLead, 54, true,
     kPluckBelow},
    // Outro: the bell resolves onto D.
    {32, "d5:8 f5:4 bb5:4 | c6:8 g5:4 e5:4 | f5:8 e5:4 d5:4 | a4:16", kBell, 40},
    {33, "d5:8 f5:4 bb5:4 | c6:8 g5:4 e5:4 | d5:8 bb4:4 g4:4 | a4:8 c#5:4 e5:4", kBell, 40},
    {34, "d5:16", kBell, 44},
};

}  // namespace

// Long lead notes get a vibrato that starts after their attack, as a
// player would add it by hand.
constexpr int kVibratoAfter = 4;
constexpr uint8_t kVibrato = 0x43;  // speed 4, depth 3
constexpr uint8_t kGlide = 0x18;    // a tone in about a row

void writeMelodies(Score& s) {
    for (const Line& line : kLines) {
        const int start = s.at(line.order);
        for (const MelodyNote& n : parseMelody(line.notes)) {
            if (n.midi < 0) continue;
            const int row = start + n.offset, midi = n.midi + line.transpose;
            if (n.slide) {
                s.slide(kChLead, row, midi, kGlide, line.volume, n.length);
            } else {
                s.note(kChLead, row, midi, line.instrument, line.volume, n.length);
            }
            const bool sung = line.instrument == kLead && n.length >= 8;
            if (sung) s.effectSpan(kChLead, row + kVibratoAfter, row + n.length, kFxVibrato, kVibrato);
            if (line.harmony) {
                s.note(kChHarmony, row, harmonyBelow(midi, chordAt(s, row)), line.instrument, line.volume * 2 / 3,
                       n.length);
                if (sung) s.effectSpan(kChHarmony, row + kVibratoAfter, row + n.length, kFxVibrato, kVibrato);
            }
            if (line.doubling.instrument != 0) {
                s.note(kChCounter, row, midi + 12 * line.doubling.octaves, line.doubling.instrument,
                       line.doubling.volume, n.length);
            }
        }
    }
    // The final chorus's held G dies away with the picture.
    s.effectSpan(kChLead, s.at(31, 100), s.at(31, 128), kFxVolumeSlide, 0x01);
    s.echo(kChLead, kChLeadEcho, 6, 0.4, 0, s.totalRows());
}

}  // namespace music
