#include "assets/byte_reader.h"

#include <cstring>

std::optional<ByteReader> ByteReader::open(const uint8_t* data, int32_t size) {
    if (data == nullptr) return std::nullopt;
    ByteReader reader;
    reader.data = data;
    reader.size = size < 0 ? 0 : size;
    return reader;
}

int ByteReader::seek(int32_t offset, int origin) {
    error = 0;
    // 64-bit so that a far offset clamps instead of wrapping.
    int64_t target = position;
    switch (origin) {
        case kFromStart: target = offset; break;
        case kFromCurrent: target = int64_t{position} + offset; break;
        case kFromEnd: target = int64_t{size} + offset; break;
        default: break;
    }
    if (target > size) {
        target = size;
        error = -1;
    } else if (target < 0) {
        target = 0;
        error = -1;
    }
    position = static_cast<int32_t>(target);
    return 0;
}

int ByteReader::readByte() {
    error = 0;
    if (position >= size) return -1;
    return static_cast<int8_t>(data[position++]);
}

int ByteReader::read(void* destination, int32_t itemSize, int32_t itemCount) {
    error = 0;
    if (itemSize <= 0 || itemCount <= 0) return 0;
    int64_t n = int64_t{itemSize} * itemCount;
    if (n > remaining()) n = remaining();
    std::memcpy(destination, data + position, static_cast<size_t>(n));
    position += static_cast<int32_t>(n);
    return static_cast<int>(n / itemSize);
}

uint16_t ByteReader::readU16() {
    uint8_t bytes[2] = {0, 0};
    read(bytes, 1, 2);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ByteReader::readU32() {
    uint8_t bytes[4] = {0, 0, 0, 0};
    read(bytes, 1, 4);
    return uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
}

float ByteReader::readFloat() {
    const uint32_t bits = readU32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
