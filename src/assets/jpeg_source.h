#pragma once
// The pieces every JPEG decode of ours shares: an error manager that returns
// control to the caller instead of ending the process, and a source that
// reads JPEG bytes in place.

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

// A decoding error longjmps to `jump`; the caller sets it with setjmp before
// the first libjpeg call and destroys the decompressor when it lands there.
// Warnings (damaged data the library could step over) are counted in
// mgr.num_warnings and never printed.
struct JpegErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void installErrorTrap(jpeg_decompress_struct& cinfo, JpegErrorTrap& trap);

// Feeds data[0, size) to the decoder without copying. The first refill hands
// over all of it; a decoder that asks for more (a truncated picture) gets an
// end-of-image marker and a warning, never bytes past the end.
void attachMemorySource(jpeg_decompress_struct& cinfo, const uint8_t* data, size_t size);

struct JpegInfo {
    int width = 0, height = 0, components = 0;
};

// Reads only the header of the picture. False when it is not a JPEG image.
bool readJpegInfo(const uint8_t* data, size_t size, JpegInfo& info);
