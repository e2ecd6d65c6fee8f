// The whole show under a fuzzed script: a text that passes the checks of
// --script must play. Every row but those at the last position before the
// "stop" runs at once, as a start part-way in runs them, and a few frames
// then play from that position with the rows there: the effects and the
// blitter take whatever commands and parameter values the checks let pass.
// Only the effects the script names are made, which keeps an input fast.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "app/offline_show.h"
#include "show/script_check.h"
#include "show/catalogue.h"
#include "show/builtin_show.h"

namespace {

// A message would be a failure of the show: none is expected.
class NoMessages : public Dialogs {
public:
    void showMessage(const std::string&) override { std::abort(); }
};

SongTimeline& songTimeline() {
    static SongTimeline timeline;
    static const bool loaded = timeline.loadModuleOf(*builtInShow().assets);
    if (!loaded) std::abort();
    return timeline;
}

std::vector<EffectMaker> namedEffects(std::span<const ScriptEntry> rows) {
    std::set<std::string_view> names;
    for (const ScriptEntry& entry : rows) {
        names.insert(entry.target);
        if (entry.argument) names.insert(entry.argument);
    }
    std::vector<EffectMaker> makers;
    for (const EffectMaker& maker : effectCatalogue())
        if (names.count(maker.name)) makers.push_back(maker);
    return makers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SongTimeline& timeline = songTimeline();
    ScriptTable table;
    ScriptProblems problems;
    if (!loadScriptText(std::string_view(reinterpret_cast<const char*>(data), size), timeline, table, problems)) {
        problemReport("fuzz", problems);
        return 0;
    }
    const std::span<const ScriptEntry> rows = table.rows();
    SongPosition from = rows.size() >= 2 ? rows[rows.size() - 2].position() : SongPosition{};
    if (!timeline.contains(from)) from = {timeline.orderCount() - 1, timeline.rowsAt(timeline.orderCount() - 1) - 1};

    const std::vector<EffectMaker> effects = namedEffects(rows);
    OfflineSettings settings(builtInShow().withScript(rows));
    settings.show.effects = &effects;
    settings.start = planStart(timeline, rows, from);
    settings.endMs = settings.start.timeMs + 70;  // five frames
    NoMessages dialogs;
    OfflineShow show(settings, dialogs);
    if (show.start())
        while (show.nextFrame()) {
        }
    show.finish();
    return 0;
}
