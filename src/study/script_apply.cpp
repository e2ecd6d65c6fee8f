#include "study/script_apply.h"

#include <utility>

#include "show/script_check.h"

ScriptApply::ScriptApply(SongTimeline& timeline, Clock& clock) : timeline_(timeline), clock_(clock) {}

std::string ScriptApply::applyText(std::string_view text, const std::string& name, StudySession& session,
                                   StudyView& view) {
    ScriptTable table;
    ScriptProblems problems;
    if (!loadScriptText(text, timeline_, table, problems)) {
        const std::string report = problemReport(name, problems);
        refuse(report, view);
        return report;
    }
    use(std::move(table), session, view);
    return {};
}

void ScriptApply::use(ScriptTable table, StudySession& session, StudyView& view) {
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

void ScriptApply::refuse(const std::string& report, StudyView& view) {
    noteTimed_ = false;
    view.setNote(report.substr(0, report.find('\n')), true);
}

bool ScriptApply::poll(StudyView& view) {
    if (!noteTimed_ || clock_.ticks() - noteShownAt_ < kReloadedNoteMs) return false;
    noteTimed_ = false;
    view.setNote("", false);
    return true;
}
