#include "support/png.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <png.h>

namespace testpng {

std::string outputDir() {
    const char* env = std::getenv("ZEMRA_TEST_OUT");
    std::string dir = env && *env ? env : "test-output";
    std::filesystem::create_directories(dir);
    return dir;
}

bool writeRgb(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height) {
    if (rgb.size() != static_cast<size_t>(width) * height * 3) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rgb.data() + static_cast<size_t>(y) * width * 3);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

static void widen565(uint16_t p, uint8_t* out) {
    const int r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
    out[0] = static_cast<uint8_t>((r << 3) | (r >> 2));
    out[1] = static_cast<uint8_t>((g << 2) | (g >> 4));
    out[2] = static_cast<uint8_t>((b << 3) | (b >> 2));
}

bool writeRgb565(const std::string& path, const uint16_t* pixels, int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) widen565(pixels[i], &rgb[i * 3]);
    return writeRgb(path, rgb, width, height);
}

bool writeLandscape(const std::string& path, const uint16_t* backBuffer) {
    // Back buffer pixel (x, y) appears at landscape (319 - y, x): a quarter turn clockwise.
    std::vector<uint16_t> turned(320 * 240);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 240; ++x) turned[x * 320 + (319 - y)] = backBuffer[y * 240 + x];
    }
    return writeRgb565(path, turned.data(), 320, 240);
}

}  // namespace testpng
