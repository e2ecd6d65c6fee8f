#include "show/script_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// A quoted text in a message is cut after this many characters: a line of
// a megabyte must still give a message of one line.
constexpr std::size_t kQuotedLimit = 40;

constexpr const char* kFormatHint = "a row is ORDER:ROW TARGET COMMAND \"ARGUMENT\"";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool isPrintable(char c) { return c >= 0x20 && c < 0x7F; }

// The first byte that is not printable ASCII, or npos.
std::size_t firstUnprintable(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!isPrintable(text[i])) return i;
    return std::string_view::npos;
}

std::string hexByte(char c) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    return text;
}

// Walks one line field by field; '#' outside the argument's quotes ends it.
class LineFields {
public:
    explicit LineFields(std::string_view line) : line_(line) {}

    // Nothing but blanks and a comment is left.
    bool atEnd() {
        while (at_ < line_.size() && isBlank(line_[at_])) ++at_;
        return at_ == line_.size() || line_[at_] == '#';
    }
    // The next run of characters up to a blank or '#'; empty at the end.
    std::string_view word() {
        if (atEnd()) return {};
        const std::size_t from = at_;
        while (at_ < line_.size() && !isBlank(line_[at_]) && line_[at_] != '#') ++at_;
        return line_.substr(from, at_ - from);
    }
    bool atQuote() { return !atEnd() && line_[at_] == '"'; }
    // At a quote: the text up to the next quote, which is passed. False when
    // there is none.
    bool quoted(std::string_view& text) {
        const std::size_t close = line_.find('"', at_ + 1);
        if (close == std::string_view::npos) return false;
        text = line_.substr(at_ + 1, close - at_ - 1);
        at_ = close + 1;
        quoted_ = true;
        return true;
    }
    // The argument was read in quotes.
    bool quotedArgument() const { return quoted_; }

private:
    std::string_view line_;
    std::size_t at_ = 0;
    bool quoted_ = false;
};

// One line; false with a problem when it is neither a row nor empty.
bool readLine(std::string_view line, int number, ScriptTable& table, ScriptProblems& problems) {
    LineFields fields(line);
    if (fields.atEnd()) return true;
    const std::string_view positionText = fields.word();
    SongPosition position;
    if (!parseSongPosition(positionText, position)) {
        problems.add(number, quoteForMessage(positionText) + " is not a music position ORDER:ROW such as 5:0; " +
                                 kFormatHint);
        return false;
    }
    const std::string_view target = fields.word();
    const std::string_view command = fields.word();
    if (command.empty()) {
        problems.add(number, "the row at " + formatSongPosition(position) + " names no " +
                                 (target.empty() ? "target and command" : "command") + "; " + kFormatHint);
        return false;
    }
    std::optional<std::string_view> argument;
    if (fields.atQuote()) {
        std::string_view text;
        if (!fields.quoted(text)) {
            problems.add(number, "the argument has no closing quote");
            return false;
        }
        argument = text;
    } else if (!fields.atEnd()) {
        argument = fields.word();
    }
    if (!fields.atEnd()) {
        problems.add(number, "more than one argument: " + quoteForMessage(fields.word()) +
                                 " follows it (an argument with blanks goes in double quotes)");
        return false;
    }
    for (const std::string_view field : {target, command, argument.value_or(std::string_view())}) {
        if (const std::size_t bad = firstUnprintable(field); bad != std::string_view::npos) {
            problems.add(number, "byte " + hexByte(field[bad]) +
                                     " in a row: rows are printable ASCII text (only comments may hold other characters)");
            return false;
        }
    }
    // A quote can only open and close the argument.
    for (const std::string_view field : {target, command})
        if (field.find('"') != std::string_view::npos) {
            problems.add(number, "a quote in " + quoteForMessage(field) + ": only the argument goes in quotes");
            return false;
        }
    if (argument && !fields.quotedArgument() && argument->find('"') != std::string_view::npos) {
        problems.add(number, "a quote inside the argument " + quoteForMessage(*argument) +
                                 ": an argument in quotes ends at the next one");
        return false;
    }
    table.add(position, target, command, argument, number);
    return true;
}

}  // namespace

void ScriptProblems::add(int line, std::string message) {
    if (list.size() < kMax)
        list.push_back({line, std::move(message)});
    else
        ++more;
}

void ScriptTable::add(SongPosition position, std::string_view target, std::string_view command,
                      std::optional<std::string_view> argument, int line) {
    rows_.push_back({position.order, position.row, keep(target), keep(command), argument ? keep(*argument) : nullptr});
    lines_.push_back(line);
}

const char* ScriptTable::keep(std::string_view text) {
    auto it = texts_.find(text);
    if (it == texts_.end()) it = texts_.emplace(text).first;
    return it->c_str();
}

bool readScriptText(std::string_view text, ScriptTable& table, ScriptProblems& problems) {
    int number = 0;
    bool clean = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        clean = readLine(line, ++number, table, problems) && clean;
    }
    table.lineCount = number;
    return clean;
}

std::string scriptText(std::span<const ScriptEntry> script) {
    std::string text =
        "# Zemra's script: each row runs when the music reaches its position ORDER:ROW.\n"
        "#   ORDER:ROW  TARGET  COMMAND  \"ARGUMENT\"\n"
        "# Rows stand in the order the music plays them; rows at one position run in\n"
        "# the order written. The last row is \"demosys stop\". Targets and commands:\n"
        "#   demosys  init, deinit, seteffect EFFECT; stop (no argument)\n"
        "#   blitter  setmode normal|inverse|mul|motionblur; setparam for the track control\n"
        "#   EFFECT   setparam for one of its tracks\n"
        "# A parameter string: param=TRACK mode=constant|linear|smooth|fast|slow|sin|cos\n"
        "#   loopmode=continue|stop|loop|pingpong length=MS value0=N value1=N\n"
        "# '#' starts a comment; blank lines are ignored.\n";
    std::size_t positionWidth = 0, targetWidth = 0, commandWidth = 0;
    for (const ScriptEntry& entry : script) {
        positionWidth = std::max(positionWidth, formatSongPosition(entry.position()).size());
        targetWidth = std::max(targetWidth, std::strlen(entry.target));
        commandWidth = std::max(commandWidth, std::strlen(entry.command));
    }
    const auto column = [&text](std::string_view field, std::size_t width) {
        text += field;
        text.append(width + 2 - field.size(), ' ');
    };
    int order = -1;
    for (const ScriptEntry& entry : script) {
        if (entry.order != order) text += '\n';
        order = entry.order;
        column(formatSongPosition(entry.position()), positionWidth);
        column(entry.target, targetWidth);
        if (!entry.argument) {
            text += entry.command;
        } else {
            column(entry.command, commandWidth);
            text += '"';
            text += entry.argument;
            text += '"';
        }
        text += '\n';
    }
    return text;
}

std::string quoteForMessage(std::string_view text) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == kQuotedLimit) {
            quoted += "...";
            break;
        }
        if (isPrintable(text[i]))
            quoted += text[i];
        else
            quoted += "\\x" + hexByte(text[i]).substr(2);
    }
    return quoted + "\"";
}
