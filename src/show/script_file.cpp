#include "show/script_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "show/script_check.h"
#include "platform/file_access.h"

bool loadScriptFile(const std::string& path, SongTimeline& timeline, ScriptTable& table, std::string& report) {
    std::error_code failure;
    const std::filesystem::path file = pathFromUtf8(path);
    if (std::filesystem::is_directory(file, failure)) {
        report = path + ": is a folder, not a script file\n";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        report = path + ": cannot be read" + (std::filesystem::exists(file, failure) ? "" : ": there is no such file") +
                 "\n";
        return false;
    }
    // One byte more than allowed tells a file that is too large, without
    // trusting a size the system reports (a pipe has none).
    std::string text(kMaxScriptBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        report = path + ": cannot be read\n";
        return false;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxScriptBytes) {
        report = path + ": is larger than " + std::to_string(kMaxScriptBytes >> 20) + " MB: no script is that long\n";
        return false;
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
