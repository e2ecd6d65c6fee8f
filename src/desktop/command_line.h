#pragma once
// The program's command line.

#include <optional>
#include <ostream>
#include <string>

#include "app/timeline.h"

constexpr int kDefaultFps = 60;

struct ShowOptions {
    bool fullscreen = false;  // desktop full screen instead of a window
    int scale = 0;            // picture multiples: the window's starting size (0: to suit the desktop)
                              // or the video's enlargement (0: the default)
    bool portrait = false;    // the upright 240 x 320 picture instead of landscape
    bool mute = false;        // no audio device; the music still sets the pace
    std::optional<SongPosition> start;  // where the show starts (in the window too)
    std::optional<SongPosition> end;    // where a render or benchmark ends
    std::string render;       // --render OUT: a video file (.mp4, .mkv) or a folder of frames
    bool smallVideo = false;  // encode the video slowly for a smaller file
    bool bench = false;       // time the whole show rendered offline, with no output
    bool list = false;        // print the timeline
    bool study = false;       // study mode: pause, step and jump, with a panel and a timeline
    std::string script;       // --script FILE: play the script of that file instead of the show's own
    bool dumpScript = false;  // --dump-script: write the script as text, to dumpScriptPath or standard output
    std::string dumpScriptPath;
    std::string cut;          // --cut LINK: play the script a cut's link carries
    bool share = false;       // --share: print the link of the script (#cut=1.DATA)
    bool gentle = false;      // the picture held under the flash thresholds
    bool checkFlashes = false;  // count the flashes of the show, or of the frames in checkFlashesPath
    std::string checkFlashesPath;
    int fps = kDefaultFps;    // frames per second of --render and --bench (and of a folder's frames)
    bool help = false;
    bool version = false;
};

constexpr int kMaxScale = 16;
constexpr int kMinRenderFps = 1, kMaxRenderFps = 240;

// Reads argv[1..argc-1] into options. False with a one-line reason in error
// for an unknown option, a bad value or options that do not go together.
// Positions are only checked for their form here; whether the song holds
// them is checked against the song.
bool parseCommandLine(int argc, const char* const* argv, ShowOptions& options, std::string& error);

// The --help text.
std::string usageText();

// Names a bad argument and shows the usage on err; the exit status 2.
int usageError(std::ostream& err, const std::string& reason);
