#include "show/script_check.h"

#include <algorithm>
#include <limits>
#include <map>
#include <vector>

#include "anim/param_track.h"
#include "app/seek.h"
#include "show/catalogue.h"
#include "present/blitter.h"

namespace {

constexpr std::string_view kDemoTarget = "demosys", kBlitterTarget = "blitter";
// The commands the show itself answers (DemoSystem::handleCommand); all but
// "stop" take an effect name.
constexpr const char* kDemoCommands[] = {"init", "deinit", "seteffect", "stop"};
constexpr const char* kParamKeys[] = {"param", "mode", "loopmode", "length", "value0", "value1"};

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
    return text;
}

template <typename Words>
std::vector<std::string> wordList(const Words& words) {
    return std::vector<std::string>(std::begin(words), std::end(words));
}

// Every target's tracks by name, the effects in the show's registry order.
struct Vocabulary {
    std::vector<std::string> effects;
    std::map<std::string, std::vector<std::string>, std::less<>> tracks;

    Vocabulary() {
        for (const EffectMaker& maker : effectCatalogue()) {
            effects.push_back(maker.name);
            std::vector<std::string>& names = tracks[maker.name];
            for (const NamedTrack& track : maker.create()->tracks()) names.emplace_back(track.name);
        }
        tracks[std::string(kBlitterTarget)] = {kBlitterTrack};
    }
    bool isEffect(std::string_view name) const {
        for (const std::string& effect : effects)
            if (effect == name) return true;
        return false;
    }
};

const Vocabulary& vocabulary() {
    static const Vocabulary words;
    return words;
}

// Why a number of a parameter string is not one (empty when it is): an
// optional sign and digits that fit 32 bits; a comma may follow, as two rows
// of the show's own script have it.
std::string numberProblem(std::string_view key, std::string_view text) {
    std::string_view digits = text;
    if (digits.ends_with(',')) digits.remove_suffix(1);
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+')) digits.remove_prefix(1);
    const bool allDigits = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    if (!allDigits) return std::string(key) + " " + quoteForMessage(text) + " is not a whole number";
    const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    const std::string_view significant = digits.substr(first);
    const std::string_view limit = negative ? "2147483648" : "2147483647";
    if (significant.size() > limit.size() || (significant.size() == limit.size() && significant > limit))
        return std::string(key) + " " + quoteForMessage(text) + " does not fit in 32 bits (-2147483648 to 2147483647)";
    return {};
}

template <typename NameOf>
bool isWord(const std::string& text, NameOf nameOf, int count) {
    for (int code = 0; code < count; ++code)
        if (text == nameOf(code)) return true;
    return false;
}

template <typename NameOf>
std::vector<std::string> words(NameOf nameOf, int count) {
    std::vector<std::string> list;
    for (int code = 0; code < count; ++code) list.emplace_back(nameOf(code));
    return list;
}

// Why a "setparam" argument is no parameter string for one of target's
// tracks (empty when it is). Tokens are split as parseParamString splits
// them; what it would silently ignore is a problem here.
std::string paramProblem(std::string_view target, const char* argument) {
    if (!argument) return "setparam needs a parameter string, such as \"param=TRACK mode=linear length=800 value0=0 value1=256\"";
    std::string_view text = argument;
    const auto trim = [](std::string_view s) {
        constexpr std::string_view blanks = " \t\r\n\v\f";
        const std::size_t from = s.find_first_not_of(blanks);
        if (from == std::string_view::npos) return std::string_view();
        return s.substr(from, s.find_last_not_of(blanks) - from + 1);
    };
    text = trim(text);
    for (std::size_t p = 0; p < text.size();) {
        const std::size_t s = std::min(text.find(' ', p), text.size());
        const std::string_view token = trim(text.substr(p, s - p));
        p = s + 1;
        if (token.empty()) continue;
        const std::size_t eq = token.find('=');
        if (eq == std::string_view::npos)
            return quoteForMessage(token) + " is not KEY=VALUE (no blanks around the =)";
        const std::string_view key = token.substr(0, eq), value = token.substr(eq + 1);
        bool known = false;
        for (const char* name : kParamKeys) known = known || key == name;
        if (!known) return "unknown key " + quoteForMessage(key) + " (the keys: " + joined(wordList(kParamKeys)) + ")";
        if (key == "mode" && !isWord(std::string(value), trackModeName, ParamTrack::kCos + 1))
            return "mode " + quoteForMessage(value) + " is none of " + joined(words(trackModeName, ParamTrack::kCos + 1));
        if (key == "loopmode" && !isWord(std::string(value), trackLoopModeName, ParamTrack::kPingPong + 1))
            return "loopmode " + quoteForMessage(value) + " is none of " +
                   joined(words(trackLoopModeName, ParamTrack::kPingPong + 1));
        if (key == "length" || key == "value0" || key == "value1")
            if (std::string problem = numberProblem(key, value); !problem.empty()) return problem;
    }
    const std::string track = parseParamString(argument).param;
    if (track.empty()) return "the parameter string names no track (param=TRACK)";
    const std::vector<std::string>& tracks = vocabulary().tracks.find(target)->second;
    for (const std::string& name : tracks)
        if (name == track) return {};
    return std::string(target) + " has no track " + quoteForMessage(track) +
           (tracks.empty() ? " (it has no tracks)" : " (its tracks: " + joined(tracks) + ")");
}

std::string effectProblem(const ScriptEntry& entry) {
    if (!entry.argument) return std::string(entry.command) + " needs an effect name";
    if (vocabulary().isEffect(entry.argument)) return {};
    return quoteForMessage(entry.argument) + " is not an effect (the effects: " + joined(vocabulary().effects) + ")";
}

// Why the row's target, command or argument is none the show has (empty
// when they are).
std::string vocabularyProblem(const ScriptEntry& entry) {
    const std::string_view target = entry.target, command = entry.command;
    const auto notTaken = [&](const std::vector<std::string>& commands) {
        return std::string(target) + " does not take the command " + quoteForMessage(command) + " (it takes " +
               joined(commands) + ")";
    };
    if (target == kDemoTarget) {
        if (command == "stop") return entry.argument ? "stop takes no argument" : "";
        for (const char* name : kDemoCommands)
            if (command == name) return effectProblem(entry);
        return notTaken(wordList(kDemoCommands));
    }
    if (target == kBlitterTarget) {
        if (command == "setparam") return paramProblem(target, entry.argument);
        if (command != "setmode") return notTaken({"setmode", "setparam"});
        for (const char* mode : kBlitModeWords)
            if (entry.argument && std::string_view(entry.argument) == mode) return {};
        return "setmode needs one of " + joined(wordList(kBlitModeWords)) +
               (entry.argument ? ", not " + quoteForMessage(entry.argument) : "");
    }
    if (vocabulary().isEffect(target)) {
        if (command == "setparam") return paramProblem(target, entry.argument);
        return notTaken({"setparam"});
    }
    return "there is no target " + quoteForMessage(target) + " (the targets: demosys, blitter and the effects " +
           joined(vocabulary().effects) + ")";
}

bool isStop(const ScriptEntry& entry) {
    return std::string_view(entry.target) == kDemoTarget && std::string_view(entry.command) == "stop";
}

}  // namespace

void checkScript(const ScriptTable& table, SongTimeline& timeline, ScriptProblems& problems) {
    const std::span<const ScriptEntry> rows = table.rows();
    int stopLine = 0;  // the first "stop" row's line, once there is one
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ScriptEntry& entry = rows[i];
        const int line = table.lineOf(i);
        if (std::string problem = outsideSong("position", entry.position(), timeline, true); !problem.empty())
            problems.add(line, problem);
        else if (i > 0 && entry.position() < rows[i - 1].position())
            problems.add(line, "position " + formatSongPosition(entry.position()) + " comes before " +
                                   formatSongPosition(rows[i - 1].position()) +
                                   " of the row above: rows stand in the order the music plays them");
        if (std::string problem = vocabularyProblem(entry); !problem.empty()) problems.add(line, problem);
        if (stopLine > 0 && table.lineOf(i - 1) == stopLine)
            problems.add(line, "the rows after the \"stop\" row of line " + std::to_string(stopLine) + " never run");
        if (stopLine == 0 && isStop(entry)) stopLine = line;
    }
    if (rows.empty() || !isStop(rows.back()))
        problems.add(std::max(table.lineCount, 1),
                     "the script does not end with the \"stop\" row (such as 35:0 demosys stop)");
}

bool loadScriptText(std::string_view text, SongTimeline& timeline, ScriptTable& table, ScriptProblems& problems) {
    readScriptText(text, table, problems);
    checkScript(table, timeline, problems);
    return problems.empty();
}

std::string problemReport(const std::string& name, const ScriptProblems& problems) {
    std::string report;
    for (const ScriptProblem& problem : problems.list)
        report += name + ":" + std::to_string(problem.line) + ": " + problem.message + "\n";
    if (problems.more > 0) report += name + ": and " + std::to_string(problems.more) + " more problems\n";
    return report;
}
