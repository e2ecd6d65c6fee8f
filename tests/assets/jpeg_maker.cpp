#include "jpeg_maker.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace testjpeg {

namespace {

std::vector<uint8_t> encode(const std::vector<uint8_t>& samples, int width, int height, int components,
                            int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (components == 3) jpeg_set_colorspace(&cinfo, JCS_RGB);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(samples.data() + size_t{cinfo.next_scanline} * width * components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

}  // namespace

std::vector<uint8_t> colour(int width, int height, const std::function<Rgb(int, int)>& pixel, int quality) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            samples.insert(samples.end(), {c.r, c.g, c.b});
        }
    }
    return encode(samples, width, height, 3, quality);
}

std::vector<uint8_t> grey(int width, int height, const std::function<uint8_t(int, int)>& pixel, int quality) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) samples.push_back(pixel(x, y));
    return encode(samples, width, height, 1, quality);
}

size_t scanDataStart(const std::vector<uint8_t>& jpeg) {
    for (size_t i = 2; i + 3 < jpeg.size();) {
        if (jpeg[i] != 0xFF) return 0;
        const size_t length = size_t{jpeg[i + 2]} << 8 | jpeg[i + 3];
        if (jpeg[i + 1] == 0xDA) return i + 2 + length;
        i += 2 + length;
    }
    return 0;
}

}  // namespace testjpeg
