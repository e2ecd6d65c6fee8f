#include "app/seek.h"


std::string outsideSong(const char* option, SongPosition position, const SongTimeline& timeline, bool allowEnd) {
    if (timeline.contains(position) || (allowEnd && position == timeline.end())) return {};
    const std::string given = std::string(option) + " " + formatSongPosition(position);
    const int last = timeline.orderCount() - 1;
    if (position.order > last)
        return given + " is past the end of the song: its orders are 0 to " + std::to_string(last) +
               (allowEnd ? ", and " + formatSongPosition(timeline.end()) + " is its end" : "");
    return given + " is not in the song: order " + std::to_string(position.order) + " has rows 0 to " +
           std::to_string(timeline.rowsAt(position.order) - 1);
}

StartPoint planStart(SongTimeline& timeline, std::span<const ScriptEntry> script, SongPosition position) {
    StartPoint start;
    start.position = position;
    start.timeMs = timeline.timeAt(position);
    for (const ScriptEntry& entry : script) {
        if (!(entry.position() < position)) break;  // the table is sorted by position
        start.rowTimes.push_back(timeline.timeAt(entry.position()));
    }
    start.firstRow = start.rowTimes.size();
    return start;
}

void runRowsBefore(DemoSystem& demo, std::span<const ScriptEntry> script, const StartPoint& start) {
    for (std::size_t i = 0; i < start.firstRow && demo.running(); ++i) demo.dispatch(script[i], start.rowTimes[i]);
}
