#pragma once
// Whether script rows make a show: every row names a target the show has,
// a command that target takes and an argument it understands (an effect
// name, a blitter mode, a parameter string naming one of the target's
// tracks); its position is one the song plays (or the song's end); the rows
// stand in the order the music reaches them; and the last row is "stop".
// The show itself skips what it does not understand; a person editing the
// script wants to hear of it instead.

#include <string>
#include <string_view>

#include "app/timeline.h"
#include "show/script_text.h"

// Adds the table's problems, at their rows' lines.
void checkScript(const ScriptTable& table, SongTimeline& timeline, ScriptProblems& problems);

// Reads and checks a script's text: true when it makes a show.
bool loadScriptText(std::string_view text, SongTimeline& timeline, ScriptTable& table, ScriptProblems& problems);

// The problems as lines "NAME:LINE: message", with a last line counting
// those left out.
std::string problemReport(const std::string& name, const ScriptProblems& problems);
