#include "xm_samples.h"

namespace songcheck {
namespace {

class Reader {
public:
    Reader(const uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    bool has(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }
    uint32_t u8(std::size_t at) const { return has(at, 1) ? bytes_[at] : 0; }
    uint32_t u16(std::size_t at) const { return u8(at) | u8(at + 1) << 8; }
    uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::string text(std::size_t at, std::size_t count) const {
        std::string s;
        for (std::size_t i = 0; i < count && has(at + i, 1) && bytes_[at + i] != 0; ++i) s += static_cast<char>(bytes_[at + i]);
        return s;
    }

private:
    const uint8_t* bytes_;
    std::size_t size_;
};

}  // namespace

std::vector<XmSampleData> readXmSamples(const uint8_t* bytes, std::size_t size) {
    const Reader in(bytes, size);
    if (!in.has(0, 80) || in.text(0, 17) != "Extended Module: ") return {};
    const std::size_t headerEnd = 60 + in.u32(60);
    const uint32_t patterns = in.u16(70), instruments = in.u16(72);
    std::size_t at = headerEnd;
    for (uint32_t p = 0; p < patterns; ++p) {
        if (!in.has(at, 9)) return {};
        at += in.u32(at) + in.u16(at + 7);
    }
    std::vector<XmSampleData> samples;
    for (uint32_t i = 0; i < instruments; ++i) {
        if (!in.has(at, 29)) return {};
        const std::size_t instrumentSize = in.u32(at);
        const uint32_t count = in.u16(at + 27);
        const std::size_t sampleHeaderSize = count > 0 ? in.u32(at + 29) : 0;
        std::size_t header = at + instrumentSize;
        std::size_t data = header + count * sampleHeaderSize;
        for (uint32_t s = 0; s < count; ++s, header += sampleHeaderSize) {
            if (!in.has(header, 40)) return {};
            XmSampleData sample;
            const uint32_t length = in.u32(header), loopStart = in.u32(header + 4), loopLength = in.u32(header + 8);
            const uint32_t type = in.u8(header + 14);
            sample.sixteenBit = (type & 0x10) != 0;
            sample.name = in.text(header + 18, 22);
            const std::size_t width = sample.sixteenBit ? 2 : 1;
            if ((type & 3) != 0) {
                sample.loopStart = loopStart / width;
                sample.loopLength = loopLength / width;
            }
            if (!in.has(data, length)) return {};
            int value = 0;
            for (std::size_t k = 0; k + width <= length; k += width) {
                if (sample.sixteenBit) {
                    value = static_cast<int16_t>(value + static_cast<int16_t>(in.u16(data + k)));
                } else {
                    value = static_cast<int8_t>(value + static_cast<int8_t>(in.u8(data + k)));
                }
                sample.values.push_back(value);
            }
            data += length;
            samples.push_back(std::move(sample));
        }
        at = data;
    }
    return samples;
}

}  // namespace songcheck
