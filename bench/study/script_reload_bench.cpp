// Study mode's reload of a saved script file in the middle of the show:
// from the file read again to the new picture (read, checked, the show made
// anew at the position shown and its frame drawn). The watch's look at the
// file each pass of the loop adds at most two passes (16 to 30 ms) to this.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <iostream>

#include "app/timeline.h"
#include "app/user_messages.h"
#include "platform/portable/virtual_clock.h"
#include "study/script_reload.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

class NeverChanged : public FileWatch {
public:
    bool changed() override { return false; }
};

void BM_ReloadScriptMidShow(benchmark::State& state) {
    SongTimeline timeline;
    if (!timeline.loadModuleOf(*builtInShow().assets)) state.SkipWithError("no module");
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "zemra-reload-bench.txt";
    std::ofstream(file, std::ios::binary) << scriptText(demoScript());
    VirtualClock clock;
    UserMessages dialogs(nullptr, std::cerr);
    StudySession session(builtInShow(), timeline, Orientation::Landscape, clock, dialogs);
    session.setPaused(true);
    // The water scene, half-way: 3:00 into the show's 3:37.
    if (!session.jumpTo({30, 0})) state.SkipWithError("cannot start the show");
    StudyView view(timeline, demoScript(), 320, 240);
    NeverChanged watch;
    ScriptReload reload(file.string(), timeline, watch, clock);
    for (auto _ : state) {
        reload.reload(session, view);
        view.draw(session);
        benchmark::DoNotOptimize(view.canvas().pixels.data());
    }
    if (reload.reloads() == 0) state.SkipWithError("the script did not reload");
    std::filesystem::remove(file);
}
BENCHMARK(BM_ReloadScriptMidShow)->Unit(benchmark::kMillisecond);

}  // namespace
