#pragma once
// A huge planet seen from its night side, its rim arcing through the view:
// cloud-banded ground lit by light scattered just inside the rim, and an
// atmosphere that glows above it. Both grow warmer and wider towards the
// sun, which stands near the rim at column sunX.

#include <cstdint>

#include "common/canvas.h"

namespace assetgen {

struct PlanetRim {
    double centreX, centreY, radius;
    double sunX, sunSpread;  // nearness to the sun: exp(-((x - sunX) / sunSpread)^2)
    // Ground: fbm of (x / cloudScaleX, y / cloudScaleY) mixes the two colours.
    Colour groundDark, groundLight;
    double cloudScaleX, cloudScaleY;
    uint32_t cloudSeed;
    // Light inside the rim, cool away from the sun and warm towards it:
    // falls off over innerWidth + innerSunWidth x nearness pixels, with
    // strength innerBase + innerSun x nearness.
    Colour rimCool, rimWarm;
    double innerWidth, innerSunWidth, innerBase, innerSun;
    // The atmosphere above the rim, added as light: warmth airSunMix x nearness.
    Colour airCool, airWarm;
    double airSunMix, hazeWidth, hazeSunWidth, hazeBase, hazeSun;
};

// Sets the planet's pixels and adds the atmosphere's light over the rest.
void drawPlanetRim(Canvas& c, const PlanetRim& p);

}  // namespace assetgen
