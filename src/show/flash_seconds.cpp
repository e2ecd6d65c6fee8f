#include "show/flash_seconds.h"

namespace {

const SecondRange kFlashing[] = {
    {44, 48},
    {53, 55},
    {57, 80},
    {85, 104},
    {108, 118},
    {120, 134},
    {140, 141},
    {177, 180},
    {184, 191},
    {193, 194},
};

}  // namespace

std::span<const SecondRange> showFlashingSeconds() { return kFlashing; }
