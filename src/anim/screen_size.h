#pragma once
// The size of the picture every effect draws: 240 x 320 pixels, rows of 240
// from top to bottom. Kept in the bottom layer so that every layer, the
// platform's picture surfaces included, agrees on it without reaching up.

#include <cstddef>

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr std::size_t kScreenPixels = static_cast<std::size_t>(kScreenWidth) * kScreenHeight;
