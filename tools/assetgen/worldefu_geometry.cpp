#include "worldefu_geometry.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/bytes.h"

namespace globe {

namespace {

// Camera distance in planet radii: from this far a cap of about 148 degrees
// of the planet is visible, so the disc shows 210 of the 512 longitude rows.
constexpr double kCameraDistance = 3.52;

// The ring of lettering: a ribbon (a short open cylinder) around the planet,
// its axis leaning towards the camera so that the near side passes below the
// planet's centre and the far side above it.
constexpr double kRingRadius = 1.27;
constexpr double kRingHalfHeight = 0.085;
constexpr double kRingTilt = 0.105;  // radians
// The ring row facing the camera. While the script reveals the text its
// leading edge stays near row 22 of the ring and the wiping edge near row
// 326, so this puts the one at the right-hand side of the ring and the other
// at its left-hand side: the lettering comes round the right, runs across
// the front and goes away round the left.
constexpr double kFrontRow = 174.0;

double focalLength() { return kDiscRadius * std::sqrt(kCameraDistance * kCameraDistance - 1.0); }

Vec3 add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 scale(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Ray {
    Vec3 origin, dir;
};

// The ray through the centre of landscape pixel (column, row).
Ray rayThrough(int column, int row) {
    const double f = focalLength();
    return {{0, 0, kCameraDistance}, {(column + 0.5 - kCentreX) / f, -(row + 0.5 - kCentreY) / f, -1.0}};
}

// Nearest positive distance along the ray to the unit sphere.
std::optional<double> hitSphere(const Ray& ray) {
    const double a = dot(ray.dir, ray.dir), b = 2 * dot(ray.origin, ray.dir), c = dot(ray.origin, ray.origin) - 1;
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return std::nullopt;
    return (-b - std::sqrt(disc)) / (2 * a);
}

// The ring's own frame: right stays +x, up is the tilted axis, front points
// from the centre towards the camera side of the ring.
const Vec3 kRingUp{0, std::cos(kRingTilt), std::sin(kRingTilt)};
const Vec3 kRingFront{0, -std::sin(kRingTilt), std::cos(kRingTilt)};
const Vec3 kRingRight{1, 0, 0};

// Texture reference (row * 32 + column) of the ribbon point at distance t
// along the ray, or 0xFFFF when the point lies above or below the ribbon.
uint32_t ribbonTexel(const Ray& ray, double t) {
    const Vec3 p = add(ray.origin, scale(ray.dir, t));
    const double s = dot(p, kRingUp);
    if (std::fabs(s) >= kRingHalfHeight) return 0xFFFF;
    const double angle = std::atan2(dot(p, kRingRight), dot(p, kRingFront));  // 0 facing the camera
    // Rows fall to the right on the near side, so lettering written towards
    // falling rows reads left to right there and runs leftwards as the text
    // angle falls.
    int row = static_cast<int>(std::floor(kFrontRow - angle * 512.0 / (2 * kPi)));
    row = ((row % 512) + 512) % 512;
    const int column = std::clamp(static_cast<int>((kRingHalfHeight - s) / (2 * kRingHalfHeight) * 32.0), 0, 31);
    return static_cast<uint32_t>(row * 32 + column);
}

}  // namespace

Vec3 texelDirection(double u, double v) {
    const double colat = (u + 0.5) * kPi / 256.0;
    const double lon = (v + 0.5 - 256.0) * kPi / 256.0;
    return {std::sin(colat) * std::sin(lon), std::cos(colat), std::sin(colat) * std::cos(lon)};
}

std::vector<uint8_t> sphereMap() {
    std::vector<uint8_t> out;
    out.reserve(240 * 240 * 4);
    for (int r = 0; r < 240; ++r) {      // back-buffer row 40 + r: landscape column 279 - r
        for (int c = 0; c < 240; ++c) {  // back-buffer column c: landscape row c
            const Ray ray = rayThrough(279 - r, c);
            const auto t = hitSphere(ray);
            if (!t) {
                assetgen::appendLe32(out, 0xFFFFFFFFu);
                continue;
            }
            const Vec3 p = add(ray.origin, scale(ray.dir, *t));
            const double colat = std::acos(std::clamp(p.y, -1.0, 1.0));
            const double lon = std::atan2(p.x, p.z);
            const int u = std::clamp(static_cast<int>(std::floor(colat * 256.0 / kPi)), 0, 255);
            const int v = (static_cast<int>(std::floor(256.0 + lon * 256.0 / kPi)) + 512) % 512;
            assetgen::appendLe32(out, static_cast<uint32_t>(v * 256 + u));
        }
    }
    return out;
}

std::vector<uint8_t> ringMap() {
    std::vector<uint8_t> out;
    out.reserve(64 * 320 * 4);
    for (int y = 0; y < 320; ++y) {     // back-buffer row y: landscape column 319 - y
        for (int x = 0; x < 64; ++x) {  // back-buffer column 88 + x: landscape row 88 + x
            const Ray ray = rayThrough(319 - y, 88 + x);
            // The ribbon in ring coordinates: an infinite cylinder around kRingUp.
            const double ox = dot(ray.origin, kRingRight), oz = dot(ray.origin, kRingFront);
            const double dx = dot(ray.dir, kRingRight), dz = dot(ray.dir, kRingFront);
            const double a = dx * dx + dz * dz, b = 2 * (ox * dx + oz * dz), c = ox * ox + oz * oz - kRingRadius * kRingRadius;
            const double disc = b * b - 4 * a * c;
            uint32_t nearSide = 0xFFFF, farSide = 0xFFFF;
            if (disc >= 0 && a > 0) {
                const double t1 = (-b - std::sqrt(disc)) / (2 * a), t2 = (-b + std::sqrt(disc)) / (2 * a);
                nearSide = ribbonTexel(ray, t1);
                const auto planet = hitSphere(ray);
                if (!planet || *planet > t2) farSide = ribbonTexel(ray, t2);
            }
            assetgen::appendLe32(out, farSide | (nearSide << 16));
        }
    }
    return out;
}

}  // namespace globe
