#include "music/xm.h"

#include "common/bytes.h"

#include <algorithm>
#include <stdexcept>

namespace music {
namespace {

class ByteWriter {
public:
    void u8(unsigned v) { bytes_.push_back(static_cast<uint8_t>(v)); }
    void u16(unsigned v) { assetgen::appendLe16(bytes_, v); }
    void u32(uint32_t v) { assetgen::appendLe32(bytes_, v); }
    // Text padded with `pad` (or cut) to exactly `length` bytes.
    void text(const std::string& s, size_t length, char pad = '\0') {
        for (size_t i = 0; i < length; ++i) u8(i < s.size() ? static_cast<uint8_t>(s[i]) : static_cast<uint8_t>(pad));
    }
    void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void append(const std::vector<uint8_t>& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// A cell with all five fields present is stored as is; any other cell as a
// flag byte (bit 7 set, bits 0-4 = which fields follow) and those fields.
void packCell(ByteWriter& out, const XmCell& c) {
    if (c.note && c.instrument && c.volume && c.effect && c.param) {
        out.u8(c.note);
        out.u8(c.instrument);
        out.u8(c.volume);
        out.u8(c.effect);
        out.u8(c.param);
        return;
    }
    const unsigned flags = 0x80 | (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) |
                           (c.effect ? 8 : 0) | (c.param ? 16 : 0);
    out.u8(flags);
    if (c.note) out.u8(c.note);
    if (c.instrument) out.u8(c.instrument);
    if (c.volume) out.u8(c.volume);
    if (c.effect) out.u8(c.effect);
    if (c.param) out.u8(c.param);
}

void writePattern(ByteWriter& out, const XmPattern& p, int channels) {
    if (p.rows < 1 || p.rows > 256) throw std::runtime_error("XM pattern rows must be 1..256");
    if (p.cells.size() != static_cast<size_t>(p.rows) * channels) throw std::runtime_error("XM pattern size mismatch");
    ByteWriter packed;
    for (const XmCell& c : p.cells) {
        if (c.note > kKeyOff) throw std::runtime_error("XM note out of range");
        packCell(packed, c);
    }
    if (packed.bytes().size() > 0xFFFF) throw std::runtime_error("XM pattern too large");
    out.u32(9);
    out.u8(0);
    out.u16(static_cast<unsigned>(p.rows));
    out.u16(static_cast<unsigned>(packed.bytes().size()));
    out.append(packed.bytes());
}

// Sample data is stored as differences between successive samples.
void writeSampleData(ByteWriter& out, const XmSample& s) {
    int previous = 0;
    for (int16_t v : s.data) {
        const int delta = v - previous;
        previous = v;
        if (s.sixteenBit) {
            out.u16(static_cast<uint16_t>(delta));
        } else {
            out.u8(static_cast<uint8_t>(delta));
        }
    }
}

void writeInstrument(ByteWriter& out, const XmInstrument& ins) {
    const XmSample& s = ins.sample;
    const XmEnvelope& env = ins.volumeEnvelope;
    if (env.points.size() > 12) throw std::runtime_error("XM envelope has more than 12 points");
    if (!env.points.empty() && env.points.front().tick != 0) throw std::runtime_error("XM envelope must start at tick 0");
    for (size_t i = 1; i < env.points.size(); ++i) {
        if (env.points[i].tick <= env.points[i - 1].tick) throw std::runtime_error("XM envelope ticks must increase");
    }
    if (s.loopLength > 0 && s.loopStart + s.loopLength > s.data.size()) {
        throw std::runtime_error("XM sample loop beyond its end");
    }

    out.u32(263);  // instrument header size, this field included
    out.text(ins.name, 22);
    out.u8(0);
    out.u16(1);    // one sample
    out.u32(40);   // sample header size
    out.zeros(96); // every note plays sample 0
    for (size_t i = 0; i < 12; ++i) {
        const bool used = i < env.points.size();
        out.u16(used ? env.points[i].tick : 0);
        out.u16(used ? std::min<uint16_t>(env.points[i].level, 64) : 0);
    }
    out.zeros(48);  // no panning envelope
    out.u8(static_cast<unsigned>(env.points.size()));
    out.u8(0);
    out.u8(env.sustain >= 0 ? static_cast<unsigned>(env.sustain) : 0);
    out.u8(0);  // volume loop start, end (unused)
    out.u8(0);
    out.zeros(3);  // panning sustain, loop start, loop end
    unsigned volumeType = env.points.empty() ? 0 : 1;
    if (!env.points.empty() && env.sustain >= 0) volumeType |= 2;
    out.u8(volumeType);
    out.u8(0);
    out.u8(ins.vibratoType);
    out.u8(ins.vibratoSweep);
    out.u8(ins.vibratoDepth);
    out.u8(ins.vibratoRate);
    out.u16(ins.fadeout);
    out.zeros(22);

    const uint32_t width = s.sixteenBit ? 2 : 1;
    out.u32(static_cast<uint32_t>(s.data.size()) * width);
    out.u32(s.loopStart * width);
    out.u32(s.loopLength * width);
    out.u8(std::min<uint8_t>(s.volume, 64));
    out.u8(static_cast<uint8_t>(s.finetune));
    out.u8((s.loopLength > 0 ? 1 : 0) | (s.sixteenBit ? 0x10 : 0));
    out.u8(s.panning);
    out.u8(static_cast<uint8_t>(s.relativeNote));
    out.u8(0);
    out.text(ins.name, 22);
    writeSampleData(out, s);
}

}  // namespace

std::vector<uint8_t> writeXm(const XmModule& m) {
    if (m.channels < 1 || m.channels > 32) throw std::runtime_error("XM channels must be 1..32");
    if (m.orders.empty() || m.orders.size() > 256) throw std::runtime_error("XM order list must hold 1..256 entries");
    if (m.patterns.size() > 256 || m.instruments.size() > 128) throw std::runtime_error("XM has too many parts");
    for (uint8_t o : m.orders) {
        if (o >= m.patterns.size()) throw std::runtime_error("XM order names a missing pattern");
    }

    ByteWriter out;
    out.text("Extended Module: ", 17);
    out.text(m.name, 20, ' ');
    out.u8(0x1A);
    out.text("zemra assetgen", 20, ' ');
    out.u16(0x0104);
    out.u32(276);  // header size from this field on
    out.u16(static_cast<unsigned>(m.orders.size()));
    out.u16(0);    // restart position
    out.u16(static_cast<unsigned>(m.channels));
    out.u16(static_cast<unsigned>(m.patterns.size()));
    out.u16(static_cast<unsigned>(m.instruments.size()));
    out.u16(1);    // linear frequency table
    out.u16(static_cast<unsigned>(m.speed));
    out.u16(static_cast<unsigned>(m.tempo));
    for (size_t i = 0; i < 256; ++i) out.u8(i < m.orders.size() ? m.orders[i] : 0);

    for (const XmPattern& p : m.patterns) writePattern(out, p, m.channels);
    for (const XmInstrument& ins : m.instruments) writeInstrument(out, ins);
    return std::move(out.bytes());
}

}  // namespace music
