#include "app/command_line.h"

#include <charconv>
#include <string_view>

namespace {

bool parseScale(std::string_view text, int& scale) {
    int value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < 1 || value > kMaxScale) return false;
    scale = value;
    return true;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, ShowOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--fullscreen") {
            options.fullscreen = true;
        } else if (arg == "--portrait") {
            options.portrait = true;
        } else if (arg == "--mute") {
            options.mute = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--scale" || arg.starts_with("--scale=")) {
            std::string_view value;
            if (arg == "--scale") {
                if (i + 1 >= argc) {
                    error = "--scale needs a number from 1 to " + std::to_string(kMaxScale);
                    return false;
                }
                value = argv[++i];
            } else {
                value = arg.substr(8);
            }
            if (!parseScale(value, options.scale)) {
                error = "--scale needs a number from 1 to " + std::to_string(kMaxScale) + ", not '" +
                        std::string(value) + "'";
                return false;
            }
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    return true;
}

std::string usageText() {
    return "Usage: zemra [options]\n"
           "Plays the Zemra show in a window with sound. Any key ends it.\n"
           "\n"
           "  --fullscreen   fill the whole screen\n"
           "  --scale N      start with the picture enlarged N times (1 to 16)\n"
           "  --portrait     show the picture upright (240 x 320) instead of landscape\n"
           "  --mute         play without sound; no audio device is needed\n"
           "  --help         show this help\n"
           "  --version      show the version\n";
}
