// One frame of each catalogue effect, in the state the script shows it in.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "assets/font.h"
#include "show/catalogue.h"
#include "render/grid_tables.h"

namespace {

// Script rows that put each effect into its busiest state.
const std::vector<std::pair<std::string, std::string>> kSettings = {
    {"worldefu", "param=worldangle mode=linear loopmode=continue length=1000 value0=0 value1=-32"},
    {"worldefu", "param=timeangle mode=linear loopmode=continue length=1000 value0=0 value1=80"},
    {"worldefu", "param=textangle mode=linear loopmode=continue length=10000 value0=0 value1=-512"},
    {"worldefu", "param=clip mode=constant loopmode=stop length=1 value0=48"},
    {"tolppaefu", "param=phase mode=linear loopmode=continue length=19200 value0=0 value1=3900"},
    {"spriteefu", "param=mode mode=constant loopmode=stop length=1 value0=1"},
    {"spriteefu", "param=pump mode=linear loopmode=continue length=1600 value0=0 value1=1024"},
    {"spriteefu", "param=len1 mode=constant loopmode=stop length=1 value0=-1"},
    {"spriteefu", "param=len2 mode=constant loopmode=stop length=1 value0=-1"},
    {"spriteefu", "param=len3 mode=constant loopmode=stop length=1 value0=-1"},
    {"spriteefu", "param=len4 mode=constant loopmode=stop length=1 value0=-1"},
    {"spriteefu", "param=len5 mode=constant loopmode=stop length=1 value0=-1"},
    {"spriteefu", "param=len6 mode=constant loopmode=stop length=1 value0=-1"},
    {"fractalefu", "param=zoom mode=linear loopmode=continue length=6400 value0=0 value1=4095"},
    {"logoefu", "param=pos mode=linear loopmode=stop length=20300 value0=0 value1=65535"},
    {"vesiefu", "param=speed mode=constant loopmode=stop length=1 value0=416"},
    {"venkuefu", "param=scale mode=constant loopmode=stop length=1 value0=256"},
    {"loppuefu", "param=pos1 mode=constant loopmode=stop length=1 value0=160"},
    {"loppuefu", "param=pos2 mode=constant loopmode=stop length=1 value0=160"},
    {"loppuefu", "param=pos3 mode=constant loopmode=stop length=1 value0=150"},
    {"loppuefu", "param=camz mode=constant loopmode=stop length=1 value0=40000"},
    {"loppuefu", "param=roll mode=linear loopmode=continue length=1000 value0=0 value1=3000"},
    {"voxelefu", "param=crossfade mode=constant loopmode=stop length=1 value0=128"},
};

void renderFrames(benchmark::State& state, const EffectMaker* entry) {
    static const bool ready = [] {
        buildGridTables();
        return loadFont();
    }();
    if (!ready) {
        state.SkipWithError("font did not load");
        return;
    }
    std::unique_ptr<Effect> effect = entry->create();
    if (!effect->load() || !effect->init()) {
        state.SkipWithError("effect did not initialise");
        return;
    }
    for (const auto& [name, argument] : kSettings)
        if (name == entry->name) effect->handleCommand(0, "setparam", argument);
    std::vector<uint16_t> backBuffer(kScreenPixels);
    int32_t time = 0;
    for (auto _ : state) {
        effect->render(time, backBuffer.data());
        benchmark::DoNotOptimize(backBuffer.data());
        time += 20;
    }
    effect->deinit();
}

const bool registered = [] {
    for (const EffectMaker& entry : effectCatalogue())
        benchmark::RegisterBenchmark((std::string("Render/") + entry.name).c_str(), renderFrames, &entry)
            ->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace
