#pragma once
// A position in the music: an index into the module's order list and a row
// of the pattern played there, both from 0. Ordered as the song plays them.
// Written ORDER:ROW wherever people read or type one.

#include <compare>
#include <string>
#include <string_view>

struct SongPosition {
    int order = 0, row = 0;
    auto operator<=>(const SongPosition&) const = default;
};

// Reads "ORDER:ROW", two decimal numbers. False when malformed.
bool parseSongPosition(std::string_view text, SongPosition& position);
std::string formatSongPosition(SongPosition position);
