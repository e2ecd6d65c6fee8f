#include "common/resource_check.h"

#include <bzlib.h>

#include <vector>

#include "assets/resource_ids.h"

namespace assetgen {
namespace {

struct JpegFrame {
    int width = 0, height = 0, components = 0;
};

// Reads the frame header (any SOF marker) of a JPEG stream.
bool readJpegFrame(const std::vector<uint8_t>& b, JpegFrame& frame) {
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
    size_t i = 2;
    while (i + 4 <= b.size()) {
        if (b[i] != 0xFF) return false;
        const uint8_t marker = b[i + 1];
        const size_t length = static_cast<size_t>(b[i + 2]) << 8 | b[i + 3];
        const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (i + 10 > b.size()) return false;
            frame.height = b[i + 5] << 8 | b[i + 6];
            frame.width = b[i + 7] << 8 | b[i + 8];
            frame.components = b[i + 9];
            return true;
        }
        i += 2 + length;
    }
    return false;
}

std::string describe(int width, int height, int components) {
    return std::to_string(width) + " x " + std::to_string(height) + " with " + std::to_string(components) +
           (components == 1 ? " component" : " components");
}

}  // namespace

std::string checkResource(const GeneratedResource& r) {
    const std::string what = r.type + " " + std::to_string(r.id);
    const res::ListedResource* listed = res::findListedResource(r.type, r.id);
    if (listed == nullptr) return what + " is not in the show's list of resources";
    if (r.type == "JPEG") {
        JpegFrame frame;
        if (!readJpegFrame(r.bytes, frame)) return what + " (" + std::string(listed->name) + ") is not a readable JPEG";
        if (frame.width != listed->width || frame.height != listed->height || frame.components != listed->components) {
            return what + " (" + std::string(listed->name) + ") is " +
                   describe(frame.width, frame.height, frame.components) + ", the show reads " +
                   describe(listed->width, listed->height, listed->components);
        }
    } else if (r.type == "BZ2") {
        std::vector<char> buffer(static_cast<size_t>(listed->width));
        unsigned int length = static_cast<unsigned int>(buffer.size());
        const int status = BZ2_bzBuffToBuffDecompress(buffer.data(), &length,
                                                      const_cast<char*>(reinterpret_cast<const char*>(r.bytes.data())),
                                                      static_cast<unsigned int>(r.bytes.size()), 0, 0);
        if (status != BZ_OK) {
            return what + " (" + std::string(listed->name) + ") does not decompress into its reader's " +
                   std::to_string(listed->width) + " bytes";
        }
    }
    return {};
}

}  // namespace assetgen
