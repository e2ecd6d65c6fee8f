#include "common/lettering.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace assetgen {

namespace {

using Polyline = std::vector<std::pair<double, double>>;

struct Glyph {
    double width = 0;
    std::vector<Polyline> strokes;
};

// Points along an ellipse around (cx, cy) from angle a0 to a1 (degrees, y down,
// 0 to the right, 90 downwards), appended to line.
void arc(Polyline& line, double cx, double cy, double rx, double ry, double a0, double a1) {
    const int steps = std::max(4, static_cast<int>(std::fabs(a1 - a0) / 9.0));
    for (int i = 0; i <= steps; ++i) {
        const double a = (a0 + (a1 - a0) * i / steps) * 3.141592653589793 / 180.0;
        line.emplace_back(cx + rx * std::cos(a), cy + ry * std::sin(a));
    }
}

Polyline arcLine(double cx, double cy, double rx, double ry, double a0, double a1) {
    Polyline line;
    arc(line, cx, cy, rx, ry, a0, a1);
    return line;
}

std::map<char, Glyph> buildGlyphs() {
    std::map<char, Glyph> g;
    g['A'] = {0.78, {{{0, 1}, {0.39, 0}, {0.78, 1}}, {{0.14, 0.64}, {0.64, 0.64}}}};
    {
        Polyline b{{0, 0.5}, {0, 0}, {0.4, 0}};
        arc(b, 0.4, 0.245, 0.245, 0.245, -90, 90);
        b.emplace_back(0, 0.49);
        Polyline c{{0, 0.49}, {0.43, 0.49}};
        arc(c, 0.43, 0.745, 0.255, 0.255, -90, 90);
        c.emplace_back(0, 1);
        c.emplace_back(0, 0.5);
        g['B'] = {0.69, {b, c}};
    }
    g['C'] = {0.78, {arcLine(0.48, 0.5, 0.48, 0.5, -45, -315)}};
    {
        Polyline d{{0, 0}, {0.3, 0}};
        arc(d, 0.3, 0.5, 0.45, 0.5, -90, 90);
        d.emplace_back(0, 1);
        d.emplace_back(0, 0);
        g['D'] = {0.75, {d}};
    }
    g['E'] = {0.62, {{{0.62, 0}, {0, 0}, {0, 1}, {0.62, 1}}, {{0, 0.5}, {0.5, 0.5}}}};
    g['F'] = {0.6, {{{0.6, 0}, {0, 0}, {0, 1}}, {{0, 0.5}, {0.48, 0.5}}}};
    {
        Polyline l = arcLine(0.48, 0.5, 0.48, 0.5, -45, -360);
        l.emplace_back(0.5, 0.5);
        g['G'] = {0.8, {l}};
    }
    g['H'] = {0.72, {{{0, 0}, {0, 1}}, {{0.72, 0}, {0.72, 1}}, {{0, 0.5}, {0.72, 0.5}}}};
    g['I'] = {0.0, {{{0, 0}, {0, 1}}}};
    {
        Polyline j{{0.5, 0}, {0.5, 0.72}};
        arc(j, 0.25, 0.72, 0.25, 0.28, 0, 180);
        g['J'] = {0.5, {j}};
    }
    g['K'] = {0.68, {{{0, 0}, {0, 1}}, {{0.66, 0}, {0, 0.62}}, {{0.2, 0.44}, {0.68, 1}}}};
    g['L'] = {0.58, {{{0, 0}, {0, 1}, {0.58, 1}}}};
    g['M'] = {0.9, {{{0, 1}, {0, 0}, {0.45, 0.62}, {0.9, 0}, {0.9, 1}}}};
    g['N'] = {0.74, {{{0, 1}, {0, 0}, {0.74, 1}, {0.74, 0}}}};
    g['O'] = {0.9, {arcLine(0.45, 0.5, 0.45, 0.5, 0, 360)}};
    {
        Polyline p{{0, 1}, {0, 0}, {0.38, 0}};
        arc(p, 0.38, 0.27, 0.27, 0.27, -90, 90);
        p.emplace_back(0, 0.54);
        g['P'] = {0.65, {p}};
    }
    g['Q'] = {0.9, {arcLine(0.45, 0.5, 0.45, 0.5, 0, 360), {{0.56, 0.7}, {0.92, 1.04}}}};
    {
        Polyline r{{0, 1}, {0, 0}, {0.38, 0}};
        arc(r, 0.38, 0.27, 0.27, 0.27, -90, 90);
        r.emplace_back(0, 0.54);
        g['R'] = {0.68, {r, {{0.34, 0.54}, {0.68, 1}}}};
    }
    {
        Polyline s = arcLine(0.33, 0.255, 0.33, 0.255, -25, -270);
        arc(s, 0.35, 0.755, 0.35, 0.245, -90, 155);
        g['S'] = {0.68, {s}};
    }
    g['T'] = {0.72, {{{0, 0}, {0.72, 0}}, {{0.36, 0}, {0.36, 1}}}};
    {
        Polyline u{{0, 0}, {0, 0.62}};
        arc(u, 0.36, 0.62, 0.36, 0.38, 180, 0);
        u.emplace_back(0.72, 0);
        g['U'] = {0.72, {u}};
    }
    g['V'] = {0.76, {{{0, 0}, {0.38, 1}, {0.76, 0}}}};
    g['W'] = {1.04, {{{0, 0}, {0.26, 1}, {0.52, 0.3}, {0.78, 1}, {1.04, 0}}}};
    g['X'] = {0.72, {{{0, 0}, {0.72, 1}}, {{0.72, 0}, {0, 1}}}};
    g['Y'] = {0.74, {{{0, 0}, {0.37, 0.52}, {0.74, 0}}, {{0.37, 0.52}, {0.37, 1}}}};
    g['Z'] = {0.68, {{{0, 0}, {0.68, 0}, {0, 1}, {0.68, 1}}}};
    g['0'] = {0.64, {arcLine(0.32, 0.5, 0.32, 0.5, 0, 360)}};
    g['1'] = {0.32, {{{0, 0.22}, {0.3, 0}, {0.3, 1}}}};
    {
        Polyline two = arcLine(0.31, 0.29, 0.31, 0.29, -165, 25);
        two.emplace_back(0, 1);
        two.emplace_back(0.64, 1);
        g['2'] = {0.64, {two}};
    }
    {
        Polyline three = arcLine(0.3, 0.25, 0.29, 0.25, -155, 90);
        arc(three, 0.3, 0.745, 0.33, 0.255, -90, 155);
        g['3'] = {0.64, {three}};
    }
    g['4'] = {0.7, {{{0.52, 1}, {0.52, 0}, {0, 0.7}, {0.7, 0.7}}}};
    {
        Polyline five{{0.6, 0}, {0.06, 0}, {0.02, 0.46}};
        arc(five, 0.31, 0.69, 0.33, 0.31, -128, 150);
        g['5'] = {0.64, {five}};
    }
    g['6'] = {0.64, {arcLine(0.32, 0.7, 0.32, 0.3, 0, 360), arcLine(0.6, 0.66, 0.58, 0.66, 180, 262)}};
    g['7'] = {0.64, {{{0, 0}, {0.64, 0}, {0.22, 1}}}};
    g['8'] = {0.64, {arcLine(0.32, 0.25, 0.27, 0.25, 0, 360), arcLine(0.32, 0.735, 0.32, 0.265, 0, 360)}};
    g['9'] = {0.64, {arcLine(0.32, 0.3, 0.32, 0.3, 0, 360), arcLine(0.04, 0.34, 0.58, 0.66, 0, 82)}};
    g[','] = {0.12, {{{0.12, 0.9}, {0.0, 1.16}}}};
    g['.'] = {0.02, {{{0.01, 0.97}, {0.01, 1.0}}}};
    g['-'] = {0.4, {{{0, 0.56}, {0.4, 0.56}}}};
    g['*'] = {0.36, {{{0, 0.5}, {0.18, 0.32}, {0.36, 0.5}, {0.18, 0.68}, {0, 0.5}}}};
    g['!'] = {0.02, {{{0.01, 0}, {0.01, 0.68}}, {{0.01, 0.97}, {0.01, 1.0}}}};
    g[':'] = {0.02, {{{0.01, 0.3}, {0.01, 0.33}}, {{0.01, 0.97}, {0.01, 1.0}}}};
    g[' '] = {0.3, {}};
    return g;
}

const std::map<char, Glyph>& glyphs() {
    static const std::map<char, Glyph> table = buildGlyphs();
    return table;
}

const Glyph* glyphFor(char ch) {
    const auto& table = glyphs();
    auto it = table.find(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
    return it == table.end() ? nullptr : &it->second;
}

double segmentDistance(double px, double py, const Segment& s) {
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - s.x0) * dx + (py - s.y0) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.x0 + t * dx), py - (s.y0 + t * dy));
}

}  // namespace

double textWidth(const std::string& text, const TextLayout& layout) {
    double w = 0;
    int count = 0;
    for (char ch : text) {
        const Glyph* g = glyphFor(ch);
        if (!g) continue;
        if (count++ > 0) w += layout.spacing;
        w += g->width;
    }
    return w * layout.capHeight;
}

std::vector<Segment> layoutText(const std::string& text, double x, double top, const TextLayout& layout) {
    std::vector<Segment> out;
    const double h = layout.capHeight;
    double pen = 0;
    int count = 0;
    for (char ch : text) {
        const Glyph* g = glyphFor(ch);
        if (!g) continue;
        if (count++ > 0) pen += layout.spacing;
        for (const Polyline& line : g->strokes) {
            for (size_t i = 0; i + 1 < line.size(); ++i) {
                auto place = [&](std::pair<double, double> p) {
                    const double lean = layout.slant * (1.0 - p.second);
                    return std::pair<double, double>{x + (pen + p.first + lean) * h, top + p.second * h};
                };
                const auto a = place(line[i]), b = place(line[i + 1]);
                out.push_back({a.first, a.second, b.first, b.second});
            }
        }
        pen += g->width;
    }
    return out;
}

std::vector<double> distanceField(const std::vector<Segment>& segments, int width, int height, double maxDistance,
                                  double scaleX, double scaleY) {
    std::vector<double> field(static_cast<size_t>(width) * height, maxDistance);
    for (const Segment& s : segments) {
        // Only the pixels whose centres can lie within maxDistance of the segment.
        const double lx = std::min(s.x0, s.x1) - maxDistance, hx = std::max(s.x0, s.x1) + maxDistance;
        const double ly = std::min(s.y0, s.y1) - maxDistance, hy = std::max(s.y0, s.y1) + maxDistance;
        const int i0 = std::max(0, static_cast<int>(std::floor(lx / scaleX - 0.5)));
        const int i1 = std::min(width - 1, static_cast<int>(std::ceil(hx / scaleX)));
        const int j0 = std::max(0, static_cast<int>(std::floor(ly / scaleY - 0.5)));
        const int j1 = std::min(height - 1, static_cast<int>(std::ceil(hy / scaleY)));
        for (int j = j0; j <= j1; ++j) {
            for (int i = i0; i <= i1; ++i) {
                const double d = segmentDistance((i + 0.5) * scaleX, (j + 0.5) * scaleY, s);
                double& f = field[static_cast<size_t>(j) * width + i];
                f = std::min(f, d);
            }
        }
    }
    return field;
}

double strokeCoverage(double d, double halfWidth) { return std::clamp(halfWidth - d + 0.5, 0.0, 1.0); }

}  // namespace assetgen
