#include "song_score.h"

#include <algorithm>
#include <cstdio>

namespace songcheck {
namespace {

constexpr uint8_t kKeyOff = 97;

bool isNote(const XmNote& c) { return c.note >= 1 && c.note < kKeyOff; }

const char* const kPitchNames[12] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};

// Chord qualities by their intervals above the root (pads may leave out the fifth).
const std::map<std::set<int>, std::string>& qualities() {
    static const std::map<std::set<int>, std::string> q = {
        {{0, 4, 7}, ""},      {{0, 3, 7}, "m"},        {{0, 4, 10}, "7"},      {{0, 3, 10}, "m7"},
        {{0, 4, 11}, "maj7"}, {{0, 5, 7}, "sus4"},     {{0, 2, 7}, "sus2"},    {{0, 2, 3}, "madd9"},
        {{0, 2, 4}, "add9"},  {{0, 3, 6}, "dim"},      {{0, 4, 8}, "aug"},     {{0, 4, 7, 10}, "7"},
        {{0, 3, 7, 10}, "m7"}, {{0, 4, 7, 11}, "maj7"}, {{0, 5, 10}, "7sus4"}, {{0, 3, 6, 10}, "m7b5"},
    };
    return q;
}

std::string chordName(const std::set<int>& classes, int bassClass) {
    if (classes.empty()) return "-";
    std::vector<int> roots;
    if (bassClass >= 0 && classes.count(bassClass)) roots.push_back(bassClass);
    roots.insert(roots.end(), classes.begin(), classes.end());
    for (int root : roots) {
        std::set<int> intervals;
        for (int c : classes) intervals.insert((c - root + 12) % 12);
        const auto q = qualities().find(intervals);
        if (q == qualities().end()) continue;
        std::string name = kPitchNames[root] + q->second;
        if (bassClass >= 0 && bassClass != root) name += std::string("/") + kPitchNames[bassClass];
        return name;
    }
    return "?";
}

}  // namespace

BarCount distinctBars(const XmScore& score, const std::set<int>& instruments) {
    BarCount count;
    std::set<std::vector<int>> seen;
    for (std::size_t o = 0; o < score.orders.size(); ++o) {
        const int rows = score.patternRows[static_cast<std::size_t>(score.orders[o])];
        for (int bar = 0; bar < rows; bar += kRowsPerBar) {
            std::vector<int> hits;  // row * 256 + instrument
            for (int r = bar; r < std::min(rows, bar + kRowsPerBar); ++r) {
                for (int ch = 0; ch < score.channels; ++ch) {
                    const XmNote& c = score.at(static_cast<int>(o), r, ch);
                    if (isNote(c) && instruments.count(c.instrument)) hits.push_back((r - bar) * 256 + c.instrument);
                }
            }
            if (hits.empty()) continue;
            std::sort(hits.begin(), hits.end());
            ++count.bars;
            seen.insert(hits);
        }
    }
    count.distinct = static_cast<int>(seen.size());
    return count;
}

std::vector<std::vector<std::string>> chordsPerOrder(const XmScore& score, const std::set<int>& pads, int bass) {
    // Each channel's sounding note and instrument, followed through the song.
    std::vector<int> note(static_cast<std::size_t>(score.channels), 0), instrument(note);
    std::vector<std::vector<std::string>> chords;
    for (std::size_t o = 0; o < score.orders.size(); ++o) {
        chords.emplace_back();
        const int rows = score.patternRows[static_cast<std::size_t>(score.orders[o])];
        for (int r = 0; r < rows; ++r) {
            for (int ch = 0; ch < score.channels; ++ch) {
                const XmNote& c = score.at(static_cast<int>(o), r, ch);
                if (c.instrument) instrument[static_cast<std::size_t>(ch)] = c.instrument;
                if (c.note == kKeyOff) note[static_cast<std::size_t>(ch)] = 0;
                if (isNote(c)) note[static_cast<std::size_t>(ch)] = c.note;
            }
            if (r % kRowsPerBar != kRowsPerBar / 2) continue;
            std::set<int> classes;
            int lowestBass = 1000;
            for (int ch = 0; ch < score.channels; ++ch) {
                const int n = note[static_cast<std::size_t>(ch)], ins = instrument[static_cast<std::size_t>(ch)];
                if (n == 0) continue;
                if (pads.count(ins)) classes.insert((n - 1) % 12);  // XM note 1 is C
                if (ins == bass) lowestBass = std::min(lowestBass, n);
            }
            chords.back().push_back(chordName(classes, lowestBass < 1000 ? (lowestBass - 1) % 12 : -1));
        }
    }
    return chords;
}

std::map<std::string, int> effectsUsed(const XmScore& score) {
    std::map<std::string, int> used;
    for (std::size_t o = 0; o < score.orders.size(); ++o) {
        const int rows = score.patternRows[static_cast<std::size_t>(score.orders[o])];
        for (int r = 0; r < rows; ++r) {
            for (int ch = 0; ch < score.channels; ++ch) {
                const XmNote& c = score.at(static_cast<int>(o), r, ch);
                char name[8];
                if (c.effect == 0xE) {
                    std::snprintf(name, sizeof name, "E%Xx", c.param >> 4);
                    ++used[name];
                } else if (c.effect != 0 || c.param != 0) {
                    std::snprintf(name, sizeof name, "%cxx", c.effect < 10 ? '0' + c.effect : 'A' + c.effect - 10);
                    ++used[name];
                }
                const int v = c.volume >> 4;
                if (v >= 6 && v <= 9) ++used["v:slide"];
                if (v == 0xA || v == 0xB) ++used["v:vibrato"];
                if (v == 0xC) ++used["v:panning"];
                if (v == 0xD || v == 0xE) ++used["v:pan slide"];
                if (v == 0xF) ++used["v:portamento"];
            }
        }
    }
    return used;
}

std::vector<int> notesPerOrder(const XmScore& score) {
    std::vector<int> counts;
    for (std::size_t o = 0; o < score.orders.size(); ++o) {
        int n = 0;
        const int rows = score.patternRows[static_cast<std::size_t>(score.orders[o])];
        for (int r = 0; r < rows; ++r) {
            for (int ch = 0; ch < score.channels; ++ch) n += isNote(score.at(static_cast<int>(o), r, ch)) ? 1 : 0;
        }
        counts.push_back(n);
    }
    return counts;
}

namespace {

// The cells of channels [firstChannel, endChannel) over `rows` rows from a
// bar; empty when the order runs out first.
std::vector<uint8_t> cellsFrom(const XmScore& score, int order, int row, int rows, int firstChannel, int endChannel) {
    std::vector<uint8_t> cells;
    for (int o = order, r = row; static_cast<int>(cells.size()) < rows * (endChannel - firstChannel) * 5; ++r) {
        if (r == score.patternRows[static_cast<std::size_t>(score.orders[static_cast<std::size_t>(o)])]) {
            if (++o == static_cast<int>(score.orders.size())) return {};
            r = 0;
        }
        for (int ch = firstChannel; ch < endChannel; ++ch) {
            const XmNote& c = score.at(o, r, ch);
            cells.insert(cells.end(), {c.note, c.instrument, c.volume, c.effect, c.param});
        }
    }
    return cells;
}

}  // namespace

double shareOfRepeatedBars(const XmScore& score) {
    std::map<std::vector<uint8_t>, int> seen;
    std::vector<std::vector<uint8_t>> bars;
    for (std::size_t o = 0; o < score.orders.size(); ++o) {
        const int rows = score.patternRows[static_cast<std::size_t>(score.orders[o])];
        for (int bar = 0; bar + kRowsPerBar <= rows; bar += kRowsPerBar) {
            bars.push_back(cellsFrom(score, static_cast<int>(o), bar, kRowsPerBar, 0, score.channels));
            ++seen[bars.back()];
        }
    }
    int repeated = 0;
    for (const auto& b : bars) repeated += seen[b] > 1 ? 1 : 0;
    return bars.empty() ? 0.0 : static_cast<double>(repeated) / static_cast<double>(bars.size());
}

std::vector<Phrase> recurringPhrases(const XmScore& score, int channel, int bars) {
    std::map<std::vector<uint8_t>, Phrase> phrases;
    for (std::size_t o = 0; o < score.orders.size(); ++o) {
        const int rows = score.patternRows[static_cast<std::size_t>(score.orders[o])];
        for (int bar = 0; bar < rows; bar += kRowsPerBar) {
            const auto cells = cellsFrom(score, static_cast<int>(o), bar, bars * kRowsPerBar, channel, channel + 1);
            int notes = 0;
            for (std::size_t i = 0; i < cells.size(); i += 5) notes += cells[i] >= 1 && cells[i] < kKeyOff ? 1 : 0;
            if (notes >= 4) phrases[cells].starts.emplace_back(static_cast<int>(o), bar);
        }
    }
    std::vector<Phrase> recurring;
    for (auto& [cells, phrase] : phrases) {
        if (phrase.starts.size() > 1) recurring.push_back(phrase);
    }
    return recurring;
}

int busiestChannel(const XmScore& score, int instrument) {
    std::vector<int> notes(static_cast<std::size_t>(score.channels), 0);
    for (std::size_t o = 0; o < score.orders.size(); ++o) {
        const int rows = score.patternRows[static_cast<std::size_t>(score.orders[o])];
        for (int r = 0; r < rows; ++r) {
            for (int ch = 0; ch < score.channels; ++ch) {
                const XmNote& c = score.at(static_cast<int>(o), r, ch);
                if (isNote(c) && c.instrument == instrument) ++notes[static_cast<std::size_t>(ch)];
            }
        }
    }
    return static_cast<int>(std::max_element(notes.begin(), notes.end()) - notes.begin());
}

int instrumentNumber(const std::vector<XmSampleData>& samples, const std::string& name) {
    for (const XmSampleData& s : samples) {
        if (s.name == name) return s.instrument;
    }
    return 0;
}

}  // namespace songcheck
