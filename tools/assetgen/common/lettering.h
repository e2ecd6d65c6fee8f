#pragma once
// A stroke font for generated lettering, and the turn from the landscape
// view (the way the show is watched) to the portrait pictures the show loads.
//
// Letters are polylines in a box whose cap height is 1 (y down, 0 at the top
// of the capitals, 1 on the baseline). Lettering is laid out into segments
// in picture units, then turned into a distance field from which callers
// shape strokes, outlines and glows as they like.

#include <string>
#include <vector>

#include "common/canvas.h"

namespace assetgen {

struct Segment {
    double x0, y0, x1, y1;
};

struct TextLayout {
    double capHeight = 20;   // picture units from the top of the capitals to the baseline
    double spacing = 0.26;   // gap between letters, in cap heights
    double slant = 0.0;      // forward lean: x grows by slant * (height above the baseline)
};

// Width of text laid out with layout, in picture units (without the stroke).
double textWidth(const std::string& text, const TextLayout& layout);

// Segments of text whose capitals start at (x, top). Lower case is drawn as
// upper case; characters without a glyph are left out.
std::vector<Segment> layoutText(const std::string& text, double x, double top, const TextLayout& layout);

// Distance from every pixel centre of a width x height picture to the nearest
// segment, in picture units, capped at maxDistance. Pixel (i, j) stands for
// the point ((i + 0.5) * scaleX, (j + 0.5) * scaleY) of the segments' space,
// so lettering can be laid out unsquashed and sampled squashed.
std::vector<double> distanceField(const std::vector<Segment>& segments, int width, int height, double maxDistance,
                                  double scaleX = 1.0, double scaleY = 1.0);

// Anti-aliased coverage (0..1) of a stroke of the given half width at distance d.
double strokeCoverage(double d, double halfWidth);

}  // namespace assetgen
