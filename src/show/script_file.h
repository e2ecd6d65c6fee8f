#pragma once
// The script as a file: --dump-script writes one, --script reads one (and
// study mode reads it again after each save).

#include <cstdint>
#include <ostream>
#include <string>

#include "app/timeline.h"
#include "show/script_text.h"

// A script file larger than this is refused unread: the show's own is 17 KB.
constexpr std::uintmax_t kMaxScriptBytes = 16u << 20;

// Reads the script file at path and checks it against the song. Only a
// regular file is read, as UTF-8 (with or without a byte-order mark);
// UTF-16 is refused by name.
// True with its rows in table; otherwise report holds what is wrong, one
// problem a line ("FILE:LINE: message", or "FILE: message" for the file as a
// whole). Where text is given, it receives the script's text as read.
bool loadScriptFile(const std::string& path, SongTimeline& timeline, ScriptTable& table, std::string& report,
                    std::string* text = nullptr);

// Writes text as the new file path, made in one step: a name that exists
// (a link to nowhere too) is left alone, with `taken` set. Empty when
// written, else the reason; nothing is left of a file not written whole.
std::string writeNewScriptFile(const std::string& path, const std::string& text, bool& taken);
