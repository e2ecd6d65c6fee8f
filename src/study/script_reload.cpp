#include "study/script_reload.h"

#include <utility>

#include "show/script_file.h"

ScriptReload::ScriptReload(std::string path, SongTimeline& timeline, FileWatch& watch, Clock& clock)
    : path_(std::move(path)), timeline_(timeline), watch_(watch), apply_(timeline, clock) {}

bool ScriptReload::poll(StudySession& session, StudyView& view) {
    if (watch_.changed()) {
        reload(session, view);
        return true;
    }
    return apply_.poll(view);
}

// The file is read here rather than handed over as text: its own checks
// (a regular file, its size, UTF-8) come first and name the file.
void ScriptReload::reload(StudySession& session, StudyView& view) {
    ScriptTable table;
    std::string report;
    if (!loadScriptFile(path_, timeline_, table, report)) {
        apply_.refuse(report, view);
        return;
    }
    apply_.use(std::move(table), session, view);
}
