#pragma once
// The program's command line.

#include <string>

struct ShowOptions {
    bool fullscreen = false;  // desktop full screen instead of a window
    int scale = 0;            // starting window size in picture multiples; 0: to suit the desktop
    bool portrait = false;    // the upright 240 x 320 picture instead of landscape
    bool mute = false;        // no audio device; the music still sets the pace
    bool help = false;
    bool version = false;
};

constexpr int kMaxScale = 16;

// Reads argv[1..argc-1] into options. False with a one-line reason in error
// for an unknown option or a bad value.
bool parseCommandLine(int argc, const char* const* argv, ShowOptions& options, std::string& error);

// The --help text.
std::string usageText();
