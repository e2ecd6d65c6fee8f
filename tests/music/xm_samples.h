#pragma once
// Reads the sample data out of an XM file, to check the instruments' sound
// at its source (where it starts and ends, how its loop joins).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace songcheck {

struct XmSampleData {
    std::string name;
    bool sixteenBit = false;
    std::vector<int> values;  // decoded sample values
    std::size_t loopStart = 0, loopLength = 0;  // in samples; length 0: no loop
};

// Every sample of every instrument, in order. Empty when the bytes are not a
// well-formed XM (any header or length that runs past the end).
std::vector<XmSampleData> readXmSamples(const uint8_t* bytes, std::size_t size);

}  // namespace songcheck
