#include "show/script_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

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

std::string writeNewScriptFile(const std::string& path, const std::string& text) {
    std::error_code failure;
    const std::filesystem::path file = pathFromUtf8(path);
    if (std::filesystem::exists(file, failure)) return path + " exists already: give a new name, or remove it first";
    std::ofstream out(file, std::ios::binary);
    if (!out) return "cannot make " + path;
    out << text;
    out.close();
    if (!out) {
        std::filesystem::remove(file, failure);
        return "cannot write " + path + " (is the disk full?)";
    }
    return {};
}
