#pragma once
// A picture of a whole song to look at: a log-frequency spectrogram over the
// waveform's level envelope, with the order boundaries drawn and numbered and
// the accent rows marked in red.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "song_analysis.h"

namespace songcheck {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

Picture drawSong(const Stereo& song, const std::vector<std::size_t>& orderStarts,
                 const std::vector<std::size_t>& accents, int pixelsPerSecond = 10);

}  // namespace songcheck
