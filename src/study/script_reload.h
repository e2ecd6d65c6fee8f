#pragma once
// Study mode playing a script file: after each save the file is read and
// checked again, and put in place of the script playing (script_apply.h:
// a script with problems changes nothing but the panel).

#include <cstdint>
#include <string>

#include "app/timeline.h"
#include "platform/clock.h"
#include "platform/file_watch.h"
#include "study/script_apply.h"
#include "study/study_session.h"
#include "study/study_view.h"

class ScriptReload {
public:
    static constexpr uint32_t kReloadedNoteMs = ScriptApply::kReloadedNoteMs;

    // The session and the view play the script read from path already; the
    // watch tells when the file changes.
    ScriptReload(std::string path, SongTimeline& timeline, FileWatch& watch, Clock& clock);

    // Reads the file again when it has changed. True when the window must
    // be drawn again.
    bool poll(StudySession& session, StudyView& view);
    // Reads the file and, when it passes, plays it from the position shown.
    void reload(StudySession& session, StudyView& view);

    // How many times a script has replaced the one playing.
    int reloads() const { return apply_.reloads(); }

private:
    std::string path_;
    SongTimeline& timeline_;
    FileWatch& watch_;
    ScriptApply apply_;
};
