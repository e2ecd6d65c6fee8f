// Cost of one 240x320 frame through each blitter mode, on a portrait surface
// (rows in memory order) and on a landscape one turned a quarter turn
// clockwise (as a desktop window shows the show), against a plain copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "engine/back_buffer.h"
#include "platform/display.h"
#include "present/blitter.h"

namespace {

class Surface : public Display {
public:
    Surface(int32_t xPitch, int32_t yPitch) : memory(kScreenPixels, 0x1234) {
        props.xPitch = xPitch;
        props.yPitch = yPitch;
        // Pixel (0, 0) of the turned picture lands at the end of the first surface row.
        base = memory.data() + (yPitch < 0 ? kScreenHeight - 1 : 0);
    }
    DisplayProperties properties() const override { return props; }
    uint16_t* beginDraw() override { return base; }
    void endDraw() override {}

    std::vector<uint16_t> memory;
    DisplayProperties props;
    uint16_t* base;
};

std::vector<uint16_t> testFrame() {
    std::vector<uint16_t> frame(kScreenPixels);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint16_t>(i * 40503u);
    return frame;
}

void blit(benchmark::State& state, int32_t xPitch, int32_t yPitch, const char* mode, int32_t control) {
    Surface surface(xPitch, yPitch);
    Blitter blitter(surface);
    blitter.handleCommand(0, "setmode", mode);
    blitter.control = ParamTrack(control);
    blitter.update(0);
    const auto frame = testFrame();
    for (auto _ : state) {
        blitter.present(frame.data());
        benchmark::DoNotOptimize(surface.memory.data());
        benchmark::ClobberMemory();
    }
}

void plainCopy(benchmark::State& state) {
    std::vector<uint16_t> surface(kScreenPixels);
    const auto frame = testFrame();
    for (auto _ : state) {
        std::memcpy(surface.data(), frame.data(), kScreenPixels * sizeof(uint16_t));
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(plainCopy);
BENCHMARK_CAPTURE(blit, portrait_normal, 2, 480, "normal", 0);
BENCHMARK_CAPTURE(blit, portrait_inverse, 2, 480, "inverse", 100);
BENCHMARK_CAPTURE(blit, portrait_mul_brighten, 2, 480, "mul", 700);
BENCHMARK_CAPTURE(blit, portrait_mul_darken, 2, 480, "mul", 100);
BENCHMARK_CAPTURE(blit, portrait_motionblur, 2, 480, "motionblur", 90);
BENCHMARK_CAPTURE(blit, turned_normal, 640, -2, "normal", 0);
BENCHMARK_CAPTURE(blit, turned_inverse, 640, -2, "inverse", 100);
BENCHMARK_CAPTURE(blit, turned_mul_brighten, 640, -2, "mul", 700);
BENCHMARK_CAPTURE(blit, turned_mul_darken, 640, -2, "mul", 100);
BENCHMARK_CAPTURE(blit, turned_motionblur, 640, -2, "motionblur", 90);
