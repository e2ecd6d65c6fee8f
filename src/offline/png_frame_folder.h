#pragma once
// A folder of frames as PNG pictures (a render of the show, or any clip),
// read in the order of the files' names, one frame at a time.
//
// Opening checks the whole folder before a frame is decoded, so that a long
// check does not fail at its end: every file must be a PNG picture of the
// first one's size, and there must be at least two. Left out: folders,
// hidden files (named ".something") and the sound a render writes beside its
// frames ("audio.wav").

#include <cstdint>
#include <string>
#include <vector>

#include "safety/flash_report.h"

class PngFrameFolder {
public:
    // Lists and checks the folder (names in UTF-8). False, with error() set,
    // when it cannot be read or does not hold a clip.
    bool open(const std::string& folder);

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t frameCount() const { return files_.size(); }

    // Decodes the next frame to 8-bit RGB (three bytes a pixel, rows top to
    // bottom). False after the last frame, or with error() set when a frame
    // cannot be decoded.
    bool next(std::vector<uint8_t>& rgb);

    const std::string& error() const { return error_; }

private:
    bool fail(std::string reason);

    std::string folder_;
    std::vector<std::string> files_;  // full paths in UTF-8
    std::size_t next_ = 0;
    int width_ = 0, height_ = 0;
    std::string error_;
};

// Checks every frame of a folder for flashes. False, with error set, when the
// folder cannot be read as a clip (the frames read before a fault are not
// reported).
bool checkFrameFolder(const std::string& folder, int framesPerSecond, FlashReport& report, std::string& error);
