#pragma once
// The Extended Module (FastTracker 2 XM, version 1.04) as plain data, and its
// writer. Only what the soundtrack uses: one sample per instrument, volume
// envelopes, auto-vibrato, linear frequency table.

#include <cstdint>
#include <string>
#include <vector>

namespace music {

// XM note numbers: 1 is C-0, 96 is B-7, 97 releases the note (key off).
constexpr uint8_t kKeyOff = 97;

// One channel of one row. Zero means "nothing" in every field.
struct XmCell {
    uint8_t note = 0;
    uint8_t instrument = 0;  // 1-based
    uint8_t volume = 0;      // volume column byte: 0x10 + volume (0..64) sets the volume
    uint8_t effect = 0;
    uint8_t param = 0;

    bool empty() const { return note == 0 && instrument == 0 && volume == 0 && effect == 0 && param == 0; }
    bool operator==(const XmCell&) const = default;
};

// Effect numbers used by the score.
enum XmEffect : uint8_t {
    kFxArpeggio = 0x0,  // with a non-zero parameter xy: the note, +x, +y semitones, tick by tick
    kFxPortaUp = 0x1,
    kFxPortaDown = 0x2,
    kFxTonePorta = 0x3,  // slide from the sounding pitch to the cell's note
    kFxVibrato = 0x4,    // xy: speed x, depth y
    kFxSetPanning = 0x8,
    kFxVolumeSlide = 0xA,  // x0 up, 0y down, by x or y every tick after the first
    kFxExtended = 0xE,     // the parameter's high digit picks one of the commands below
    kFxSetGlobalVolume = 0x10,  // G
    kFxEnvelopePosition = 0x15,  // L
};

// Extended commands: the parameter's high digit of effect E, the low digit their value.
enum XmExtended : uint8_t {
    kExRetrigger = 0x90,  // E9x: strike the note again every x ticks
    kExNoteCut = 0xC0,    // ECx: silence the note at tick x
    kExNoteDelay = 0xD0,  // EDx: start the cell's note at tick x
};

struct XmPattern {
    int rows = 64;
    std::vector<XmCell> cells;  // rows x channels, row by row

    bool operator==(const XmPattern&) const = default;
};

// Up to 12 points of (tick, level 0..64); the first point is at tick 0.
struct XmEnvelope {
    struct Point {
        uint16_t tick;
        uint16_t level;
    };
    std::vector<Point> points;
    int sustain = -1;  // point index held until key off, or -1
};

struct XmSample {
    std::vector<int16_t> data;  // 8-bit samples hold -128..127, 16-bit the full range
    bool sixteenBit = false;
    uint32_t loopStart = 0;   // in samples
    uint32_t loopLength = 0;  // 0: plays once
    uint8_t volume = 64;
    int8_t finetune = 0;      // 1/128 semitone
    int8_t relativeNote = 0;  // semitones
    uint8_t panning = 128;
};

struct XmInstrument {
    std::string name;
    XmSample sample;
    XmEnvelope volumeEnvelope;  // unused when it has no points
    uint16_t fadeout = 0;       // volume fade per tick after key off (0..4095)
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
};

struct XmModule {
    std::string name;
    int channels = 0;
    int speed = 3;    // ticks per row
    int tempo = 150;  // BPM: a tick lasts 2.5 / tempo seconds
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// The module as an .xm file. Throws std::runtime_error on data an XM cannot hold.
std::vector<uint8_t> writeXm(const XmModule& module);

}  // namespace music
