#pragma once
// The picture every effect draws into: 240x320 RGB565 pixels, rows of 240
// from top to bottom (red bits 11-15, green 5-10, blue 0-4).

#include <cstddef>

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr std::size_t kScreenPixels = static_cast<std::size_t>(kScreenWidth) * kScreenHeight;
