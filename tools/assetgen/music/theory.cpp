#include "music/theory.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace music {
namespace {

int pitchClass(char letter) {
    switch (letter) {
        case 'c': case 'C': return 0;
        case 'd': case 'D': return 2;
        case 'e': case 'E': return 4;
        case 'f': case 'F': return 5;
        case 'g': case 'G': return 7;
        case 'a': case 'A': return 9;
        case 'b': case 'B': return 11;
        default: throw std::runtime_error(std::string("not a note letter: ") + letter);
    }
}

// Letter and optional accidental at the front of `text`; advances past them.
int takePitchClass(std::string_view& text) {
    if (text.empty()) throw std::runtime_error("empty note name");
    int pc = pitchClass(text[0]);
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '#') {
        ++pc;
        text.remove_prefix(1);
    } else if (!text.empty() && text[0] == 'b') {
        --pc;
        text.remove_prefix(1);
    }
    return (pc + 12) % 12;
}

}  // namespace

int parseNote(std::string_view name) {
    const std::string whole(name);
    const int pc = takePitchClass(name);
    if (name.size() != 1 || name[0] < '0' || name[0] > '9') throw std::runtime_error("bad note: " + whole);
    // Cb and B# belong to the octave of their letter.
    const int letterPc = pitchClass(whole[0]);
    int octave = name[0] - '0';
    if (letterPc == 11 && pc == 0) ++octave;
    if (letterPc == 0 && pc == 11) --octave;
    return 12 * (octave + 1) + pc;
}

std::vector<int> Chord::tonesBetween(int low, int high) const {
    std::vector<int> tones;
    for (int m = low; m <= high; ++m) {
        if (contains(m)) tones.push_back(m);
    }
    return tones;
}

bool Chord::contains(int midi) const {
    for (int i : intervals) {
        if ((root + i - midi) % 12 == 0) return true;
    }
    return false;
}

Chord parseChord(std::string_view name) {
    const std::string whole(name);
    Chord c;
    c.root = takePitchClass(name);
    c.bass = c.root;
    const size_t slash = name.find('/');
    std::string_view quality = name.substr(0, slash);
    if (slash != std::string_view::npos) {
        std::string_view bass = name.substr(slash + 1);
        c.bass = takePitchClass(bass);
    }
    if (quality.empty()) c.intervals = {0, 4, 7};
    else if (quality == "m") c.intervals = {0, 3, 7};
    else if (quality == "7") c.intervals = {0, 4, 7, 10};
    else if (quality == "m7") c.intervals = {0, 3, 7, 10};
    else if (quality == "maj7") c.intervals = {0, 4, 7, 11};
    else if (quality == "sus4") c.intervals = {0, 5, 7};
    else if (quality == "madd9") c.intervals = {0, 3, 7, 14};
    else throw std::runtime_error("unknown chord: " + whole);
    return c;
}

std::vector<int> voiceChord(const Chord& chord, const std::vector<int>& previous) {
    std::vector<int> classes;
    for (size_t i = 0; i < chord.intervals.size(); ++i) {
        if (chord.intervals.size() == 4 && i == 2) continue;  // the fifth
        classes.push_back((chord.root + chord.intervals[i]) % 12);
    }
    const std::vector<int> target = previous.empty() ? std::vector<int>{60, 64, 67} : previous;
    // Every close or open voicing of the three classes within G3..F5.
    std::vector<int> best;
    int bestCost = 1 << 30;
    for (int a = 55; a <= 77; ++a) {
        for (int b = a + 1; b <= 77; ++b) {
            for (int c = b + 1; c <= 77 && c - a <= 12; ++c) {
                std::vector<int> v = {a, b, c};
                std::vector<int> used;
                for (int m : v) used.push_back(m % 12);
                std::vector<int> sortedUsed = used, sortedClasses = classes;
                std::sort(sortedUsed.begin(), sortedUsed.end());
                std::sort(sortedClasses.begin(), sortedClasses.end());
                if (sortedUsed != sortedClasses) continue;
                int cost = 0;
                for (size_t i = 0; i < 3; ++i) cost += std::abs(v[i] - target[i]);
                if (cost < bestCost) {
                    bestCost = cost;
                    best = v;
                }
            }
        }
    }
    if (best.empty()) throw std::runtime_error("no voicing for chord");
    return best;
}

int harmonyBelow(int midi, const Chord& chord) {
    for (int m = midi - 3; m > midi - 15; --m) {
        if (chord.contains(m)) return m;
    }
    return midi - 12;
}

std::vector<MelodyNote> parseMelody(std::string_view text) {
    std::vector<MelodyNote> notes;
    int position = 0, length = 4;
    while (!text.empty()) {
        const size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        const size_t end = std::min(text.find(' '), text.size());
        std::string_view token = text.substr(0, end);
        text.remove_prefix(end);
        if (token == "|") {
            if (position % kRowsPerBar != 0) throw std::runtime_error("melody bar line off the bar");
            continue;
        }
        const bool slide = token.front() == '~';
        if (slide) token.remove_prefix(1);
        const size_t colon = token.find(':');
        if (colon != std::string_view::npos) {
            length = std::atoi(std::string(token.substr(colon + 1)).c_str()) * kRowsPerSixteenth;
            token = token.substr(0, colon);
        }
        if (length <= 0) throw std::runtime_error("melody note without length");
        notes.push_back({position, token == "r" ? -1 : parseNote(token), length, slide});
        position += length;
    }
    return notes;
}

}  // namespace music
