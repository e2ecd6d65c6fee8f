// The program's icon: the title's sunrise in a rounded square. A planet's
// rim arcs across the lower part with the sun rising over it, and a chrome Z
// stands above, as in the title picture. Each size is drawn at its own
// resolution, so the small ones stay sharp. Written as zemra.ico (16, 32, 48
// and 256 pixels, for the Windows program) and as zemra-SIZE.png for the
// sizes desktops install (16 to 256); the 64-pixel one is also embedded, with
// its shape as a mask, for the show's windows.

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <png.h>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/chrome_lettering.h"
#include "common/lettering.h"
#include "common/output.h"
#include "common/picture_output.h"
#include "common/planet_rim.h"
#include "common/starfield.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;

struct IconPicture {
    int size;
    std::vector<uint8_t> rgba;  // rows top to bottom
};

// Coverage (0..1) of the rounded square at the pixel centre (x, y).
double squareCoverage(int x, int y, double size) {
    const double radius = size * 0.18, half = size / 2.0;
    const double dx = std::max(std::fabs(x + 0.5 - half) - (half - radius), 0.0);
    const double dy = std::max(std::fabs(y + 0.5 - half) - (half - radius), 0.0);
    return std::clamp(radius - std::hypot(dx, dy) + 0.5, 0.0, 1.0);
}

IconPicture drawIcon(int size) {
    const double s = size / 256.0;  // the design is made at 256 pixels
    Canvas c(size, size, 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) c.set(x, y, mix(Colour{6, 8, 28}, Colour{26, 18, 58}, (y + 0.5) / size));

    const double sunX = 150.0 * s, sunY = 196.0 * s, planetRadius = 520.0 * s;
    assetgen::drawPlanetRim(c, {.centreX = sunX - 60.0 * s, .centreY = sunY + planetRadius, .radius = planetRadius,
                                .sunX = sunX, .sunSpread = 90.0 * s,
                                .groundDark = {4, 6, 14}, .groundLight = {18, 22, 40},
                                .cloudScaleX = 40.0 * s, .cloudScaleY = 10.0 * s, .cloudSeed = 77,
                                .rimCool = {60, 120, 220}, .rimWarm = {255, 170, 90},
                                .innerWidth = 3.0 * s + 0.5, .innerSunWidth = 8.0 * s, .innerBase = 0.5, .innerSun = 0.5,
                                .airCool = {70, 130, 255}, .airWarm = {255, 190, 120}, .airSunMix = 0.8,
                                .hazeWidth = 6.0 * s + 0.5, .hazeSunWidth = 14.0 * s, .hazeBase = 0.35, .hazeSun = 0.9});
    assetgen::addGlow(c, sunX, sunY, 6.0 * s + 0.4, {255, 255, 255}, 1.0);
    assetgen::addGlow(c, sunX, sunY, 22.0 * s + 0.6, {255, 220, 170}, 0.7);

    // The Z: sky-coloured above its middle, sunset-coloured below, with a
    // dark edge and a violet glow; strokes stay over two pixels wide, and the
    // violet middle light enough to read at 16 pixels.
    assetgen::TextLayout layout;
    layout.capHeight = 150.0 * s;
    layout.slant = 0.12;
    const double halfWidth = std::max(16.0 * s, 1.3), top = 26.0 * s;
    const double left = (size - assetgen::textWidth("Z", layout)) / 2.0;
    assetgen::drawChromeLettering(c, assetgen::layoutText("Z", left, top, layout),
                                  {.top = top,
                                   .capHeight = layout.capHeight,
                                   .halfWidth = halfWidth,
                                   .edgeHalfWidth = halfWidth + 3.0 * s + 0.5,
                                   .reach = halfWidth + 40.0 * s + 2.0,
                                   .glow = 0.5,
                                   .glowFalloff = 9.0 * s + 0.5,
                                   .lowFace = {130, 80, 190}});

    IconPicture icon{size, {}};
    const std::vector<uint8_t> rgb = c.bytes();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::size_t at = 3 * static_cast<std::size_t>(y * size + x);
            icon.rgba.insert(icon.rgba.end(), {rgb[at], rgb[at + 1], rgb[at + 2]});
            icon.rgba.push_back(static_cast<uint8_t>(std::lround(255.0 * squareCoverage(x, y, size))));
        }
    return icon;
}

void appendPng(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

std::vector<uint8_t> encodePng(const IconPicture& icon) {
    std::vector<uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode the icon as PNG");
    }
    png_set_write_fn(png, &bytes, appendPng, nullptr);
    png_set_IHDR(png, info, icon.size, icon.size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < icon.size; ++y)
        png_write_row(png, icon.rgba.data() + 4 * static_cast<std::size_t>(y * icon.size));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

void put16(std::vector<uint8_t>& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void put32(std::vector<uint8_t>& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

// An icon image as a 32-bit bitmap, the form every Windows version reads:
// the header, the BGRA rows bottom to top, then the 1-bit mask (unused next
// to the alpha channel, so all zero), rows padded to four bytes.
std::vector<uint8_t> encodeIconBitmap(const IconPicture& icon) {
    std::vector<uint8_t> out;
    const uint32_t maskRow = ((icon.size + 31) / 32) * 4;
    put32(out, 40);
    put32(out, icon.size);
    put32(out, 2 * icon.size);  // the picture and its mask
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // no compression
    put32(out, 4 * icon.size * icon.size + maskRow * icon.size);
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (int y = icon.size - 1; y >= 0; --y)
        for (int x = 0; x < icon.size; ++x) {
            const uint8_t* p = icon.rgba.data() + 4 * static_cast<std::size_t>(y * icon.size + x);
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    out.insert(out.end(), maskRow * icon.size, 0);
    return out;
}

// The .ico file: a directory of images, the 256-pixel one stored as PNG
// (which Windows reads from Vista on), the small ones as bitmaps.
std::vector<uint8_t> encodeIco(const std::vector<IconPicture>& icons) {
    std::vector<std::vector<uint8_t>> images;
    for (const IconPicture& icon : icons) images.push_back(icon.size >= 256 ? encodePng(icon) : encodeIconBitmap(icon));
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<uint32_t>(icons.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(icons.size());
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const uint8_t side = icons[i].size >= 256 ? 0 : static_cast<uint8_t>(icons[i].size);  // 0 means 256
        out.insert(out.end(), {side, side, 0, 0});
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::string asText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

void generate(assetgen::Output& out) {
    std::vector<IconPicture> icoSizes;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        IconPicture icon = drawIcon(size);
        assetgen::writeIfChanged(out.dir() + "/zemra-" + std::to_string(size) + ".png", asText(encodePng(icon)));
        if (size == 64) {
            Canvas colour(size, size, 3), mask(size, size, 1);
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const uint8_t* p = icon.rgba.data() + 4 * static_cast<std::size_t>(y * size + x);
                    colour.set(x, y, {double(p[0]), double(p[1]), double(p[2])});
                    mask.setGrey(x, y, p[3]);
                }
            assetgen::addPictureWithMask(out, res::kWindowIcon, res::kWindowIconMask, colour, mask);
        }
        if (size != 64 && size != 128) icoSizes.push_back(std::move(icon));
    }
    assetgen::writeIfChanged(out.dir() + "/zemra.ico", asText(encodeIco(icoSizes)));
}
