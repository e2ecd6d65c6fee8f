// zemra-golden: renders the whole show offline and compares its frame and
// sound digests with the checked-in list, or with --refresh rewrites the
// list on purpose. Either way it names the scenes whose digests changed, so
// a change meant for one scene can be seen touching only that one.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "app/golden_frames.h"
#include "app/user_messages.h"
#include "show/builtin_show.h"
#include "show/script_file.h"

namespace {

constexpr const char* kUsage =
    "Usage: zemra-golden [--refresh] [--gentle] [--script SCRIPT] [FILE]\n"
    "Renders the whole show offline and compares its digests with FILE (default: the\n"
    "repository's " ZEMRA_GOLDEN_FILE ");\n"
    "--refresh writes them to FILE instead. Prints the scenes whose digests changed.\n"
    "--script plays the script file SCRIPT (as zemra --script does) instead of the\n"
    "show's own: a dumped script must match the list unchanged.\n"
    "--gentle records the gentle mode's show, against (or into) the repository's\n"
    ZEMRA_GENTLE_GOLDEN_FILE " unless FILE is given.\n";

bool readList(const std::string& path, ShowDigests& digests, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read '" + path + "'";
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    if (parseGoldenText(text, digests, error)) return true;
    error = path + ": " + error;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    bool refresh = false, gentle = false;
    std::string path;
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--refresh") {
            refresh = true;
        } else if (arg == "--gentle") {
            gentle = true;
        } else if (arg == "--script" && i + 1 < argc) {
            scriptPath = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (!arg.starts_with("-")) {
            path = arg;
        } else {
            std::cerr << "zemra-golden: unknown option '" << arg << "'\n\n" << kUsage;
            return 2;
        }
    }

    if (path.empty()) path = gentle ? ZEMRA_GENTLE_GOLDEN_FILE : ZEMRA_GOLDEN_FILE;
    ShowDigests before;
    std::string error;
    const bool hadList = readList(path, before, error);
    if (!hadList && !refresh) {
        std::cerr << "zemra-golden: " << error << '\n';
        return 1;
    }

    ScriptTable table;
    ShowDefinition show = builtInShow();
    show.gentle = gentle;
    if (!scriptPath.empty()) {
        SongTimeline timeline;
        std::string report;
        if (!timeline.loadModuleOf(*show.assets) || !loadScriptFile(scriptPath, timeline, table, report)) {
            std::cerr << (report.empty() ? "zemra-golden: Module not found.\n" : report);
            return 2;
        }
        show = show.withScript(table.rows());
    }

    UserMessages console(nullptr, std::cerr);
    ShowDigests after;
    if (!recordShow(show, after, console)) {
        std::cerr << "zemra-golden: the show failed; nothing compared or written\n";
        return 1;
    }
    const std::string changes = hadList ? describeChanges(before, after) : "every scene: no list before\n";
    if (refresh) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << goldenText(after);
        if (!file.flush()) {
            std::cerr << "zemra-golden: cannot write '" << path << "'\n";
            return 1;
        }
        std::cout << (changes.empty() ? "no digest changed; " : changes) << "wrote " << after.frames.size()
                  << " frames to '" << path << "'\n";
        return 0;
    }
    if (changes.empty()) {
        std::cout << "all " << after.frames.size() << " frames and the sound match '" << path << "'\n";
        return 0;
    }
    std::cout << changes;
    if (const FrameDigest* first = firstDifference(before, after))
        std::cout << "first differing frame: " << framePlace(*first) << '\n';
    return 1;
}
