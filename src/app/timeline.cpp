#include "app/timeline.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/demo_system.h"

namespace {

int32_t secondsToMs(double seconds) { return static_cast<int32_t>(std::llround(seconds * 1000.0)); }

}  // namespace

std::string formatTime(int32_t ms) {
    const int32_t total = ms < 0 ? 0 : ms;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%03d", total / 60000, total / 1000 % 60, total % 1000);
    return text;
}

bool SongTimeline::load(const void* bytes, std::size_t length) {
    times_.clear();
    return player_.load(bytes, length);
}

bool SongTimeline::loadModuleOf(StartupAssets& assets) {
    const std::vector<uint8_t> module = assets.loadMusicModule();
    return !module.empty() && load(module.data(), module.size());
}

bool SongTimeline::contains(SongPosition position) const {
    return position.order >= 0 && position.order < orderCount() && position.row >= 0 &&
           position.row < rowsAt(position.order);
}

int32_t SongTimeline::timeAt(SongPosition position) {
    if (!contains(position)) return position < SongPosition{} ? 0 : lengthMs();
    const auto known = times_.find(position);
    if (known != times_.end()) return known->second;
    const int32_t ms = secondsToMs(player_.seek(position.order, position.row));
    times_.emplace(position, ms);
    return ms;
}

int32_t SongTimeline::lengthMs() const { return secondsToMs(player_.durationSeconds()); }

std::vector<Scene> showScenes(SongTimeline& timeline, std::span<const ScriptEntry> script) {
    std::vector<Scene> scenes;
    for (const ScriptEntry& entry : script) {
        if (std::string_view(entry.target) != "demosys" || std::string_view(entry.command) != "seteffect") continue;
        scenes.push_back({entry.argument ? entry.argument : "", entry.position(), timeline.timeAt(entry.position())});
    }
    return scenes;
}

std::string timelineText(SongTimeline& timeline, std::span<const ScriptEntry> script) {
    std::string text = "scene  effect       start    time\n";
    char line[96];
    int number = 0;
    for (const Scene& scene : showScenes(timeline, script)) {
        std::snprintf(line, sizeof line, "%5d  %-11s %6s  %s\n", ++number, scene.effect.c_str(),
                      formatSongPosition(scene.start).c_str(), formatTime(scene.startMs).c_str());
        text += line;
    }
    std::snprintf(line, sizeof line, "%5s  %-11s %6s  %s\n", "", "(end)", formatSongPosition(timeline.end()).c_str(),
                  formatTime(timeline.lengthMs()).c_str());
    return text + line;
}
