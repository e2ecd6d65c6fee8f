#include "offline/show_bench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>

#include "app/user_messages.h"

namespace {

using Stopwatch = std::chrono::steady_clock;

double msSince(Stopwatch::time_point start) { return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count(); }

// The name each effect is registered under.
std::map<const CommandTarget*, std::string> effectNames(DemoSystem& demo) {
    std::map<const CommandTarget*, std::string> names;
    for (const std::string& name : demo.registeredNames()) names[demo.find(name)] = name;
    return names;
}

}  // namespace

double meanOf(const std::vector<double>& ms) {
    if (ms.empty()) return 0.0;
    double sum = 0.0;
    for (const double value : ms) sum += value;
    return sum / static_cast<double>(ms.size());
}

double percentileOf(std::vector<double> ms, double percent) {
    if (ms.empty()) return 0.0;
    const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(ms.size())));
    const std::size_t index = std::clamp<std::size_t>(rank, 1, ms.size()) - 1;
    std::nth_element(ms.begin(), ms.begin() + static_cast<std::ptrdiff_t>(index), ms.end());
    return ms[index];
}

int runBench(const OfflineSettings& settings, std::ostream& out, std::ostream& err) {
    UserMessages console(nullptr, err);
    FailureWatch messages(console);
    OfflineShow show(settings, messages);
    const Stopwatch::time_point loading = Stopwatch::now();
    if (!show.start()) {
        show.finish();
        return 1;
    }
    const double loadMs = msSince(loading);
    const auto names = effectNames(show.demo());

    // Each frame's drawing (script rows, effect, blitter) is timed apart from
    // the music rendered in lockstep before it.
    std::vector<EffectTimes> effects;  // in order of first appearance
    std::vector<double> musicMs;
    const Stopwatch::time_point rendering = Stopwatch::now();
    while (true) {
        const Stopwatch::time_point musicStart = Stopwatch::now();
        if (!show.advance()) break;
        show.dropAudio();
        const Stopwatch::time_point frameStart = Stopwatch::now();
        if (!show.draw()) break;
        const double ms = msSince(frameStart);
        musicMs.push_back(std::chrono::duration<double, std::milli>(frameStart - musicStart).count());
        const auto named = names.find(show.demo().currentEffect());
        const std::string effect = named != names.end() ? named->second : "(none)";
        auto entry = std::find_if(effects.begin(), effects.end(), [&](const EffectTimes& e) { return e.effect == effect; });
        if (entry == effects.end()) entry = effects.insert(effects.end(), {effect, {}});
        entry->frameMs.push_back(ms);
    }
    const double totalMs = msSince(rendering);
    const long frames = show.framesMade();
    show.finish();
    effects.push_back({"music", std::move(musicMs)});

    char line[160];
    std::snprintf(line, sizeof line, "loading: %.0f ms\n%-12s %7s %9s %9s\n", loadMs, "effect", "frames", "mean ms",
                  "p99 ms");
    out << line;
    for (const EffectTimes& effect : effects) {
        std::snprintf(line, sizeof line, "%-12s %7zu %9.3f %9.3f\n", effect.effect.c_str(), effect.frameMs.size(),
                      meanOf(effect.frameMs), percentileOf(effect.frameMs, 99.0));
        out << line;
    }
    const double showSeconds = static_cast<double>(frames) / show.fps();
    const double seconds = totalMs / 1000.0;
    const double fps = seconds > 0 ? frames / seconds : 0.0;
    const double speed = seconds > 0 ? showSeconds / seconds : 0.0;
    std::snprintf(line, sizeof line, "whole show: %ld frames at %d fps (%.1f s) in %.2f s: %.1f fps, %.1fx real time\n",
                  frames, show.fps(), showSeconds, seconds, fps, speed);
    out << line;
    return messages.failed ? 1 : 0;  // the figures of a show that failed part-way are not the show's
}
