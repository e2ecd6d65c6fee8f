#pragma once
// The bzip2 compressor for the generator's BZ2 resources.

#include <cstdint>
#include <vector>

namespace assetgen {

// The whole input as one bzip2 stream (block size 900 kB).
std::vector<uint8_t> compressBz2(const std::vector<uint8_t>& bytes);

}  // namespace assetgen
