#include "anim/song_position.h"

#include <charconv>

namespace {

// Digits only: from_chars would take "-0" as zero, and a position has no sign.
bool parseCount(std::string_view text, int& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    return failure == std::errc() && end == text.data() + text.size() && value >= 0;
}

}  // namespace

bool parseSongPosition(std::string_view text, SongPosition& position) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    SongPosition parsed;
    if (!parseCount(text.substr(0, colon), parsed.order) || !parseCount(text.substr(colon + 1), parsed.row))
        return false;
    position = parsed;
    return true;
}

std::string formatSongPosition(SongPosition position) {
    return std::to_string(position.order) + ":" + std::to_string(position.row);
}
