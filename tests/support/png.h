#pragma once
// PNG output for pictures that tests make to be looked at.

#include <cstdint>
#include <string>
#include <vector>

namespace testpng {

// Folder for test pictures: $ZEMRA_TEST_OUT, or ./test-output. Created on demand.
std::string outputDir();

// Writes 8-bit RGB pixels (width x height x 3 bytes, rows top to bottom).
bool writeRgb(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);

// Writes an RGB565 picture, each channel widened by repeating its top bits.
bool writeRgb565(const std::string& path, const uint16_t* pixels, int width, int height);

// Writes a 240 x 320 back buffer turned a quarter turn clockwise (320 x 240),
// as the show is watched on a desktop.
bool writeLandscape(const std::string& path, const uint16_t* backBuffer);

}  // namespace testpng
