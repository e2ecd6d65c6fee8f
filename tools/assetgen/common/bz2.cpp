#include "common/bz2.h"

#include <bzlib.h>
#include <stdexcept>
#include <string>

namespace assetgen {

std::vector<uint8_t> compressBz2(const std::vector<uint8_t>& bytes) {
    // bzip2's worst case is the input plus 1 % plus 600 bytes.
    unsigned int capacity = static_cast<unsigned int>(bytes.size() + bytes.size() / 100 + 601);
    std::vector<uint8_t> result(capacity);
    int status = BZ2_bzBuffToBuffCompress(reinterpret_cast<char*>(result.data()), &capacity,
                                          const_cast<char*>(reinterpret_cast<const char*>(bytes.data())),
                                          static_cast<unsigned int>(bytes.size()), 9, 0, 0);
    if (status != BZ_OK) throw std::runtime_error("bzip2 compression failed: " + std::to_string(status));
    result.resize(capacity);
    return result;
}

}  // namespace assetgen
