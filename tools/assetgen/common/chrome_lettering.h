#pragma once
// Chrome lettering for titles: the face sky-coloured above the middle line
// and running into sunset below it, with a dark edge and a violet glow. The
// logo's title and the program's icon share it.

#include <vector>

#include "common/canvas.h"
#include "common/lettering.h"

namespace assetgen {

struct ChromeStyle {
    double top = 0, capHeight = 0;  // where the capitals stand, as laid out
    double halfWidth = 1;           // the face's stroke
    double edgeHalfWidth = 2;       // the dark edge's stroke, wider than the face
    double reach = 40;              // how far from the strokes the glow is drawn
    double glow = 0.5;              // the glow's strength at the face's edge
    double glowFalloff = 9;         // distance over which it falls by e
    Colour lowFace;                 // the face just under the middle line
};

void drawChromeLettering(Canvas& c, const std::vector<Segment>& strokes, const ChromeStyle& style);

}  // namespace assetgen
