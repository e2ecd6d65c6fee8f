// The globe scene: the planet's day and night maps and daylight mask, the
// starry background, the ring of lettering (colour, alpha and white mask)
// and the two lookup maps that put them on screen.

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/resource_ids.h"
#include "common/bz2.h"
#include "common/canvas.h"
#include "common/lettering.h"
#include "common/output.h"
#include "common/starfield.h"
#include "worldefu_geometry.h"
#include "worldefu_planet.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;

// The text that runs once around the ring: the show's title and its makers.
const char* const kRingText = "ZEMRA * MORVANTIDE, INC * HALVERIN * GATHMOOR 2002";

// Ring rows 0..48 never come into view (the script stops revealing at 48),
// nor does row 511; the lettering lies between them.
constexpr double kFirstRow = 506.0, kLastRow = 56.0;

// Landscape 320 x 240: stars, a faint nebula and the planet's atmosphere
// glowing around the disc that the globe is drawn into.
Canvas background() {
    Canvas sky(320, 240, 3);
    sky.fill({2, 3, 8});
    assetgen::addNebula(sky, 60.0, 131, 110.0);
    assetgen::addStars(sky, 600, 131);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const double r = std::hypot(x + 0.5 - globe::kCentreX, y + 0.5 - globe::kCentreY);
            const double outside = r - globe::kDiscRadius;
            // Thin bright rim, wider faint haze, darkened sky behind the planet.
            double rim = outside < 0 ? 1.0 : std::exp(-outside / 2.5);
            double haze = outside < 0 ? 1.0 : std::exp(-outside / 12.0);
            if (outside < 0) {
                const Colour c = sky.get(x, y);
                sky.set(x, y, {c.r * 0.2, c.g * 0.2, c.b * 0.2});
            }
            assetgen::addLight(sky, x, y, {90, 150, 255}, 0.55 * rim + 0.22 * haze);
        }
    }
    return sky;
}

struct RingPictures {
    Canvas colour{32, 512, 3};
    Canvas alpha{32, 512, 1};
    Canvas white{32, 512, 1};
};

// The lettering is laid out in a landscape strip 512 long and 32 across
// (strip column c is ring row 511 - c, strip row r is ring column r), squashed
// along so that it has its natural shape where the ring faces the camera.
RingPictures ringPictures() {
    assetgen::TextLayout layout;
    layout.capHeight = 20.0;
    layout.spacing = 0.34;
    const double width = assetgen::textWidth(kRingText, layout);
    const double span = kFirstRow - kLastRow;
    // Layout units per ring row: the text fills the visible span.
    const double unitsPerRow = width / span;
    const double start = (511.0 - kFirstRow) * unitsPerRow;
    const auto segments = assetgen::layoutText(kRingText, start, 6.0, layout);
    const auto field = assetgen::distanceField(segments, 512, 32, 20.0, unitsPerRow, 1.0);

    Canvas colour(512, 32, 3), alpha(512, 32, 1), white(512, 32, 1);
    for (int r = 0; r < 32; ++r) {
        const double across = std::clamp((r - 6.0) / 20.0, 0.0, 1.0);
        const Colour tint = assetgen::mix({255, 236, 150}, {255, 110, 40}, across);
        for (int c = 0; c < 512; ++c) {
            const double d = field[r * 512 + c];
            const double core = assetgen::strokeCoverage(d, 2.0);
            const double halo = std::exp(-std::pow(d / 4.5, 2.0));
            colour.set(c, r, assetgen::mix(Colour{255, 80, 20}, tint, core));
            alpha.setGrey(c, r, std::min(255.0, core * 230.0 + halo * 70.0));
            white.setGrey(c, r, std::min(255.0, core * 235.0 + halo * 60.0));
        }
    }
    return {assetgen::turnToPortrait(colour), assetgen::turnToPortrait(alpha), assetgen::turnToPortrait(white)};
}

}  // namespace

void generate(assetgen::Output& out) {
    const globe::PlanetMaps maps = globe::planetMaps();
    out.add("JPEG", res::kGlobeDay, maps.day.toJpeg(92));
    out.add("JPEG", res::kGlobeDaylight, maps.daylight.toJpeg(92));
    out.add("JPEG", res::kGlobeNight, maps.night.toJpeg(92));
    out.add("JPEG", res::kGlobeBackground, assetgen::turnToPortrait(background()).toJpeg(92));
    const RingPictures ring = ringPictures();
    out.add("JPEG", res::kRingLettering, ring.colour.toJpeg(95));
    out.add("JPEG", res::kRingLetteringMask, ring.alpha.toJpeg(95));
    out.add("JPEG", res::kRingLift, ring.white.toJpeg(95));
    out.add("BZ2", res::kGlobeSphereMap, assetgen::compressBz2(globe::sphereMap()));
    out.add("BZ2", res::kGlobeRingMap, assetgen::compressBz2(globe::ringMap()));
}
