#include "desktop/command_line.h"

#include <charconv>
#include <string_view>

#include "offline/video_output.h"

namespace {

bool parseNumber(std::string_view text, int low, int high, int& number) {
    int value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < low || value > high) return false;
    number = value;
    return true;
}

std::string range(int low, int high) { return "a number from " + std::to_string(low) + " to " + std::to_string(high); }

// An option with a value, given as "--name VALUE" or "--name=VALUE".
class ValueOption {
public:
    ValueOption(int argc, const char* const* argv, int& index) : argc_(argc), argv_(argv), index_(index) {}

    // True when the argument at the index is the option `name`.
    bool is(std::string_view name) const {
        const std::string_view arg = argv_[index_];
        return arg == name || (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=');
    }
    // Its value, taking the next argument when needed. False when missing.
    bool take(std::string_view name, std::string_view& value) {
        const std::string_view arg = argv_[index_];
        if (arg.size() > name.size()) {
            value = arg.substr(name.size() + 1);
            return true;
        }
        if (index_ + 1 >= argc_) return false;
        value = argv_[++index_];
        return true;
    }

private:
    int argc_;
    const char* const* argv_;
    int& index_;
};

bool readPosition(ValueOption& option, const char* name, std::optional<SongPosition>& position, std::string& error) {
    std::string_view value;
    SongPosition parsed;
    if (!option.take(name, value)) {
        error = std::string(name) + " needs a music position ORDER:ROW, such as 5:0";
        return false;
    }
    if (!parseSongPosition(value, parsed)) {
        error = std::string(name) + " needs a music position ORDER:ROW, such as 5:0, not '" + std::string(value) + "'";
        return false;
    }
    position = parsed;
    return true;
}

bool readNumber(ValueOption& option, const char* name, int low, int high, int& number, std::string& error) {
    std::string_view value;
    if (!option.take(name, value)) {
        error = std::string(name) + " needs " + range(low, high);
        return false;
    }
    if (!parseNumber(value, low, high, number)) {
        error = std::string(name) + " needs " + range(low, high) + ", not '" + std::string(value) + "'";
        return false;
    }
    return true;
}

// A file or folder name; `what` says which when it is missing.
bool readName(ValueOption& option, const char* name, const char* what, std::string& value, std::string& error) {
    std::string_view text;
    if (!option.take(name, text) || text.empty()) {
        error = std::string(name) + " needs " + what;
        return false;
    }
    value = text;
    return true;
}

// Options that only mean something together.
bool checkCombination(const ShowOptions& options, bool fpsGiven, std::string& error) {
    const bool render = !options.render.empty();
    const bool writesScript = options.dumpScript || options.share;
    if (writesScript && (render || options.bench || options.list || options.study || options.start ||
                         options.end || options.fullscreen || options.portrait || options.mute || options.scale ||
                         options.smallVideo || fpsGiven || options.gentle || options.checkFlashes)) {
        error = std::string(options.share ? "--share prints the link" : "--dump-script writes the script") +
                " and ends: only --script or --cut goes with it";
        return false;
    }
    if (options.dumpScript && options.share) {
        error = "--dump-script and --share go one at a time";
        return false;
    }
    if (!options.script.empty() && !options.cut.empty()) {
        error = "--script and --cut go one at a time: each names the script to play";
        return false;
    }
    if (render + options.bench + options.list + options.checkFlashes > 1) {
        error = "--render, --bench, --list and --check-flashes go one at a time";
        return false;
    }
    if (options.study && (render || options.bench || options.list || options.checkFlashes)) {
        error = "--study plays in the window: not with --render, --bench, --list or --check-flashes";
        return false;
    }
    if (options.checkFlashes && !options.checkFlashesPath.empty() &&
        (options.gentle || !options.script.empty() || options.start || options.portrait)) {
        error = "--check-flashes FOLDER reads frames already made: only --fps goes with it";
        return false;
    }
    if (options.end && !render && !options.bench && !options.checkFlashes) {
        error = "--end needs --render, --bench or --check-flashes";
        return false;
    }
    if (options.smallVideo && !(render && VideoOutput::isVideoPath(options.render))) {
        error = "--small needs --render to a video (.mp4, .mkv)";
        return false;
    }
    if (fpsGiven && !render && !options.bench && options.checkFlashesPath.empty()) {
        error = "--fps needs --render, --bench or --check-flashes FOLDER";
        return false;
    }
    return true;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, ShowOptions& options, std::string& error) {
    bool fpsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        ValueOption option(argc, argv, i);
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
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--bench") {
            options.bench = true;
        } else if (arg == "--study") {
            options.study = true;
        } else if (arg == "--small") {
            options.smallVideo = true;
        } else if (arg == "--gentle") {
            options.gentle = true;
        } else if (arg == "--check-flashes") {
            // The folder is optional: the next argument is it unless it is an option.
            options.checkFlashes = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') options.checkFlashesPath = argv[++i];
        } else if (option.is("--scale")) {
            if (!readNumber(option, "--scale", 1, kMaxScale, options.scale, error)) return false;
        } else if (option.is("--fps")) {
            if (!readNumber(option, "--fps", kMinRenderFps, kMaxRenderFps, options.fps, error)) return false;
            fpsGiven = true;
        } else if (option.is("--start")) {
            if (!readPosition(option, "--start", options.start, error)) return false;
        } else if (option.is("--end")) {
            if (!readPosition(option, "--end", options.end, error)) return false;
        } else if (option.is("--script")) {
            if (!readName(option, "--script", "a script file to play (--dump-script writes one to start from)",
                          options.script, error))
                return false;
        } else if (option.is("--cut")) {
            // A shell takes a word that starts with # for a comment: the hint says to quote it.
            if (!readName(option, "--cut", "a cut's link, in quotes: 'PAGE#cut=1.DATA' or its '#cut=1.DATA' part",
                          options.cut, error))
                return false;
        } else if (arg == "--share") {
            options.share = true;
        } else if (arg == "--dump-script") {
            // The file is optional: the next argument is it unless it is an option.
            options.dumpScript = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') options.dumpScriptPath = argv[++i];
        } else if (option.is("--dump-script")) {
            std::string_view value;
            option.take("--dump-script", value);
            options.dumpScript = true;
            options.dumpScriptPath = value;
        } else if (option.is("--render")) {
            if (!readName(option, "--render", "a video file (.mp4, .mkv) or a folder to write", options.render, error))
                return false;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    return checkCombination(options, fpsGiven, error);
}

std::string usageText() {
    return "Usage: zemra [options]\n"
           "Plays the Zemra show in a window with sound. Any key ends it.\n"
           "\n"
           "Warning: the show has flashing lights and fast-moving, high-contrast patterns,\n"
           "which can trigger seizures in people with photosensitive epilepsy. --gentle\n"
           "plays it with every flash held under the safety thresholds.\n"
           "\n"
           "  --fullscreen       fill the whole screen\n"
           "  --scale N          enlarge the picture N times (1 to 16): the window's starting\n"
           "                     size, or each pixel of a video (default 3)\n"
           "  --portrait         show the picture upright (240 x 320) instead of landscape\n"
           "  --mute             play without sound; no audio device is needed\n"
           "  --gentle           the gentle mode (also with --study, --render, --bench and\n"
           "                     --check-flashes): where the show would flash more than three\n"
           "                     times a second, the picture is softened and slowed until it\n"
           "                     does not; everywhere else it is unchanged\n"
           "  --start ORDER:ROW  start where the music reaches that order and row (also with\n"
           "                     --render and --bench). The script's earlier rows run first,\n"
           "                     each at its own time, so fades and ramps stand where they\n"
           "                     would; effects whose picture builds up frame by frame (the\n"
           "                     landscape's camera, the water, the pole's scroller) start\n"
           "                     from their fresh state\n"
           "  --render OUT       make the show into OUT without a window or sound device, frame\n"
           "                     by frame: OUT ending in .mp4 or .mkv is a video with sound\n"
           "                     (needs ffmpeg), anything else a new folder of numbered PNG\n"
           "                     frames with audio.wav. Ctrl-C stops it, keeping what is made\n"
           "  --small            with --render to a video: encode slowly for a smaller file\n"
           "                     (a third to a half smaller, about five times the time)\n"
           "  --end ORDER:ROW    end the render or benchmark there (--list shows the end)\n"
           "  --fps N            frames per second of the render or benchmark (1 to 240,\n"
           "                     default 60)\n"
           "  --list             print the timeline: each scene with its effect, start position\n"
           "                     and start time\n"
           "  --bench            render the whole show with no output and print how long each\n"
           "                     effect takes per frame and how much faster than real time\n"
           "                     the show renders\n"
           "  --study            study the show: Space pauses and resumes, . and , step one\n"
           "                     frame while paused, Left and Right jump between scenes, Up\n"
           "                     and Down by an order, PageUp and PageDown by 16 rows, Home\n"
           "                     to the start, a click on the timeline to that moment;\n"
           "                     Escape ends. A panel shows the position, the effect, its\n"
           "                     tracks and the script rows that ran\n"
           "  --dump-script [FILE]\n"
           "                     write the show's script as text to FILE (a new file), or to\n"
           "                     standard output: one row a line, ORDER:ROW TARGET COMMAND\n"
           "                     \"ARGUMENT\", ready to edit. With --script, that file's rows;\n"
           "                     with --cut, the link's script as it was shared\n"
           "  --script FILE      play, render, benchmark, list or study the show with the\n"
           "                     script of FILE instead of its own. The file is checked\n"
           "                     first: each problem is named as FILE:LINE and nothing\n"
           "                     starts. With --study, saving the file reloads it at once\n"
           "  --share            print the link of the show's script, or with --script or\n"
           "                     --cut of that one: #cut=1.DATA, to put after the web page's\n"
           "                     address (PAGE#cut=1.DATA). A cut whose link would pass 8000\n"
           "                     characters is refused: share its file instead\n"
           "  --cut LINK         play, render, benchmark, list or study the show with the\n"
           "                     script a cut's link carries, as --script does with a file:\n"
           "                     LINK is the whole address, its #cut=1.DATA part or 1.DATA,\n"
           "                     in quotes (a shell takes # for a comment). A link that\n"
           "                     cannot be read or whose script has a problem is\n"
           "                     explained, and nothing starts\n"
           "  --check-flashes [FOLDER]\n"
           "                     count the flashes of the show as the viewer sees it (made in\n"
           "                     memory at 60 frames a second, nothing written), or of a\n"
           "                     folder of PNG frames (at --fps), by the three-flashes rule\n"
           "                     for general and red flashes: each second that fails, with\n"
           "                     its scene and position, and a verdict. Exits 1 when it fails\n"
           "  --help             show this help\n"
           "  --version          show the version\n";
}

int usageError(std::ostream& err, const std::string& reason) {
    err << "zemra: " << reason << "\n\n" << usageText();
    return 2;
}
