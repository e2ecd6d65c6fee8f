#include "xm_reader.h"

#include <algorithm>

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

bool isXm(const Reader& in) { return in.has(0, 80) && in.text(0, 17) == "Extended Module: "; }

// Offset of the first instrument, after the header and every pattern; 0 when malformed.
std::size_t instrumentsStart(const Reader& in) {
    std::size_t at = 60 + in.u32(60);
    for (uint32_t p = 0; p < in.u16(70); ++p) {
        if (!in.has(at, 9)) return 0;
        at += in.u32(at) + in.u16(at + 7);
    }
    return at;
}

}  // namespace

std::vector<XmSampleData> readXmSamples(const uint8_t* bytes, std::size_t size) {
    const Reader in(bytes, size);
    if (!isXm(in)) return {};
    const uint32_t instruments = in.u16(72);
    std::size_t at = instrumentsStart(in);
    if (at == 0) return {};
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
            sample.instrument = static_cast<int>(i) + 1;
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
            sample.dataOffset = data;
            sample.dataBytes = length;
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

const XmNote& XmScore::at(int order, int row, int channel) const {
    const auto& p = patterns.at(static_cast<std::size_t>(orders.at(static_cast<std::size_t>(order))));
    return p.at(static_cast<std::size_t>(row) * channels + static_cast<std::size_t>(channel));
}

XmScore readXmScore(const uint8_t* bytes, std::size_t size) {
    const Reader in(bytes, size);
    XmScore score;
    if (!isXm(in)) return score;
    const uint32_t orderCount = in.u16(64), patternCount = in.u16(70);
    score.channels = static_cast<int>(in.u16(68));
    std::size_t at = 60 + in.u32(60);
    for (uint32_t p = 0; p < patternCount; ++p) {
        if (!in.has(at, 9)) return {};
        const int rows = static_cast<int>(in.u16(at + 5));
        const std::size_t packed = in.u16(at + 7);
        std::size_t pos = at + in.u32(at);
        const std::size_t end = pos + packed;
        if (!in.has(pos, packed)) return {};
        std::vector<XmNote> cells(static_cast<std::size_t>(rows) * score.channels);
        for (XmNote& c : cells) {
            if (pos >= end) break;  // an empty pattern may store nothing
            uint32_t flags = in.u8(pos);
            if (flags & 0x80) {
                ++pos;
            } else {
                flags = 0x1F;
            }
            uint8_t* fields[] = {&c.note, &c.instrument, &c.volume, &c.effect, &c.param};
            for (int f = 0; f < 5; ++f) {
                if (flags & (1u << f)) *fields[f] = static_cast<uint8_t>(in.u8(pos++));
            }
        }
        score.patterns.push_back(std::move(cells));
        score.patternRows.push_back(rows);
        at = end;
    }
    for (uint32_t o = 0; o < orderCount; ++o) {
        const int p = static_cast<int>(in.u8(80 + o));
        if (p >= static_cast<int>(patternCount)) return {};
        score.orders.push_back(p);
    }
    return score;
}

std::vector<uint8_t> withInstrumentsSolo(const std::vector<uint8_t>& bytes, const std::set<int>& keep) {
    std::vector<uint8_t> copy = bytes;
    for (const XmSampleData& s : readXmSamples(bytes.data(), bytes.size())) {
        // Stored as differences: all zero is silence.
        if (keep.count(s.instrument) == 0) std::fill_n(copy.begin() + static_cast<std::ptrdiff_t>(s.dataOffset), s.dataBytes, 0);
    }
    return copy;
}

}  // namespace songcheck
