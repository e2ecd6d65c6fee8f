#include "show/cut_link.h"

#include <algorithm>
#include <cstdint>

#include "show/base64url.h"
#include "show/builtin_show.h"
#include "show/line_difference.h"
#include "show/raw_deflate.h"
#include "show/script_check.h"

namespace {

constexpr std::string_view kFragmentKey = "#cut=";
constexpr std::size_t kFingerprintBytes = 4;
// No link is read past this length: its data could not unpack within the
// limit (deflate packs at best about 1000 to 1).
constexpr std::size_t kMaxReadLength = 2 * kMaxCutBytes;

// The show's own script text, the base of every difference.
const std::string& baseText() {
    static const std::string text = scriptText(builtInShow().script);
    return text;
}

// FNV-1a 32 of the base, little-endian: names the base a link was made for.
std::string fingerprint() {
    std::uint32_t hash = 2166136261u;
    for (const char c : baseText()) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    std::string bytes;
    for (std::size_t i = 0; i < kFingerprintBytes; ++i) bytes += static_cast<char>((hash >> (8 * i)) & 0xFF);
    return bytes;
}

// The "VERSION.DATA" part of what was given, without the blanks or line
// end a pasted link may come with.
std::string_view linkData(std::string_view link) {
    constexpr std::string_view kBlanks = " \t\r\n";
    link.remove_prefix(std::min(link.find_first_not_of(kBlanks), link.size()));
    link.remove_suffix(link.size() - std::min(link.find_last_not_of(kBlanks) + 1, link.size()));
    if (const std::size_t at = link.find(kFragmentKey); at != std::string_view::npos)
        return link.substr(at + kFragmentKey.size());
    if (link.starts_with(kFragmentKey.substr(1))) return link.substr(kFragmentKey.size() - 1);
    return link;
}

}  // namespace

std::string cutLinkData(std::string_view scriptText) {
    const std::string packed = deflateRaw(fingerprint() + lineDifference(baseText(), scriptText), baseText());
    return std::to_string(kCutLinkVersion) + "." + encodeBase64url(packed);
}

std::string cutFragment(std::string_view scriptText) { return std::string(kFragmentKey) + cutLinkData(scriptText); }

std::string cutLinkAdvice(std::size_t length) {
    const std::string characters = "The link is " + std::to_string(length) + " characters long";
    if (length > kMaxLinkLength)
        return characters + ", too long to share as a link (over " + std::to_string(kMaxLinkLength) +
               "): share the script as a file instead.";
    if (length > kChatLinkLength)
        return characters + ": some chat programs cut messages over " + std::to_string(kChatLinkLength) +
               " characters; a file is safer there.";
    return {};
}

bool readCutLink(std::string_view link, std::string& scriptText, std::string& problem) {
    const std::string_view data = linkData(link);
    if (data.empty()) {
        problem = "The link holds no cut: nothing follows #cut=.";
        return false;
    }
    if (data.size() > kMaxReadLength) {
        problem = "The link is too long to be a cut (over " + std::to_string(kMaxReadLength) + " characters).";
        return false;
    }
    const std::size_t dot = data.find('.');
    const std::string_view version = data.substr(0, dot);
    if (dot == std::string_view::npos || version.empty() || version.size() > 6 ||
        version.find_first_not_of("0123456789") != std::string_view::npos) {
        problem = "The link is not a cut link: #cut= is followed by VERSION.DATA, such as 1.AbC-_x.";
        return false;
    }
    if (version != std::to_string(kCutLinkVersion)) {
        problem = "The link's cut is in format " + std::string(version) + ", and this Zemra reads format " +
                  std::to_string(kCutLinkVersion) + ": open it with the Zemra that made it.";
        return false;
    }
    if (dot + 1 == data.size()) {
        problem = "The link holds no cut: nothing follows its version.";
        return false;
    }
    std::string packed, unpacked;
    if (!decodeBase64url(data.substr(dot + 1), packed)) {
        problem = "The link is damaged: its data holds characters other than A-Z, a-z, 0-9, - and _, or is cut short.";
        return false;
    }
    switch (inflateRaw(packed, baseText(), kMaxCutBytes, unpacked)) {
    case Inflated::Whole: break;
    case Inflated::Cut: problem = "The link is cut short: copy the whole address."; return false;
    case Inflated::Damaged: problem = "The link is damaged: its data does not unpack."; return false;
    case Inflated::TooLarge:
        problem = "The link's cut unpacks to more than " + std::to_string(kMaxCutBytes >> 20) +
                  " MB, more than any script: it is refused.";
        return false;
    }
    const std::string_view content = unpacked;
    if (!content.starts_with(fingerprint())) {
        problem = "The link was made for another version of the show's script: open it with the Zemra that made it.";
        return false;
    }
    if (!applyLineDifference(baseText(), content.substr(kFingerprintBytes), scriptText)) {
        problem = "The link is damaged: its cut does not fit the show's script.";
        return false;
    }
    return true;
}

bool loadCutLink(std::string_view link, SongTimeline& timeline, ScriptTable& table, std::string& scriptText,
                 std::string& problem) {
    if (!readCutLink(link, scriptText, problem)) return false;
    ScriptProblems problems;
    table = ScriptTable();
    if (loadScriptText(scriptText, timeline, table, problems)) return true;
    const ScriptProblem& first = problems.list.front();
    const std::size_t others = problems.list.size() - 1 + problems.more;
    problem = "The link's script has a problem at line " + std::to_string(first.line) + ": " + first.message +
              (others > 0 ? " (and " + std::to_string(others) + " more)" : "") + ".";
    return false;
}
