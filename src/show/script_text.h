#pragma once
// The script as a text a person edits, one row a line:
//
//   ORDER:ROW  TARGET  COMMAND  "ARGUMENT"
//   5:0        blitter setparam "param=control mode=linear loopmode=stop length=800 value0=1024 value1=256"
//   35:0       demosys stop
//
// Fields are separated by blanks. The argument stands in double quotes
// (a single word may go without them) and holds any printable ASCII but
// the quote itself; a row without one (the "stop" row) has a null
// argument, and "" is an empty one. '#' outside the quotes starts a comment
// to the end of the line; blank lines are ignored. Reading only takes the
// text apart: whether the rows make a show is checked elsewhere.

#include <cstddef>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script_entry.h"

// Something wrong in a script, at a line of its text (from 1).
struct ScriptProblem {
    int line = 0;
    std::string message;
};

// The problems found, the first kMax of them kept and the rest counted: a
// file of junk gives a readable report, not one line per byte.
struct ScriptProblems {
    static constexpr std::size_t kMax = 50;
    std::vector<ScriptProblem> list;
    std::size_t more = 0;

    void add(int line, std::string message);
    bool empty() const { return list.empty(); }
};

// Script rows that own their strings: the rows' pointers stay valid as long
// as the table lives, moves included.
class ScriptTable {
public:
    ScriptTable() = default;
    ScriptTable(ScriptTable&&) = default;
    ScriptTable& operator=(ScriptTable&&) = default;
    ScriptTable(const ScriptTable&) = delete;
    ScriptTable& operator=(const ScriptTable&) = delete;

    // Adds a row read at `line` (an absent argument is a null one).
    void add(SongPosition position, std::string_view target, std::string_view command,
             std::optional<std::string_view> argument, int line);

    std::span<const ScriptEntry> rows() const { return rows_; }
    std::size_t size() const { return rows_.size(); }
    int lineOf(std::size_t row) const { return lines_[row]; }
    // The number of lines of the text the rows came from.
    int lineCount = 0;

private:
    const char* keep(std::string_view text);

    std::set<std::string, std::less<>> texts_;  // nodes never move: the rows point into them
    std::vector<ScriptEntry> rows_;
    std::vector<int> lines_;
};

// Takes the text apart into rows. True when every line is a row, a comment
// or blank; otherwise the problems, by line, and the rows that were readable.
bool readScriptText(std::string_view text, ScriptTable& table, ScriptProblems& problems);

// The rows as text: a heading comment, then one row a line in aligned
// columns, a blank line where the order changes. Reading it gives the rows
// back exactly, provided no string holds a quote or a character outside
// printable ASCII (the show's own script holds none).
std::string scriptText(std::span<const ScriptEntry> script);

// A word or argument as a message quotes it: in double quotes, cut after
// some 40 characters, bytes outside printable ASCII as \xNN.
std::string quoteForMessage(std::string_view text);
