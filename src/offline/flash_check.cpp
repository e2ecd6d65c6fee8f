#include "offline/flash_check.h"

#include "app/user_messages.h"
#include "offline/png_frame_folder.h"
#include "safety/flash_analyser.h"

bool checkShowFlashes(const OfflineSettings& settings, SongTimeline& timeline, FlashReport& report,
                      std::vector<std::string>& labels, std::ostream& err) {
    const std::vector<Scene> scenes = showScenes(timeline, settings.show.script);
    UserMessages console(nullptr, err);
    FailureWatch messages(console);
    OfflineShow show(settings, messages);
    FlashAnalyser analyser(settings.fps);
    bool made = show.start();
    while (made && show.nextFrame()) {
        show.dropAudio();
        const PictureSurface& picture = show.picture();
        analyser.addRgb565(picture.pixels(), picture.width(), picture.height());
        // Each second is named by its first frame: the scene and where the music is.
        if ((show.framesMade() - 1) % settings.fps == 0) {
            const int32_t ms = show.frameTime();
            std::string scene = "(none)";
            for (const Scene& s : scenes)
                if (s.startMs <= ms) scene = s.effect;
            labels.push_back(formatTime(ms) + " " + formatSongPosition(show.musicPosition()) + " " + scene);
        }
    }
    show.finish();
    report = analyser.finish();
    return made && !messages.failed;
}

int runShowFlashCheck(const OfflineSettings& settings, SongTimeline& timeline, std::ostream& out, std::ostream& err) {
    FlashReport report;
    std::vector<std::string> labels;
    if (!checkShowFlashes(settings, timeline, report, labels, err)) {
        err << "zemra: the show could not be made to the end; nothing checked\n";
        return 1;
    }
    out << (settings.show.gentle ? "The gentle show" : "The show") << ", as the viewer sees it:\n";
    writeFlashReport(out, report, [&labels](long second) {
        return second < static_cast<long>(labels.size()) ? labels[second] : std::string();
    });
    return report.passes() ? 0 : 1;
}

int runFolderFlashCheck(const std::string& folder, int fps, std::ostream& out, std::ostream& err) {
    FlashReport report;
    std::string error;
    if (!checkFrameFolder(folder, fps, report, error)) {
        err << "zemra: " << error << '\n';
        return 2;
    }
    out << "The frames of '" << folder << "' at " << fps << " a second:\n";
    writeFlashReport(out, report);
    return report.passes() ? 0 : 1;
}
