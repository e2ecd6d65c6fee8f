#pragma once
// Study mode playing a script file: after each save the file is read and
// checked again. A script that passes replaces the one playing: the show is
// made anew and lands on the position shown exactly as a jump there does,
// and the panel says "script reloaded" with the row count for a few
// seconds. One with problems changes nothing but the panel, which shows the
// first problem with its line until the next save.

#include <cstdint>
#include <string>

#include "app/timeline.h"
#include "show/script_text.h"
#include "platform/clock.h"
#include "platform/file_watch.h"
#include "study/study_session.h"
#include "study/study_view.h"

class ScriptReload {
public:
    static constexpr uint32_t kReloadedNoteMs = 4000;

    // The session and the view play the script read from path already; the
    // watch tells when the file changes.
    ScriptReload(std::string path, SongTimeline& timeline, FileWatch& watch, Clock& clock);

    // Reads the file again when it has changed. True when the window must
    // be drawn again.
    bool poll(StudySession& session, StudyView& view);
    // Reads the file and, when it passes, plays it from the position shown.
    void reload(StudySession& session, StudyView& view);

    // How many times a script has replaced the one playing.
    int reloads() const { return reloads_; }

private:
    std::string path_;
    SongTimeline& timeline_;
    FileWatch& watch_;
    Clock& clock_;
    ScriptTable playing_;  // the script playing once a reload has replaced the first
    uint32_t noteShownAt_ = 0;
    bool noteTimed_ = false;
    int reloads_ = 0;
};
