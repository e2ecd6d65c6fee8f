#include "common/chrome_lettering.h"

#include <algorithm>
#include <cmath>

#include "common/starfield.h"

namespace assetgen {

void drawChromeLettering(Canvas& c, const std::vector<Segment>& strokes, const ChromeStyle& style) {
    const int width = c.width(), height = c.height();
    const double halfWidth = style.halfWidth;
    const auto field = distanceField(strokes, width, height, style.reach);
    for (int y = 0; y < height; ++y) {
        const double t =
            std::clamp((y + 0.5 - style.top + halfWidth) / (style.capHeight + 2 * halfWidth), 0.0, 1.0);
        const Colour face = t < 0.52 ? mix(Colour{150, 200, 255}, Colour{250, 252, 255}, t / 0.52)
                                     : mix(style.lowFace, Colour{255, 170, 70}, (t - 0.52) / 0.48);
        for (int x = 0; x < width; ++x) {
            const double d = field[y * width + x];
            if (d >= style.reach) continue;
            addLight(c, x, y, {150, 70, 255}, style.glow * std::exp(-(d - halfWidth) / style.glowFalloff));
            c.blend(x, y, {10, 8, 30}, strokeCoverage(d, style.edgeHalfWidth));
            c.blend(x, y, face, strokeCoverage(d, halfWidth));
        }
    }
}

}  // namespace assetgen
