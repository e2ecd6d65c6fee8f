#include "assets/jpeg_source.h"

#include <jerror.h>

namespace {

[[noreturn]] void leaveOnError(j_common_ptr cinfo) {
    auto* trap = reinterpret_cast<JpegErrorTrap*>(cinfo->err);
    std::longjmp(trap->jump, 1);
}

// Counts warnings (level -1) and drops trace messages; nothing is printed.
void countWarning(j_common_ptr cinfo, int level) {
    if (level < 0) ++cinfo->err->num_warnings;
}

void printNothing(j_common_ptr) {}

struct MemorySource {
    jpeg_source_mgr pub;
    const JOCTET* data;
    size_t size;
    bool delivered;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
    if (!src->delivered) {
        src->delivered = true;
        src->pub.next_input_byte = src->data;
        src->pub.bytes_in_buffer = src->size;
        if (src->size > 0) return TRUE;
    }
    // Out of data: end the picture here, as a file that stops early would.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->pub.next_input_byte = kEndOfImage;
    src->pub.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    auto n = static_cast<size_t>(count);
    while (n > src->bytes_in_buffer) {
        n -= src->bytes_in_buffer;
        fillInputBuffer(cinfo);
    }
    src->next_input_byte += n;
    src->bytes_in_buffer -= n;
}

}  // namespace

void installErrorTrap(jpeg_decompress_struct& cinfo, JpegErrorTrap& trap) {
    cinfo.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = leaveOnError;
    trap.mgr.emit_message = countWarning;
    trap.mgr.output_message = printNothing;
}

void attachMemorySource(jpeg_decompress_struct& cinfo, const uint8_t* data, size_t size) {
    if (cinfo.src == nullptr) {
        cinfo.src = static_cast<jpeg_source_mgr*>((*cinfo.mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_PERMANENT, sizeof(MemorySource)));
    }
    auto* src = reinterpret_cast<MemorySource*>(cinfo.src);
    src->pub.init_source = initSource;
    src->pub.fill_input_buffer = fillInputBuffer;
    src->pub.skip_input_data = skipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = termSource;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
    src->data = data;
    src->size = size;
    src->delivered = false;
}

bool readJpegInfo(const uint8_t* data, size_t size, JpegInfo& info) {
    jpeg_decompress_struct cinfo{};
    JpegErrorTrap trap;
    installErrorTrap(cinfo, trap);
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    attachMemorySource(cinfo, data, size);
    const bool ok = jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK;
    if (ok) {
        info.width = static_cast<int>(cinfo.image_width);
        info.height = static_cast<int>(cinfo.image_height);
        info.components = cinfo.num_components;
    }
    jpeg_destroy_decompress(&cinfo);
    return ok;
}
