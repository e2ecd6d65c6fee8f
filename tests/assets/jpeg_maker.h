#pragma once
// JPEG pictures made in memory for the loader tests.

#include <cstdint>
#include <functional>
#include <vector>

namespace testjpeg {

struct Rgb {
    uint8_t r, g, b;
};

// A colour picture stored as plain R, G, B components (no YCbCr step), so a
// uniform colour at quality 100 decodes to exactly that colour.
std::vector<uint8_t> colour(int width, int height, const std::function<Rgb(int, int)>& pixel, int quality = 100);

std::vector<uint8_t> grey(int width, int height, const std::function<uint8_t(int, int)>& pixel, int quality = 100);

// Offset of the first byte after the start-of-scan header: the entropy-coded data.
size_t scanDataStart(const std::vector<uint8_t>& jpeg);

}  // namespace testjpeg
