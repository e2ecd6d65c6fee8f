// The tunnel scene's pictures: the wall that wraps round the tunnel and the
// chrome reflection map of the spinning object (the end scene's object too).

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "common/tiling.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;
using assetgen::wrappedDelta;
using assetgen::wrapInto;

constexpr double kPi = 3.141592653589793;

Colour operator+(const Colour& a, const Colour& b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(const Colour& a, double k) { return assetgen::scaled(a, k); }

// ---- The wall -------------------------------------------------------------
// Texel columns run along the tunnel, rows go once round it. The tunnel's
// radius is 100 texels along, so one row round the wall is 2 pi 100 / 256
// (about 2.45) texels long: lengths across rows are scaled by kRowLength so
// that panels and lamps come out square and round on the wall.
constexpr int kWallSize = 256;
constexpr double kRowLength = 2.0 * kPi * 100.0 / kWallSize;
constexpr double kSegment = 64;    // columns from one rib to the next
constexpr double kRibWidth = 10;   // columns of each supporting rib
constexpr double kPanelRows = 32;  // rows of each wall panel (8 round the tunnel)

enum class PanelKind { Plain, Grille, Display, Hazard };

// Every panel's look, fixed by its place on the wall.
struct Panel {
    PanelKind kind;
    Colour steel;
};

Panel panelAt(int segment, int row) {
    assetgen::Rng rng(9100 + segment * 8 + row);
    const double pick = rng.uniform();
    const PanelKind kind = pick < 0.45   ? PanelKind::Plain
                           : pick < 0.7  ? PanelKind::Grille
                           : pick < 0.85 ? PanelKind::Display
                                         : PanelKind::Hazard;
    return {kind, mix(Colour{54, 62, 78}, Colour{88, 94, 106}, rng.uniform())};
}

// A raised ring round the tunnel: rounded profile, bolts between the panels.
Colour ribColour(double along, double panelRow) {
    const double t = along / kRibWidth;
    const double facing = std::sin(kPi * t);            // 1 on the crest
    const double sideLight = std::max(0.0, 1.0 - 2.0 * t) * 0.6;  // the edge facing the camera's way
    Colour c = mix(Colour{40, 38, 38}, Colour{150, 140, 128}, 0.35 + 0.45 * facing + sideLight);
    for (double boltRow : {5.0, 27.0}) {
        const double d = std::hypot(along - kRibWidth / 2, (panelRow - boltRow) * kRowLength);
        c = mix(c, Colour{20, 18, 18}, smoothstep(2.6, 2.0, d));
        c = mix(c, Colour{190, 180, 165}, smoothstep(1.8, 1.0, d) * std::clamp(0.6 - (panelRow - boltRow) * 0.4, 0.0, 1.0));
    }
    return c;
}

// A wall plate between two ribs: bevelled edges and, by kind, rivets, a vent
// grille glowing warm behind its slats, a grate lit teal or hazard stripes.
Colour panelColour(double along, double panelRow, const Panel& panel) {
    const double fromLeft = along - kRibWidth, fromRight = kSegment - along;
    const double fromTop = panelRow * kRowLength, fromBottom = (kPanelRows - panelRow) * kRowLength;
    const double edge = std::min({fromLeft, fromRight, fromTop, fromBottom});
    Colour c = panel.steel * (0.9 + 0.2 * (fromTop / (kPanelRows * kRowLength)));
    if (edge < 1.2) return c * 0.4;  // the seam between plates
    if (edge < 4.0) {
        // Bevel: lit on the edges facing up-left, shaded on the others.
        const bool lit = std::min(fromLeft, fromTop) <= std::min(fromRight, fromBottom);
        return c * (lit ? 1.3 : 0.65);
    }
    const double inset = edge - 4.0;  // distance inside the flat face
    switch (panel.kind) {
        case PanelKind::Plain:
            for (double cu : {kRibWidth + 8, kSegment - 8})
                for (double cv : {8.0, kPanelRows * kRowLength - 8}) {
                    const double d = std::hypot(along - cu, fromTop - cv);
                    c = mix(c, Colour{24, 26, 32}, smoothstep(2.2, 1.6, d));
                    c = mix(c, Colour{170, 175, 185}, smoothstep(1.4, 0.6, d));
                }
            break;
        case PanelKind::Grille:
            if (inset > 3.0) {
                const double slat = wrapInto(along, 4.0);
                const double gap = smoothstep(1.2, 1.8, slat) * smoothstep(3.8, 3.2, slat);
                const Colour slats = mix(Colour{100, 104, 112}, Colour{40, 40, 46}, slat / 4.0);
                const Colour behind = mix(Colour{60, 14, 6}, Colour{255, 110, 30}, smoothstep(3.0, 14.0, inset));
                c = mix(slats, behind, gap);
            } else if (inset > 2.0) {
                c = {18, 18, 22};
            }
            break;
        case PanelKind::Display:
            if (inset > 3.0) {
                // A vent grate: two broad slots across, three down, each
                // lit a dim teal from behind and fading softly into the bars
                // between them, so the grate stays calm when the wall
                // streams past and is drawn small far down the tunnel.
                const double u = along - kRibWidth - 7.0, v = fromTop - 7.0;
                const double slotU = (kSegment - kRibWidth - 14.0) / 2.0, slotV = (kPanelRows * kRowLength - 14.0) / 3.0;
                const double du = std::fabs(wrapInto(u, slotU) - slotU / 2) - (slotU / 2 - 3.0);
                const double dv = std::fabs(wrapInto(v, slotV) - slotV / 2) - (slotV / 2 - 3.0);
                const double open = smoothstep(2.0, -2.0, std::max(du, dv));
                const double glow = 0.7 + 0.3 * std::cos(kPi * (fromTop / (kPanelRows * kRowLength) - 0.5));
                c = mix(c * 0.55, Colour{30, 125, 118} * glow, open);
            } else if (inset > 2.0) {
                c = {14, 16, 20};
            }
            break;
        case PanelKind::Hazard: {
            const double band = std::fabs(fromTop - kPanelRows * kRowLength / 2);
            if (band < 14.0) {
                const double stripe = wrapInto(along + fromTop * 0.9, 12.0);
                c = stripe < 6.0 ? Colour{215, 160, 30} : Colour{44, 38, 28};
                if (band > 12.5) c = {16, 16, 18};
            }
            break;
        }
    }
    return c;
}

// Pipes running along the tunnel over the panels (and through the ribs, where
// they are held by collars): a copper pair and one thick steel main.
struct Conduit {
    double row, radius;  // centre row and radius in rows
    Colour tint;
};
constexpr Conduit kConduits[] = {{38.0, 2.6, {200, 110, 60}}, {44.5, 2.6, {200, 110, 60}}, {170.0, 4.0, {110, 130, 160}}};

Colour addConduits(Colour c, double along, double row) {
    for (const Conduit& p : kConduits) {
        const double s = wrappedDelta(row, p.row, kWallSize) / p.radius;
        if (std::fabs(s) >= 1.0) {
            // Shadow on the wall beside the pipe.
            c = c * (1.0 - 0.6 * smoothstep(1.8, 1.0, std::fabs(s)));
            continue;
        }
        const double nz = std::sqrt(1.0 - s * s);
        const double light = std::max(0.0, 0.85 * nz - 0.5 * s);
        const bool collar = wrapInto(along, kSegment) < kRibWidth - 2 && wrapInto(along, kSegment) > 2;
        const Colour tint = collar ? Colour{70, 70, 74} : p.tint;
        c = tint * (0.2 + 0.8 * light) + Colour{255, 240, 220} * (0.9 * std::pow(light, 24.0));
    }
    return c;
}

// Light: a cyan strip set into two seams along the tunnel (hidden by the
// ribs, so it flashes past in dashes) and an amber lamp ring on every other rib.
Colour addLights(Colour c, double along, double row) {
    const double inPanel = wrapInto(along, kSegment) >= kRibWidth ? 1.0 : 0.0;
    const double strip = std::fabs(wrappedDelta(row, 96.0, 128.0)) * kRowLength;
    c = mix(c, Colour{200, 255, 255}, inPanel * smoothstep(1.6, 0.8, strip));
    c = c + Colour{40, 200, 255} * (0.55 * std::exp(-strip / 3.5));
    const double du = wrappedDelta(along, kRibWidth / 2, 2 * kSegment);
    const double dv = wrappedDelta(row, kPanelRows / 2, kPanelRows) * kRowLength;
    const double lamp = std::hypot(du, dv * 1.2);
    c = mix(c, Colour{255, 245, 210}, smoothstep(3.2, 2.2, lamp));
    c = c + Colour{255, 150, 50} * (0.9 * std::exp(-(lamp * lamp) / 60.0) + 0.25 * std::exp(-lamp / 14.0));
    return c;
}

Colour wallAt(double along, double row) {
    const int segment = static_cast<int>(along / kSegment);
    const int panelIndex = static_cast<int>(row / kPanelRows);
    const double segAlong = wrapInto(along, kSegment), panelRow = wrapInto(row, kPanelRows);
    Colour c = segAlong < kRibWidth ? ribColour(segAlong, panelRow)
                                    : panelColour(segAlong, panelRow, panelAt(segment, panelIndex));
    c = addConduits(c, along, row);
    // Grime at two scales, seamless (the noise repeats with the picture).
    const double grime = assetgen::fbm(along / 32.0, row / 32.0, 5, 1231, 8);
    const double stains = assetgen::fbm(along / 8.0, row / 8.0, 3, 1232, 32);
    c = c * (0.62 + 0.5 * grime) * (0.85 + 0.3 * stains);
    return addLights(c, along, row);
}

Canvas tunnelWall() {
    Canvas wall(kWallSize, kWallSize, 3);
    for (int y = 0; y < kWallSize; ++y)
        for (int x = 0; x < kWallSize; ++x) {
            Colour sum;
            for (double sy : {0.25, 0.75})
                for (double sx : {0.25, 0.75}) sum = sum + wallAt(x + sx, y + sy) * 0.25;
            wall.set(x, y, {std::min(sum.r, 255.0), std::min(sum.g, 255.0), std::min(sum.b, 255.0)});
        }
    return wall;
}

// ---- The reflection map ---------------------------------------------------
// The object's texture coordinates come from its view-space normals, the
// picture's centre facing the viewer. Each texel is the surroundings seen
// mirrored in a ball at that normal: blue sky with a sun and two studio light
// bars above, a glowing horizon, and dark rolling ground below.
struct Dir {
    double x, y, z;  // y up, z towards the viewer
};

Colour surroundings(const Dir& d) {
    Colour c;
    if (d.y >= 0) {
        const double clouds = smoothstep(0.5, 0.8, assetgen::fbm3(d.x * 3.0, d.y * 6.0, d.z * 3.0, 5, 2401));
        c = mix(Colour{235, 240, 255}, Colour{30, 70, 170}, std::pow(d.y, 0.45));
        c = mix(c, Colour{250, 250, 255}, clouds * 0.6 * smoothstep(0.0, 0.15, d.y));
    } else {
        // Dark rolling ground: broad soft shapes, no hard pattern, so the
        // spinning object's lower half reads as polished metal, not a board.
        const double depth = -d.y;
        const double gx = d.x / depth, gz = d.z / depth;
        const double ground = assetgen::fbm(gx * 0.35 + 11.0, gz * 0.35 + 7.0, 4, 2411);
        const double ridges = std::pow(1.0 - std::fabs(2.0 * assetgen::fbm(gx * 0.9, gz * 0.9, 3, 2413) - 1.0), 3.0);
        Colour floor = mix(Colour{24, 26, 48}, Colour{96, 76, 92}, ground);
        floor = floor + Colour{120, 80, 60} * (0.4 * ridges);
        c = mix(Colour{150, 118, 112}, floor, smoothstep(0.0, 0.35, depth));
    }
    // The horizon's glow.
    c = c + Colour{255, 200, 150} * (0.7 * std::exp(-std::fabs(d.y) * 22.0));
    // The sun, high up to the left behind the viewer.
    const Dir sun{-0.45, 0.6, 0.66};
    const double sunCos = (d.x * sun.x + d.y * sun.y + d.z * sun.z) / std::sqrt(sun.x * sun.x + sun.y * sun.y + sun.z * sun.z);
    const double sunAngle = std::acos(std::clamp(sunCos, -1.0, 1.0));
    c = c + Colour{255, 250, 230} * (3.0 * std::exp(-sunAngle * sunAngle / 0.004) + 0.4 * std::exp(-sunAngle / 0.25));
    // Two light bars overhead, to the right.
    for (double barX : {0.35, 0.6}) {
        const double across = std::fabs(d.x - barX);
        const double bar = smoothstep(0.06, 0.04, across) * smoothstep(0.2, 0.3, d.y) * smoothstep(0.95, 0.85, d.y) *
                           smoothstep(-0.2, 0.1, d.z);
        c = mix(c, Colour{255, 255, 255}, bar);
    }
    return {std::min(c.r, 255.0), std::min(c.g, 255.0), std::min(c.b, 255.0)};
}

// The mirrored direction for a point of the landscape picture, (-1..1, -1..1)
// across it with y down; points beyond the rim take the rim's normal.
Colour reflectionAt(double px, double py) {
    const double r = std::hypot(px, py);
    if (r > 0.999) px *= 0.999 / r, py *= 0.999 / r;
    const double nx = px, ny = -py, nz = std::sqrt(std::max(0.0, 1.0 - px * px - py * py));
    return surroundings({2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1});
}

Canvas objectMap() {
    constexpr int kSize = 256, kSamples = 3;
    Canvas map(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            Colour sum;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = (x + (sx + 0.5) / kSamples) / (kSize / 2.0) - 1.0;
                    const double py = (y + (sy + 0.5) / kSamples) / (kSize / 2.0) - 1.0;
                    sum = sum + reflectionAt(px, py) * (1.0 / (kSamples * kSamples));
                }
            map.set(x, y, sum);
        }
    return map;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kTunnelWall, tunnelWall());
    // Composed as watched; normals pointing up the landscape view must meet the sky.
    assetgen::addPicture(out, res::kTunnelObjectMap, assetgen::turnToPortrait(objectMap()));
}
