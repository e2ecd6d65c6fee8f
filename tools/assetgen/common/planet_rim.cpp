#include "common/planet_rim.h"

#include <cmath>

#include "common/noise.h"
#include "common/starfield.h"

namespace assetgen {

void drawPlanetRim(Canvas& c, const PlanetRim& p) {
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const double r = std::hypot(x + 0.5 - p.centreX, y + 0.5 - p.centreY);
            const double edge = r - p.radius;  // negative inside
            const double sunward = std::exp(-std::pow((x - p.sunX) / p.sunSpread, 2.0));
            if (edge < 0) {
                const double clouds = fbm(x / p.cloudScaleX, y / p.cloudScaleY, 5, p.cloudSeed);
                Colour ground = mix(p.groundDark, p.groundLight, clouds);
                const double inner = std::exp(edge / (p.innerWidth + p.innerSunWidth * sunward));
                ground = mix(ground, mix(p.rimCool, p.rimWarm, sunward), inner * (p.innerBase + p.innerSun * sunward));
                c.set(x, y, ground);
            } else {
                const double haze = std::exp(-edge / (p.hazeWidth + p.hazeSunWidth * sunward));
                const Colour air = mix(p.airCool, p.airWarm, sunward * p.airSunMix);
                addLight(c, x, y, air, haze * (p.hazeBase + p.hazeSun * sunward));
            }
        }
    }
}

}  // namespace assetgen
