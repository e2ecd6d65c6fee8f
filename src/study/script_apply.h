#pragma once
// Putting a new script in place of the one study mode plays, whoever
// brings it (the desktop's saved --script file, the page's editor): a
// script that passes the checks is played from the position shown, landing
// there exactly as a jump does, and the panel says "script reloaded" with
// the row count for a few seconds; one with problems changes nothing but
// the panel, which shows the first problem with its line until the next try.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/timeline.h"
#include "platform/clock.h"
#include "show/script_text.h"
#include "study/study_session.h"
#include "study/study_view.h"

class ScriptApply {
public:
    static constexpr uint32_t kReloadedNoteMs = 4000;

    ScriptApply(SongTimeline& timeline, Clock& clock);

    // Reads and checks `text`. Empty when it passed and plays; else the
    // problems, one a line ("NAME:LINE: message"), and the show as it was.
    std::string applyText(std::string_view text, const std::string& name, StudySession& session, StudyView& view);
    // Plays rows already checked from the position shown.
    void use(ScriptTable table, StudySession& session, StudyView& view);
    // Leaves the show as it was; the panel names the report's first line.
    void refuse(const std::string& report, StudyView& view);
    // Takes the "script reloaded" note away once its time is up. True when
    // the window must be drawn again.
    bool poll(StudyView& view);

    // How many times a script has replaced the one playing.
    int reloads() const { return reloads_; }
    // The rows playing since the last reload, with their lines (empty before one).
    const ScriptTable& playing() const { return playing_; }

private:
    SongTimeline& timeline_;
    Clock& clock_;
    ScriptTable playing_;
    uint32_t noteShownAt_ = 0;
    bool noteTimed_ = false;
    int reloads_ = 0;
};
