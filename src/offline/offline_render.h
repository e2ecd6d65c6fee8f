#pragma once
// zemra --render OUT: the show made frame-exactly into a video file (OUT
// ending in .mp4 or .mkv) or a folder of PNG frames with audio.wav, with a
// progress bar on the terminal. Ctrl-C stops it cleanly: the frames made so
// far and their sound are complete and the files closed validly.

#include <ostream>
#include <string>

#include "app/offline_show.h"

struct RenderJob {
    std::string out;
    int scale = 3;  // video only: each picture pixel becomes scale x scale
    OfflineSettings show;
    bool smallVideo = false;  // video only: the slow encoding that makes a smaller file
};

constexpr int kDefaultVideoScale = 3;

// Whether OUT can be written, checked before anything is: the reason when not.
bool checkRenderTarget(const std::string& out, std::string& reason);

// Renders; the exit status: 0 done, 1 failed (also when the show gave a
// failure message part-way and stopped), 2 refused before writing (another
// render holds the folder), 130 stopped by Ctrl-C.
// Messages and the progress bar go to `err` (the bar redrawn in place when
// progressLive is set).
int renderShow(const RenderJob& job, std::ostream& err, bool progressLive);
