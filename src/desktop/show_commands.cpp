#include "desktop/show_commands.h"

#include "desktop/desktop_show.h"
#include "offline/flash_check.h"
#include "offline/offline_render.h"
#include "offline/show_bench.h"
#include "offline/video_output.h"
#include "platform/file_access.h"
#include "show/cut_link.h"
#include "show/builtin_show.h"
#include "show/script_file.h"
#include "desktop/study_show.h"

namespace {

int runOffline(const ShowOptions& options, const ShowRange& range, const ShowDefinition& show,
               SongTimeline& timeline, std::ostream& out, std::ostream& err) {
    OfflineSettings settings(show);
    settings.orientation = options.portrait ? Orientation::Portrait : Orientation::Landscape;
    settings.fps = options.fps;
    settings.start = range.start;
    settings.endMs = range.endMs;
    if (options.bench) return runBench(settings, out, err);
    if (options.checkFlashes) return runShowFlashCheck(settings, timeline, out, err);

    std::string reason;
    if (!checkRenderTarget(options.render, reason)) return usageError(err, reason);
    if (VideoOutput::isVideoPath(options.render) && !programOnPath(kFfmpeg)) {
        err << "zemra: " << ffmpegMissing() << '\n';
        return 1;
    }
    RenderJob job{options.render, options.scale > 0 ? options.scale : kDefaultVideoScale, settings};
    job.smallVideo = options.smallVideo;
    return renderShow(job, err, errorOutputIsTerminal());
}

// --dump-script: the script's text, to the file named or standard output.
int dumpScript(const ShowOptions& options, const std::string& text, std::ostream& out, std::ostream& err) {
    if (options.dumpScriptPath.empty()) {
        out << text;
        return 0;
    }
    bool taken = false;
    const std::string failure = writeNewScriptFile(options.dumpScriptPath, text, taken);
    if (failure.empty()) return 0;
    // A name in use is the command line's fault, like any other usage error.
    err << "zemra: " << failure << '\n';
    return taken ? 2 : 1;
}

// --share: the script's link, unless it is too long to share.
int shareScript(const std::string& text, std::ostream& out, std::ostream& err) {
    const std::string fragment = cutFragment(text);
    const std::string advice = cutLinkAdvice(kPageAddressRoom + fragment.size());
    if (fragment.size() + kPageAddressRoom > kMaxLinkLength) {
        err << "zemra: " << advice << '\n';
        return 1;
    }
    out << fragment << '\n';
    if (!advice.empty()) err << "zemra: " << advice << '\n';
    return 0;
}

// The script of --script or --cut, checked: its rows in table, its text in
// text. False when it cannot be read or has problems, which are on err.
bool loadOtherScript(const ShowOptions& options, SongTimeline& timeline, ScriptTable& table, std::string& text,
                     std::ostream& err) {
    if (!options.script.empty()) {
        std::string report;
        if (loadScriptFile(options.script, timeline, table, report, &text)) return true;
        err << report;
        return false;
    }
    std::string problem;
    if (loadCutLink(options.cut, timeline, table, text, problem)) return true;
    err << "zemra: " << problem << '\n';
    return false;
}

}  // namespace

bool resolveRange(const ShowOptions& options, SongTimeline& timeline, std::span<const ScriptEntry> script,
                  ShowRange& range, std::string& reason) {
    range = {};
    range.endMs = timeline.lengthMs();
    if (options.start) {
        reason = outsideSong("--start", *options.start, timeline, false);
        if (!reason.empty()) return false;
        range.start = planStart(timeline, script, *options.start);
    }
    if (options.end) {
        reason = outsideSong("--end", *options.end, timeline, true);
        if (!reason.empty()) return false;
        if (*options.end <= range.start.position) {
            reason = "--end " + formatSongPosition(*options.end) + " does not come after the start " +
                     formatSongPosition(range.start.position);
            return false;
        }
        range.endMs = timeline.timeAt(*options.end);
    }
    return true;
}

int runShowCommand(const ShowOptions& options, std::ostream& out, std::ostream& err) {
    if (options.checkFlashes && !options.checkFlashesPath.empty())
        return runFolderFlashCheck(options.checkFlashesPath, options.fps, out, err);
    const bool offline = options.list || options.bench || options.checkFlashes || !options.render.empty();
    const bool ownScript = options.script.empty() && options.cut.empty();
    ShowDefinition show = builtInShow();
    show.gentle = options.gentle;
    if (options.dumpScript && ownScript) return dumpScript(options, scriptText(show.script), out, err);
    if (options.share && ownScript) return shareScript(scriptText(show.script), out, err);
    if (!offline && !options.start && !options.study && ownScript) return runDesktopShow(options, showStart(), show);

    SongTimeline timeline;
    if (!timeline.loadModuleOf(*show.assets)) {
        err << "zemra: Module not found.\n";
        return 1;
    }
    ScriptTable table;
    std::string text;
    if (!ownScript) {
        if (!loadOtherScript(options, timeline, table, text, err)) return 2;
        show = show.withScript(table.rows());
    }
    const std::span<const ScriptEntry> script = show.script;
    // A file's rows are written anew (as they always were); a link's text
    // comes out as it went in.
    if (options.dumpScript) return dumpScript(options, options.cut.empty() ? scriptText(script) : text, out, err);
    if (options.share) return shareScript(text, out, err);
    if (options.list) {
        out << timelineText(timeline, script);
        return 0;
    }
    ShowRange range;
    std::string reason;
    if (!resolveRange(options, timeline, script, range, reason)) return usageError(err, reason);
    if (options.study) {
        StudyOptions study;
        study.orientation = options.portrait ? Orientation::Portrait : Orientation::Landscape;
        study.fullscreen = options.fullscreen;
        study.scale = options.scale;
        study.mute = options.mute;
        study.start = range.start.position;
        study.show = show;
        study.scriptPath = options.script;
        return runStudyShow(study);
    }
    if (!offline) return runDesktopShow(options, range.start, show);
    return runOffline(options, range, show, timeline, out, err);
}
