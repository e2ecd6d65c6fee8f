#include "show/script_file.h"

#include <string_view>

#include "show/script_check.h"
#include "platform/file_access.h"

namespace {

// A UTF-16 byte-order mark, or two ASCII characters each with a zero byte
// beside it (UTF-16 without the mark).
bool isUtf16(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return true;
    if (text.size() < 4) return false;
    const auto ascii = [](char c) { return c > 0 && static_cast<unsigned char>(c) < 0x80; };
    return (ascii(text[0]) && text[1] == '\0' && ascii(text[2]) && text[3] == '\0') ||
           (text[0] == '\0' && ascii(text[1]) && text[2] == '\0' && ascii(text[3]));
}

}  // namespace

bool loadScriptFile(const std::string& path, SongTimeline& timeline, ScriptTable& table, std::string& report,
                    std::string* textRead) {
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
    case FileRead::Failed: report = path + ": cannot be read: " + reason + "\n"; return false;
    }
    // Some editors put a byte-order mark before UTF-8 text, and save as
    // UTF-16 on request.
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    if (isUtf16(text)) {
        report = path + ": is UTF-16 text: save it as UTF-8 (a script is plain text)\n";
        return false;
    }
    ScriptProblems problems;
    table = ScriptTable();
    if (loadScriptText(text, timeline, table, problems)) {
        if (textRead) *textRead = std::move(text);
        return true;
    }
    report = problemReport(path, problems);
    return false;
}

std::string writeNewScriptFile(const std::string& path, const std::string& text, bool& taken) {
    const std::string reason = writeNewFile(path, text, taken);
    if (reason.empty()) return {};
    if (taken) return path + " exists already: give a new name, or remove it first";
    return "cannot write " + path + ": " + reason;
}
