// Chords: pads that follow the harmony with smooth voice leading, the
// plucked arpeggios that spell the chords out in eighths or sixteenths, and
// in the climax chords played by the tracker's own arpeggio command.

#include <algorithm>

#include "music/form.h"
#include "music/instruments.h"

namespace music {
namespace {

int orderAt(const Score& s, int row) {
    int order = 0;
    while (order + 1 < kOrderCount && s.at(order + 1) <= row) ++order;
    return order;
}

// Sidechain-style pumping: each beat the pad ducks under the kick and swells back.
void pump(Score& s, int channel, int row, int rows, int volume) {
    static const double curve[kRowsPerBeat] = {0.3, 0.5, 0.65, 0.78, 0.88, 0.95, 1.0, 1.0};
    for (int r = 0; r < rows; ++r) s.volume(channel, row + r, static_cast<int>(volume * curve[r % kRowsPerBeat]));
}

// Step patterns over the chord's tones (index 0 = the root from G3 up).
const int kEighths[8] = {0, 1, 2, 3, 4, 3, 2, 1};
const int kSixteenths[16] = {0, 1, 2, 3, 4, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 3};
const int kLeaps[16] = {0, 3, 5, 3, 1, 4, 5, 4, 0, 3, 5, 3, 2, 4, 5, 4};
// The dotted 3-3-2 rhythm: a note on these sixteenths only, climbing and turning.
const char kDottedRhythm[] = "x..x..x.x..x..x.";
const int kDotted[16] = {0, 0, 0, 2, 0, 0, 4, 0, 3, 0, 0, 5, 0, 0, 2, 0};

// Arpeggio level: fading out through the wind-down at 12, swelling through the breakdown at 17.
int arpLevel(int order, int row, int volume) {
    if (order == 12) return volume - row * volume / 200;
    if (order == 17) return volume / 2 + row * volume / 64;
    return volume;
}

// The arpeggio command's two steps above the root: the third and the
// chord's fifth, or its seventh where it has one.
uint8_t arpeggioOf(const Chord& c) {
    const int third = c.intervals.at(1), top = c.intervals.size() > 3 ? c.intervals.at(3) : c.intervals.at(2);
    return static_cast<uint8_t>(third << 4 | std::min(top, 15));
}

}  // namespace

void writePads(Score& s) {
    std::vector<int> voicing;
    bool useSetB = false;
    for (const ChordSpan& span : chordSpans(s, 0, kOrderCount)) {
        const int order = orderAt(s, span.row);
        const PadSound sound = sectionOf(order).pad;
        if (sound == PadSound::None) continue;
        voicing = voiceChord(span.chord, voicing);
        const uint8_t instrument = sound == PadSound::Air ? kAirPad : kWarmPad;
        const int volume = sound == PadSound::Air ? 24 : 20;
        // The song's last chord rings on, fading with the picture from row 16.
        const bool last = order == kOrderCount - 1;
        const int length = last ? 112 : span.rows;
        const int first = useSetB ? kChPadB : kChPadA;
        useSetB = !useSetB;
        // Through the breakdown every chord swells from almost nothing.
        const bool swell = order == 17;
        for (int v = 0; v < 3; ++v) {
            s.note(first + v, span.row, voicing[static_cast<size_t>(v)], instrument, swell ? 6 : volume, length);
            if (sound == PadSound::Pump) pump(s, first + v, span.row, span.rows, volume + 4);
            if (swell) s.effectSpan(first + v, span.row + 1, span.row + 14, kFxVolumeSlide, 0x10);
            if (last) s.fade(first + v, span.row + 16, span.row + 110, volume, 0);
        }
    }
}

void writeArpeggios(Score& s) {
    for (int o = 0; o < kOrderCount; ++o) {
        const Section& sec = sectionOf(o);
        if (sec.arp == Arpeggio::None) continue;
        const int step = sec.arp == Arpeggio::Eighths ? 4 : kRowsPerSixteenth;
        for (int r = 0; r < s.orderRows(o); r += step) {
            const int row = s.at(o, r);
            const Chord chord = chordAt(s, row);
            int low = 55;
            while ((low - chord.root) % 12 != 0) ++low;
            const std::vector<int> tones = chord.tonesBetween(low, low + 30);
            const int i = (r % kRowsPerBar) / step;
            if (sec.arp == Arpeggio::Dotted && kDottedRhythm[i] == '.') continue;
            const int index = sec.arp == Arpeggio::Eighths     ? kEighths[i]
                              : sec.arp == Arpeggio::Sixteenths ? kSixteenths[i]
                              : sec.arp == Arpeggio::Dotted     ? kDotted[i]
                                                                : kLeaps[i];
            const int accent = r % kRowsPerBeat == 0 ? 4 : 0;
            const int length = sec.arp == Arpeggio::Dotted ? 3 * step : step;
            s.note(kChArp, row, tones.at(static_cast<size_t>(index)), kPluck, arpLevel(o, r, sec.arpVolume) + accent, length);
        }
    }
    s.echo(kChArp, kChArpEcho, 6, 0.45, 0, s.totalRows());

    // The climax: every half bar the chord's root high on the lead sound,
    // turned into the whole chord by the arpeggio command from its second row.
    for (int o : {24, 25}) {
        for (int r = 0; r < s.orderRows(o); r += kRowsPerBar / 2) {
            const int row = s.at(o, r);
            const Chord chord = chordAt(s, row);
            s.note(kChChip, row, 72 + chord.root, kLead, 18, kRowsPerBar / 2 - 1);
            s.effectSpan(kChChip, row + 1, row + kRowsPerBar / 2 - 1, kFxArpeggio, arpeggioOf(chord));
        }
    }
}

}  // namespace music
