#pragma once
// The soundtrack's instruments, all synthesised. Numbers are the XM
// instrument numbers the score writes (1-based, in this order).

#include <vector>

#include "music/xm.h"

namespace music {

enum Instrument : uint8_t {
    kKick = 1,
    kSnare,
    kClap,
    kClosedHat,
    kOpenHat,
    kCrash,
    kRiser,
    kTom,
    kClick,
    kBass,
    kWarmPad,
    kAirPad,
    kLead,
    kPluck,
    kBell,
    kStab,
};

// Percussion plays at its recorded pitch on MIDI note 60 (C-4); toms are
// tuned so that MIDI 45 sounds A2.
constexpr int kDrumNote = 60;

// Kick .. click, in instrument order.
std::vector<XmInstrument> makeDrumKit();
// Bass .. stab, in instrument order.
std::vector<XmInstrument> makeTonalInstruments();

inline std::vector<XmInstrument> makeInstruments() {
    std::vector<XmInstrument> all = makeDrumKit();
    for (auto& i : makeTonalInstruments()) all.push_back(std::move(i));
    return all;
}

}  // namespace music
