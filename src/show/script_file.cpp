#include "show/script_file.h"

#include "show/script_check.h"
#include "platform/file_access.h"

bool loadScriptFile(const std::string& path, SongTimeline& timeline, ScriptTable& table, std::string& report) {
    std::string text, reason;
    switch (readRegularFile(path, kMaxScriptBytes, text, reason)) {
    case FileRead::Read: break;
    case FileRead::Missing: report = path + ": cannot be read: there is no such file\n"; return false;
    case FileRead::Folder: report = path + ": is a folder, not a script file\n"; return false;
    case FileRead::NotRegular:
        report = path + ": is not a regular file (a pipe or a device, say): a script is read from a file\n";
        return false;
    case FileRead::TooLarge:
        report = path + ": is larger than " + std::to_string(kMaxScriptBytes >> 20) + " MB: no script is that long\n";
        return false;
    case FileRead::Failed: report = path + ": cannot be read\n"; return false;
    }
    ScriptProblems problems;
    table = ScriptTable();
    if (loadScriptText(text, timeline, table, problems)) return true;
    report = problemReport(path, problems);
    return false;
}

std::string writeNewScriptFile(const std::string& path, const std::string& text, bool& taken) {
    const std::string reason = writeNewFile(path, text, taken);
    if (reason.empty()) return {};
    if (taken) return path + " exists already: give a new name, or remove it first";
    return "cannot write " + path + ": " + reason;
}
