#include "common/jpeg.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>
#include <string>

namespace assetgen {

std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& pixels, int width, int height, int components,
                                int quality) {
    if (components != 1 && components != 3) throw std::runtime_error("JPEG needs 1 or 3 components");
    if (pixels.size() != static_cast<size_t>(width) * height * components) {
        throw std::runtime_error("JPEG pixel count does not match its size");
    }
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (components == 3) {
        // Full-resolution chroma: thin coloured lettering stays clean.
        cinfo.comp_info[0].h_samp_factor = 1;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> result(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return result;
}

}  // namespace assetgen
