#include "render/sine_tables.h"

#include <cmath>

#include "anim/intmath.h"

namespace {
constexpr double kTwoPi = 2.0 * 3.141592653589793;
}

std::array<int32_t, 1024> sineTable1023() {
    std::array<int32_t, 1024> table;
    for (int i = 0; i < 1024; ++i) table[i] = zm::truncToInt32(std::sin(kTwoPi * i / 1024.0) * 1023.0);
    return table;
}

std::array<int32_t, 2048> sineTable2048x256() {
    std::array<int32_t, 2048> table;
    for (int i = 0; i < 2048; ++i) table[i] = zm::truncToInt32(std::sin(kTwoPi * i / 2048.0) * 256.0);
    return table;
}

std::array<int32_t, 2048> cosineTable2048x256() {
    std::array<int32_t, 2048> table;
    for (int i = 0; i < 2048; ++i) table[i] = zm::truncToInt32(std::cos(kTwoPi * i / 2048.0) * 256.0);
    return table;
}

std::array<int32_t, 256> floorSineTable255() {
    std::array<int32_t, 256> table;
    for (int i = 0; i < 256; ++i) table[i] = static_cast<int32_t>(std::floor(255.0 * std::sin(kTwoPi * i / 256.0)));
    return table;
}
