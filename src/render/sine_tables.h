#pragma once
// The integer sine tables of the effects, each built exactly as the effect
// that reads it expects (the truncation or flooring is part of the picture).
// An effect fills its own copy in load(); indices wrap by masking.

#include <array>
#include <cstdint>

// Entry i = trunc(sin(2 pi i / 1024) x 1023): -1023..1023.
std::array<int32_t, 1024> sineTable1023();

// Entry i = trunc(sin(2 pi i / 2048) x 256), and the same of the cosine.
std::array<int32_t, 2048> sineTable2048x256();
std::array<int32_t, 2048> cosineTable2048x256();

// Entry i = floor(255 x sin(2 pi i / 256)): -255..255.
std::array<int32_t, 256> floorSineTable255();
