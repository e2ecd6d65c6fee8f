#pragma once
// A small file-like reader over bytes held in memory. Reads and seeks never
// leave the data: seeks are clamped to it (setting error to -1) and reads
// near the end return fewer bytes.

#include <cstdint>
#include <optional>

class ByteReader {
public:
    enum Origin { kFromStart = 0, kFromCurrent = 1, kFromEnd = 2 };

    // A reader at position 0, or nothing when data is null.
    static std::optional<ByteReader> open(const uint8_t* data, int32_t size);

    // Moves to offset from origin, clamped to 0..size. Returns 0.
    int seek(int32_t offset, int origin);
    int tell() const { return position; }
    // The next byte as a signed 8-bit value, or -1 at the end.
    int readByte();
    // Copies up to itemSize x itemCount bytes (cut to what remains) and
    // returns the number of whole items read.
    int read(void* destination, int32_t itemSize, int32_t itemCount);

    // Little-endian values; bytes missing at the end read as 0.
    uint16_t readU16();
    uint32_t readU32();
    float readFloat();

    // Bytes from the position to the end.
    int32_t remaining() const { return size - position; }

    const uint8_t* data = nullptr;  // not owned
    int32_t position = 0;
    int32_t size = 0;
    int32_t error = 0;  // 0, or -1 after a clamped seek
};
