#pragma once
// What the patterns of a module say about its arrangement: how many different
// drum bars it plays, which chords its pads hold, which effect commands it
// uses and how many notes each order position starts.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "xm_reader.h"

namespace songcheck {

constexpr int kRowsPerBar = 32;

// Bars (32 rows) in which one of `instruments` starts a note, and how many
// different ones there are (the rows and instruments of their notes).
struct BarCount {
    int bars = 0, distinct = 0;
};
BarCount distinctBars(const XmScore& score, const std::set<int>& instruments);

// The chord each bar holds, named from the notes the pad instruments sound
// at the bar's middle, over the lowest note of the bass instrument ("Dm",
// "F/A", "Bbmaj7"; "-" without pads, "?" for a set of notes without a name).
std::vector<std::vector<std::string>> chordsPerOrder(const XmScore& score, const std::set<int>& pads, int bass);

// Effect commands the patterns use, with how many cells use each: effect
// column commands as "1xx", "3xx", "EDx" ...; volume column commands as
// "v:slide", "v:vibrato", "v:panning" ...
std::map<std::string, int> effectsUsed(const XmScore& score);

// Notes (not key-offs) each order position starts.
std::vector<int> notesPerOrder(const XmScore& score);

// Share of bars (32 rows, every channel) whose cells all repeat, exactly,
// in another bar of the order list; a pattern played twice counts.
double shareOfRepeatedBars(const XmScore& score);

// A phrase of `bars` bars on one channel (its cells exactly: notes,
// instruments, volumes, effects), starting on a bar, holding at least four
// notes, and every bar of the order list where it starts, as (order, row).
struct Phrase {
    std::vector<std::pair<int, int>> starts;
};
std::vector<Phrase> recurringPhrases(const XmScore& score, int channel, int bars);

// The channel on which `instrument` starts the most notes.
int busiestChannel(const XmScore& score, int instrument);

// The 1-based number of the instrument with this name, 0 when there is none.
int instrumentNumber(const std::vector<XmSampleData>& samples, const std::string& name);

}  // namespace songcheck
