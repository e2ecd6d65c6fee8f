#include "show/flash_seconds.h"

namespace {

const SecondRange kFlashing[] = {
    {60, 61},
};

}  // namespace

std::span<const SecondRange> showFlashingSeconds() { return kFlashing; }
