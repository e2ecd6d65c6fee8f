#include "show_frames.h"

#include <algorithm>
#include <cstring>

#include "assets/font.h"
#include "engine/demo_script.h"
#include "engine/demo_system.h"
#include "present/blitter.h"
#include "render/grid_tables.h"
#include "support/fakes.h"

namespace showframes {

namespace {

// Rows in the music's pattern at each order: four bars of 32 rows, except
// the two-bar orders 16 and 17.
int rowsInOrder(int order) { return order == 16 || order == 17 ? 64 : 128; }

class MemoryDisplay : public Display {
public:
    std::vector<uint16_t> pixels = std::vector<uint16_t>(kScreenPixels, 0);
    DisplayProperties properties() const override { return {kScreenWidth, kScreenHeight, 2, 2 * kScreenWidth, 16, 0}; }
    uint16_t* beginDraw() override { return pixels.data(); }
    void endDraw() override {}
};

// Start-up work done for real: the font and the grid tables.
class RealStartupAssets : public fakes::FakeStartupAssets {
public:
    bool loadFont() override { return ::loadFont(); }
    void releaseFont() override { ::releaseFont(); }
    void buildGridTables() override { ::buildGridTables(); }
};

bool reached(const ScriptEntry& e, int order, int row) { return e.order < order || (e.order == order && e.row <= row); }

}  // namespace

int32_t positionTime(int order, int row) {
    int32_t rows = 0;
    for (int o = 0; o < order; ++o) rows += rowsInOrder(o);
    return (rows + row) * 50;
}

Frame renderShowAt(int order, int row) {
    MemoryDisplay display;
    Blitter blitter(display);
    fakes::FakeMainWindow window;
    window.presenter = &blitter;
    fakes::FakeClock clock;
    fakes::FakeMusicPlayer music;
    fakes::FakeDialogs dialogs;
    RealStartupAssets assets;

    std::vector<EffectMaker> makers;
    for (const EffectEntry& entry : effectCatalogue()) makers.push_back({entry.name, entry.create});
    DemoSystem demo({window, clock, music, dialogs, assets}, makers);
    Frame frame;
    if (!demo.loadAll() || !demo.start()) return frame;

    // One frame at every script position before the target, then the target.
    std::vector<std::pair<int, int>> stops;
    for (const ScriptEntry& e : demoScript()) {
        if (!reached(e, order, row)) break;
        if (stops.empty() || stops.back() != std::pair{e.order, e.row}) stops.emplace_back(e.order, e.row);
    }
    if (stops.empty() || stops.back() != std::pair{order, row}) stops.emplace_back(order, row);
    for (const auto& [o, r] : stops) {
        music.setPosition(o, r);
        clock.now = static_cast<uint32_t>(positionTime(o, r));
        demo.frame();
    }
    frame.display = display.pixels;
    if (demo.backBuffer()) frame.backBuffer.assign(demo.backBuffer(), demo.backBuffer() + kScreenPixels);
    frame.drawn = demo.currentEffect() != nullptr && demo.currentEffect()->initialised;
    demo.shutdown();
    return frame;
}

}  // namespace showframes
