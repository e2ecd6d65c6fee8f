// The font strip: JPEG 163 (brightness) and 164 (coverage), 1264 x 32 grey.
// Block capitals built from rectangles, rounded rectangles and slanted bars,
// rendered with 8 x 8 supersampling. Straight edges sit on whole font pixels
// and every stroke is an even number of pixels wide (stems 6, bars 4), so the
// text drawer, which samples every second pixel, gets clean 3- and 2-pixel
// strokes. The coverage picture is each shape widened by about 3 pixels with
// a soft edge: white letters in a dark halo.

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>
#include <vector>

#include "assets/resource_ids.h"
#include "common/jpeg.h"
#include "common/output.h"

namespace {

constexpr int kStripWidth = 1264;
constexpr int kHeight = 32;
constexpr int kSupersample = 8;

using Shape = std::function<bool(double, double)>;

struct Point {
    double x, y;
};

Shape rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

// Rectangle with corner radii top-left, top-right, bottom-right, bottom-left.
Shape rrect(double x0, double y0, double x1, double y1, double tl, double tr, double br, double bl) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        auto outside = [&](double cx, double cy, double r) {
            return std::hypot(x - cx, y - cy) > r;
        };
        if (x < x0 + tl && y < y0 + tl && outside(x0 + tl, y0 + tl, tl)) return false;
        if (x > x1 - tr && y < y0 + tr && outside(x1 - tr, y0 + tr, tr)) return false;
        if (x > x1 - br && y > y1 - br && outside(x1 - br, y1 - br, br)) return false;
        if (x < x0 + bl && y > y1 - bl && outside(x0 + bl, y1 - bl, bl)) return false;
        return true;
    };
}

Shape rrect(double x0, double y0, double x1, double y1, double r) { return rrect(x0, y0, x1, y1, r, r, r, r); }

// Convex polygon, corners in either winding order.
Shape poly(std::vector<Point> corners) {
    return [corners](double x, double y) {
        int sign = 0;
        for (size_t i = 0; i < corners.size(); ++i) {
            const Point& a = corners[i];
            const Point& b = corners[(i + 1) % corners.size()];
            const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
            const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
            if (s == 0) continue;
            if (sign == 0) sign = s;
            if (s != sign) return false;
        }
        return true;
    };
}

// A slanted bar from (x0, y0) to (x1, y1), cut flat at both ends, halfWidth
// measured along the rows.
Shape diag(double x0, double y0, double x1, double y1, double halfWidth) {
    return poly({{x0 - halfWidth, y0}, {x0 + halfWidth, y0}, {x1 + halfWidth, y1}, {x1 - halfWidth, y1}});
}

Shape any(std::initializer_list<Shape> parts) {
    std::vector<Shape> all(parts);
    return [all](double x, double y) {
        for (const auto& s : all)
            if (s(x, y)) return true;
        return false;
    };
}

Shape minus(Shape base, std::initializer_list<Shape> holes) {
    std::vector<Shape> all(holes);
    return [base, all](double x, double y) {
        if (!base(x, y)) return false;
        for (const auto& s : all)
            if (s(x, y)) return false;
        return true;
    };
}

// The letter box of a wide glyph: stems 6 wide, bars 4 high, middle bar at 14..18.
constexpr double L = 6, R = 26, T = 4, B = 28;
constexpr double Ro = 8, Ri = 3;  // outer and inner corner radii

Shape ring() { return minus(rrect(L, T, R, B, Ro), {rrect(L + 6, T + 4, R - 6, B - 4, Ri)}); }

struct Glyph {
    int offset, width;
    Shape shape;
};

std::vector<Glyph> glyphs() {
    std::vector<Glyph> g;
    auto wide = [&](int offset, Shape s) { g.push_back({offset, 32, std::move(s)}); };
    auto narrow = [&](int offset, Shape s) { g.push_back({offset, 16, std::move(s)}); };
    auto letter = [&](char c, Shape s) {
        const int offset = c <= 'H' ? 32 + (c - 'A') * 32 : 304 + (c - 'J') * 32;
        wide(offset, std::move(s));
    };
    const Shape stemLeft = rect(L, T, L + 6, B);
    const Shape stemRight = rect(R - 6, T, R, B);
    const Shape midBar = rect(L, 14, R, 18);

    letter('A', minus(rrect(L, T, R, B, Ro, Ro, 0, 0), {rrect(12, 8, 20, 14, Ri, Ri, 0, 0), rect(12, 18, 20, B)}));
    letter('B', minus(any({rrect(L, T, 24, 18, 0, Ro - 1, 0, 0), rrect(L, 14, R, B, 0, Ro, Ro, 0)}),
                      {rrect(12, 8, 18, 14, 0, Ri - 1, Ri - 1, 0), rrect(12, 18, 20, 24, 0, Ri, Ri, 0)}));
    letter('C', minus(ring(), {rect(19, 12, R + 1, 20)}));
    letter('D', minus(rrect(L, T, R, B, 0, Ro, Ro, 0), {rrect(12, 8, 20, 24, 0, Ri, Ri, 0)}));
    letter('E', any({stemLeft, rect(L, T, R, 8), rect(L, 14, 23, 18), rect(L, 24, R, B)}));
    letter('F', any({stemLeft, rect(L, T, R, 8), rect(L, 14, 23, 18)}));
    letter('G', any({minus(ring(), {rect(19, 8, R + 1, 14)}), rect(15, 14, R, 18)}));
    letter('H', any({stemLeft, stemRight, midBar}));
    narrow(288, rect(5, T, 11, B));  // I
    letter('J', minus(rrect(L, T, R, B, 0, 0, Ro, Ro), {rrect(12, 0, 20, 24, 0, 0, Ri, Ri), rect(0, 0, 12, 17)}));
    letter('K', any({stemLeft, diag(22.5, T, 13, 17, 3.5), diag(15.5, 14, 22.5, B, 3.5)}));
    letter('L', any({stemLeft, rect(L, 24, R - 1, B)}));
    letter('M', any({rect(4, T, 10, B), rect(22, T, 28, B), diag(7, T, 16, 21, 3.5), diag(25, T, 16, 21, 3.5)}));
    letter('N', any({stemLeft, stemRight, diag(9.5, T, 22.5, B, 3.5)}));
    letter('O', minus(rrect(5, T, 27, B, 10), {rrect(11, 8, 21, 24, 5)}));
    letter('P', any({stemLeft, minus(rrect(L, T, R, 18, 0, Ro, Ro, 0), {rrect(12, 8, 20, 14, 0, Ri, Ri, 0)})}));
    letter('Q', any({minus(rrect(5, T, 27, B, 10), {rrect(11, 8, 21, 24, 5)}), diag(18.5, 20, 25.5, 30, 3)}));
    letter('R', any({stemLeft, minus(rrect(L, T, R, 18, 0, Ro, Ro, 0), {rrect(12, 8, 20, 14, 0, Ri, Ri, 0)}),
                     diag(16, 18, 23, B, 3)}));
    letter('S', any({minus(rrect(L, T, R, 18, Ro, Ro, 0, Ro), {rect(12, 8, R + 1, 14), rect(20, 14, R + 1, 18)}),
                     minus(rrect(L, 14, R, B, 0, Ro, Ro, Ro), {rect(L - 1, 18, 20, 24), rect(L - 1, 14, 12, 18)})}));
    letter('T', any({rect(L, T, R, 8), rect(13, T, 19, B)}));
    letter('U', minus(rrect(L, T, R, B, 0, 0, Ro, Ro), {rrect(12, 0, 20, 24, 0, 0, Ri, Ri)}));
    letter('V', any({diag(9, T, 16, B, 3), diag(23, T, 16, B, 3)}));
    letter('W', any({rect(4, T, 10, B), rect(22, T, 28, B), diag(7, B, 16, 11, 3.5), diag(25, B, 16, 11, 3.5)}));
    letter('X', any({diag(9.5, T, 22.5, B, 3.5), diag(22.5, T, 9.5, B, 3.5)}));
    letter('Y', any({diag(9, T, 16, 17, 3.5), diag(23, T, 16, 17, 3.5), rect(13, 16, 19, B)}));
    letter('Z', any({rect(L, T, R, 8), rect(L, 24, R, B), diag(22, 8, 10, 24, 3.5)}));

    auto digit = [&](int d, Shape s) { wide(848 + d * 32, std::move(s)); };
    digit(0, minus(rrect(7, T, 25, B, Ro), {rrect(13, 8, 19, 24, Ri - 1)}));
    digit(1, any({rect(14, T, 20, B), poly({{14, T}, {20, T}, {20, 9}, {9, 14}, {9, 9}}), rect(9, 24, 25, B)}));
    digit(2, any({minus(rrect(L, T, R, 18, Ro, Ro, Ro, 0), {rect(L - 1, 8, 20, 14), rect(L - 1, 14, 12, 18)}),
                  minus(rrect(L, 14, R, B, Ro, 0, 0, 0), {rect(12, 18, R + 1, 24), rect(20, 14, R + 1, 18)})}));
    digit(3, minus(rrect(L, T, R, B, Ro), {rect(L - 1, 8, 20, 14), rect(L - 1, 18, 20, 24), rect(L - 1, 14, 11, 18)}));
    digit(4, any({rect(L, T, 12, 21), rect(L, 17, R, 21), rect(18, T, 24, B)}));
    digit(5, any({rect(L, T, R, 8), rect(L, T, 12, 18),
                  minus(rrect(L, 14, R, B, 0, Ro, Ro, 0), {rect(L - 1, 18, 20, 24)})}));
    digit(6, minus(rrect(L, T, R, B, Ro), {rrect(12, 18, 20, 24, Ri), rect(12, 8, R + 1, 14)}));
    digit(7, any({rect(L, T, R, 8), diag(23, 8, 14, B, 3.5)}));
    digit(8, minus(any({rrect(7, T, 25, 18, Ro - 1), rrect(L, 14, R, B, Ro)}),
                   {rrect(13, 8, 19, 14, Ri - 1), rrect(12, 18, 20, 24, Ri)}));
    digit(9, minus(rrect(L, T, R, B, Ro), {rrect(12, 8, 20, 14, Ri), rect(L - 1, 18, 20, 24)}));

    wide(1168, diag(23, T, 9, B, 3.5));                                                    // /
    narrow(1200, any({rect(5, 20, 11, 26), poly({{7, 26}, {11, 26}, {8, 31}, {4, 31}})}));  // ,
    narrow(1216, rect(5, 22, 11, B));                                                      // .
    narrow(1232, any({rect(5, 10, 11, 16), rect(5, 22, 11, B)}));                        // :
    narrow(1248, any({rect(3, T, 7, 12), rect(9, T, 13, 12)}));                           // "
    return g;
}

// Exact Euclidean distance transform along one line (Felzenszwalb-Huttenlocher):
// f holds squared distances, returns the lower envelope in place.
void distanceLine(std::vector<double>& f) {
    const int n = static_cast<int>(f.size());
    std::vector<double> d(n), z(n + 1);
    std::vector<int> v(n);
    int k = 0;
    v[0] = 0;
    z[0] = -std::numeric_limits<double>::infinity();
    z[1] = std::numeric_limits<double>::infinity();
    for (int q = 1; q < n; ++q) {
        auto meet = [&](int p) { return ((f[q] + q * double(q)) - (f[p] + p * double(p))) / (2.0 * (q - p)); };
        double s = meet(v[k]);
        while (s <= z[k]) s = meet(v[--k]);  // z[0] is -infinity: stops at k = 0
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = std::numeric_limits<double>::infinity();
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        d[q] = (q - v[k]) * double(q - v[k]) + f[v[k]];
    }
    f.swap(d);
}

// Distance (in samples) from every sample to the nearest inside sample.
std::vector<double> distanceToShape(const std::vector<bool>& inside, int w, int h) {
    const double far = 1e12;
    std::vector<double> dist(inside.size());
    for (size_t i = 0; i < inside.size(); ++i) dist[i] = inside[i] ? 0.0 : far;
    std::vector<double> line;
    for (int x = 0; x < w; ++x) {
        line.assign(h, 0);
        for (int y = 0; y < h; ++y) line[y] = dist[y * w + x];
        distanceLine(line);
        for (int y = 0; y < h; ++y) dist[y * w + x] = line[y];
    }
    for (int y = 0; y < h; ++y) {
        line.assign(dist.begin() + y * w, dist.begin() + (y + 1) * w);
        distanceLine(line);
        for (int x = 0; x < w; ++x) dist[y * w + x] = std::sqrt(line[x]);
    }
    return dist;
}

// Opacity of the halo at a distance (font pixels) from the letter: solid up
// to 1.5 pixels, gone beyond 4.5.
double halo(double distance) {
    const double t = std::clamp((distance - 1.5) / 3.0, 0.0, 1.0);
    return 1.0 - t * t * (3 - 2 * t);
}

void renderGlyph(const Glyph& glyph, std::vector<double>& brightness, std::vector<double>& coverage) {
    const int w = glyph.width * kSupersample, h = kHeight * kSupersample;
    std::vector<bool> inside(static_cast<size_t>(w) * h);
    for (int sy = 0; sy < h; ++sy)
        for (int sx = 0; sx < w; ++sx)
            inside[sy * w + sx] = glyph.shape((sx + 0.5) / kSupersample, (sy + 0.5) / kSupersample);
    const std::vector<double> dist = distanceToShape(inside, w, h);
    const double samples = kSupersample * kSupersample;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            double in = 0, cover = 0;
            for (int sy = y * kSupersample; sy < (y + 1) * kSupersample; ++sy) {
                for (int sx = x * kSupersample; sx < (x + 1) * kSupersample; ++sx) {
                    in += inside[sy * w + sx] ? 1 : 0;
                    cover += halo(dist[sy * w + sx] / kSupersample);
                }
            }
            const size_t at = static_cast<size_t>(y) * kStripWidth + glyph.offset + x;
            brightness[at] = 255.0 * in / samples;
            coverage[at] = 255.0 * cover / samples;
        }
    }
}

std::vector<uint8_t> toBytes(const std::vector<double>& values) {
    std::vector<uint8_t> bytes(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        bytes[i] = static_cast<uint8_t>(std::clamp(std::lround(values[i]), 0L, 255L));
    return bytes;
}

}  // namespace

void generate(assetgen::Output& out) {
    std::vector<double> brightness(static_cast<size_t>(kStripWidth) * kHeight, 0.0);
    std::vector<double> coverage(brightness.size(), 0.0);
    for (const Glyph& glyph : glyphs()) renderGlyph(glyph, brightness, coverage);
    // High quality keeps the edges clean and the blank columns at zero.
    out.add("JPEG", res::kFontBrightness, assetgen::encodeJpeg(toBytes(brightness), kStripWidth, kHeight, 1, 98));
    out.add("JPEG", res::kFontCoverage, assetgen::encodeJpeg(toBytes(coverage), kStripWidth, kHeight, 1, 98));
}
