#include "study/script_reload.h"

#include <utility>

#include "show/script_file.h"

ScriptReload::ScriptReload(std::string path, SongTimeline& timeline, FileWatch& watch, Clock& clock)
    : path_(std::move(path)), timeline_(timeline), watch_(watch), clock_(clock) {}

bool ScriptReload::poll(StudySession& session, StudyView& view) {
    if (watch_.changed()) {
        reload(session, view);
        return true;
    }
    if (noteTimed_ && clock_.ticks() - noteShownAt_ >= kReloadedNoteMs) {
        noteTimed_ = false;
        view.setNote("", false);
        return true;
    }
    return false;
}

void ScriptReload::reload(StudySession& session, StudyView& view) {
    ScriptTable table;
    std::string report;
    noteTimed_ = false;
    if (!loadScriptFile(path_, timeline_, table, report)) {
        view.setNote(report.substr(0, report.find('\n')), true);
        return;
    }
    // The frame shown is at or after this position: the show lands on it as
    // a jump there would.
    SongPosition at = session.position();
    if (!timeline_.contains(at)) at = session.jumpPosition();
    session.useScript(table.rows());
    view.useScript(timeline_, table.rows());
    session.jumpTo(at);
    // The old rows are no longer used: the jump made the show anew.
    playing_ = std::move(table);
    ++reloads_;
    view.setNote("script reloaded: " + std::to_string(playing_.size()) + " rows", false);
    noteShownAt_ = clock_.ticks();
    noteTimed_ = true;
}
