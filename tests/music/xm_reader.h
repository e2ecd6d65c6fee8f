#pragma once
// Reads an XM file back: its order list, its patterns cell by cell and the
// sample data of its instruments, to check the score and the instruments at
// their source. A copy of the file with some instruments silenced renders
// the others solo.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace songcheck {

struct XmSampleData {
    std::string name;  // the instrument's name (one sample per instrument)
    int instrument = 0;  // 1-based, as the patterns name it
    bool sixteenBit = false;
    std::vector<int> values;  // decoded sample values
    std::size_t loopStart = 0, loopLength = 0;  // in samples; length 0: no loop
    std::size_t dataOffset = 0, dataBytes = 0;  // where the stored data lies in the file
};

// Every sample of every instrument, in order. Empty when the bytes are not a
// well-formed XM (any header or length that runs past the end).
std::vector<XmSampleData> readXmSamples(const uint8_t* bytes, std::size_t size);

struct XmNote {
    uint8_t note = 0, instrument = 0, volume = 0, effect = 0, param = 0;
};

struct XmScore {
    int channels = 0;
    std::vector<int> orders;  // pattern index of each order position
    // Each pattern as rows x channels cells, row by row.
    std::vector<std::vector<XmNote>> patterns;
    std::vector<int> patternRows;

    // The cell that order position `order` plays at (row, channel).
    const XmNote& at(int order, int row, int channel) const;
};

// The order list and unpacked patterns; empty (no orders) when malformed.
XmScore readXmScore(const uint8_t* bytes, std::size_t size);

// A copy of the file in which every instrument not in `keep` (1-based
// numbers) has silent sample data.
std::vector<uint8_t> withInstrumentsSolo(const std::vector<uint8_t>& bytes, const std::set<int>& keep);

}  // namespace songcheck
