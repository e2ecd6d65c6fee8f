#pragma once
// A picture of a whole song to look at: a log-frequency spectrogram over the
// waveform's level envelope, with the order boundaries drawn and numbered,
// the scene starts drawn in yellow, the accent rows marked in red and the
// fade rows in cyan.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "song_analysis.h"

namespace songcheck {

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// Frames to mark in the picture.
struct SongMarks {
    std::vector<std::size_t> orderStarts, sceneStarts, accents, fades;
};

Picture drawSong(const Stereo& song, const SongMarks& marks, int pixelsPerSecond = 10);

}  // namespace songcheck
