#pragma once
// What the command line asks for: the show in a window (from the start or
// from --start), or offline: --render, --bench, --list. The positions given
// are checked against the song before anything else happens.

#include <ostream>
#include <span>
#include <string>

#include "desktop/command_line.h"
#include "app/seek.h"

// The part of the show the options ask for.
struct ShowRange {
    StartPoint start;
    int32_t endMs = 0;
};

// Checks --start and --end against the song: the reason when a position
// lies outside it or the end does not come after the start. The start runs
// the rows of `script` before it.
bool resolveRange(const ShowOptions& options, SongTimeline& timeline, std::span<const ScriptEntry> script,
                  ShowRange& range, std::string& reason);

// Runs what the options ask for; the exit status (2 after a bad argument,
// which is named on err with the usage, or a script file with problems,
// each named on err; before anything is written or started).
int runShowCommand(const ShowOptions& options, std::ostream& out, std::ostream& err);
