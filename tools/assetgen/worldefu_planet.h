#pragma once
// The planet's three 256 x 512 maps (column = colatitude, row = longitude):
// the day side, the night side with its city lights, and the daylight mask.

#include "common/canvas.h"

namespace globe {

struct PlanetMaps {
    assetgen::Canvas day{256, 512, 3};
    assetgen::Canvas night{256, 512, 3};
    assetgen::Canvas daylight{256, 512, 1};
};

PlanetMaps planetMaps();

}  // namespace globe
