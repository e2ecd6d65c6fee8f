#include "desktop/study_show.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "show/builtin_show.h"
#include "app/user_messages.h"
#include "app/window_icon_picture.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_study_window.h"
#include "platform/file_access.h"
#include "platform/music/study_sound.h"
#include "platform/portable/polled_file_watch.h"
#include "study/script_reload.h"
#include "study/study_loop.h"

namespace {

class FollowingSound : public SoundFollower {
public:
    explicit FollowingSound(StudySound& sound) : sound_(sound) {}
    void playFrom(SongPosition from, double seconds, SongPosition near) override {
        sound_.playFrom(from, seconds, near);
    }
    void setPaused(bool paused) override { sound_.setPaused(paused); }

private:
    StudySound& sound_;
};

}  // namespace

int runStudyShow(const StudyOptions& options) {
    SongTimeline timeline;
    if (!timeline.loadModuleOf(*options.show.assets)) {
        std::cerr << "zemra: Module not found.\n";
        return 1;
    }
    const SurfaceLayout surface = surfaceLayout(options.orientation);
    StudyView view(timeline, options.show.script, surface.width, surface.height);
    view.setFlashingSeconds(options.show.flashingSeen());
    std::string error;
    std::unique_ptr<SdlStudyWindow> window =
        SdlStudyWindow::open(view.layout().width(), view.layout().height(), options.scale, options.fullscreen,
                             showWindowIcon(), error);
    if (!window) {
        std::cerr << "zemra: cannot open a window (is there a display?): " << error << '\n';
        return 1;
    }

    // Muted there is no sound to make: the wall clock paces the frames either way.
    SdlAudioOutput output;
    StudySound sound(output);
    bool withSound = false;
    if (!options.mute) {
        const std::vector<uint8_t> module = options.show.assets->loadMusicModule();
        withSound = !module.empty() && sound.open(module.data(), module.size());
        if (!withSound) std::cerr << "zemra: no sound device could be opened; studying the show without sound\n";
    }
    FollowingSound follower(sound);

    SdlClock clock;
    UserMessages messages(nullptr, std::cerr);
    FailureWatch failures(messages);
    StudySession session(options.show, timeline, options.orientation, clock, failures,
                         withSound ? &follower : nullptr);
    if (!session.jumpTo(options.start) && failures.failed) return 1;
    if (options.scriptPath.empty()) {
        runStudyLoop(session, view, *window);
        return 0;
    }
    PolledFileWatch watch(pathFromUtf8(options.scriptPath));
    ScriptReload reload(options.scriptPath, timeline, watch, clock);
    runStudyLoop(session, view, *window, [&] { return reload.poll(session, view); });
    return 0;
}
