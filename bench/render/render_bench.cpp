// Speed of the warp grid and of a mesh frame, per 240 x 320 frame.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "assets/resource_ids.h"
#include "render/grid_tables.h"
#include "render/mesh.h"
#include "render/warp_grid.h"

namespace {

// A tunnel-like grid: angle around the centre and inverse radius as depth.
std::unique_ptr<WarpGrid> tunnelGrid() {
    buildGridTables();
    auto grid = std::make_unique<WarpGrid>();
    for (int i = 0; i < kGridPoints; ++i) {
        grid->U[i] = (8192 * 256 / (gridRadius[i] + 64)) << 20;
        grid->V[i] = gridAngle[i] << 22;
        grid->L[i] = std::min(255, gridRadius[i] / 20) << 16;
    }
    return grid;
}

void BM_WarpGridDraw(benchmark::State& state) {
    const auto grid = tunnelGrid();
    std::vector<uint16_t> texture(65536, 0x1234), screen(240 * 320);
    for (size_t i = 0; i < texture.size(); ++i) texture[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    for (auto _ : state) {
        grid->draw(screen.data(), texture.data());
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_WarpGridDraw)->Unit(benchmark::kMicrosecond);

void BM_WarpGridDrawShaded(benchmark::State& state) {
    const auto grid = tunnelGrid();
    std::vector<uint32_t> texture(65536);
    std::vector<uint16_t> screen(240 * 320);
    for (size_t i = 0; i < texture.size(); ++i) texture[i] = static_cast<uint32_t>(i * 2654435761u);
    for (auto _ : state) {
        grid->drawShaded(screen.data(), texture.data());
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_WarpGridDrawShaded)->Unit(benchmark::kMicrosecond);

// OBJ 122 as the tunnel shows it: 44800 units ahead, turning.
void BM_MeshFrame122(benchmark::State& state) {
    Mesh mesh;
    if (!mesh.loadMesh(res::kSpinningObject, 20.1f)) {
        state.SkipWithError("OBJ 122 missing");
        return;
    }
    std::vector<uint16_t> texture(65536), screen(240 * 320);
    for (size_t i = 0; i < texture.size(); ++i) texture[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    mesh.texture = texture.data();
    int32_t time = 0;
    for (auto _ : state) {
        time += 16;
        FixedMatrix m;
        setIdentity(m);
        translate(m, 0, 0, 44800);
        rotate(m, time * 10, 'x');
        rotate(m, time * 16, 'z');
        mesh.setMatrix(m);
        mesh.transform();
        benchmark::DoNotOptimize(mesh.draw(screen.data()));
    }
}
BENCHMARK(BM_MeshFrame122)->Unit(benchmark::kMicrosecond);

}  // namespace
