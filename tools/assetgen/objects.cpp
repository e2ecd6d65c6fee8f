// The four 3D objects of the show, as 3D Studio mesh files (OBJ resources).
//
// Each is a closed surface built on a parametric grid, shaped to catch the
// environment map as it spins: sharp twisted ridges, knobs and lobes give
// the reflection something to slide over. File coordinates have z up; the
// sizes suit the scale and camera distance of the effect that shows each one.

#include <cmath>
#include <cstdio>
#include <string>

#include "common/output.h"
#include "object_chunks.h"
#include "object_shapes.h"

using assetgen::TriangleMesh;
using assetgen::Vec3;

namespace {

constexpr double kPi = 3.14159265358979323846;

Vec3 polar(double radius, double theta, double phi) {
    return {radius * std::sin(theta) * std::cos(phi), radius * std::sin(theta) * std::sin(phi),
            radius * std::cos(theta)};
}

// OBJ 111: a spindle-shaped star of six sharp ridges that twist a third of
// a turn from pole to pole. 12 rings of 18: 218 vertices, 432 triangles.
TriangleMesh twistedStar() {
    const int rings = 12, segments = 18;
    return assetgen::sphereGrid(rings, segments, [=](int ring, int segment) {
        const double theta = kPi * (ring + 1) / (rings + 1);
        const double h = std::cos(theta);
        const bool ridge = segment % 3 == 0;
        const double phi = 2 * kPi * segment / segments + (kPi / 3) * h;
        const double body = std::pow(std::sin(theta), 0.8);
        const double across = (ridge ? 4.3 : 2.5) * body;
        return Vec3{across * std::cos(phi), across * std::sin(phi), 3.4 * h};
    });
}

// OBJ 122: a ball with eight knobs at the corners of a cube and six smaller
// ones between them. 16 rings of 16: 258 vertices, 512 triangles.
TriangleMesh knobbedBall() {
    const int rings = 16, segments = 16;
    const double c = 1 / std::sqrt(3.0);
    const Vec3 corners[8] = {{c, c, c}, {-c, c, c}, {c, -c, c}, {-c, -c, c},
                             {c, c, -c}, {-c, c, -c}, {c, -c, -c}, {-c, -c, -c}};
    const Vec3 faces[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    return assetgen::sphereGrid(rings, segments, [&](int ring, int segment) {
        const double theta = kPi * (ring + 1) / (rings + 1);
        const double phi = 2 * kPi * segment / segments;
        const Vec3 d = polar(1, theta, phi);
        double r = 2.2;
        for (const Vec3& k : corners) {
            const double a = std::max(0.0, d.x * k.x + d.y * k.y + d.z * k.z);
            r += 1.2 * std::pow(a, 12);
        }
        for (const Vec3& k : faces) {
            const double a = std::max(0.0, d.x * k.x + d.y * k.y + d.z * k.z);
            r += 0.5 * std::pow(a, 12);
        }
        return polar(r, theta, phi);
    });
}

// OBJ 125: a ring whose three-lobed cross-section turns once around its
// tube on the way round. 24 sections of 12: 288 vertices, 576 triangles.
TriangleMesh twistedRing() {
    const int around = 24, tube = 12;
    return assetgen::torusGrid(around, tube, [=](int section, int point) {
        const double u = 2 * kPi * section / around;
        const double lobe = point % 4 == 0 ? 1.35 : (point % 2 == 0 ? 0.62 : 0.8);
        const double psi = 2 * kPi * point / tube + u;
        const double major = 3.1;
        const double radial = major + lobe * std::cos(psi);
        return Vec3{radial * std::cos(u), radial * std::sin(u), lobe * std::sin(psi)};
    });
}

// OBJ 146: a star fruit of five ridges twisting half a turn from pole to
// pole. 15 rings of 20: 302 vertices, 600 triangles.
TriangleMesh starFruit() {
    const int rings = 15, segments = 20;
    return assetgen::sphereGrid(rings, segments, [=](int ring, int segment) {
        const double theta = kPi * (ring + 1) / (rings + 1);
        const double h = std::cos(theta);
        const int step = segment % 4;
        const double depth = step == 0 ? 1.0 : (step == 2 ? 0.55 : 0.68);
        const double phi = 2 * kPi * segment / segments + (kPi / 2) * h;
        const double across = 3.5 * depth * std::pow(std::sin(theta), 0.7);
        return Vec3{across * std::cos(phi), across * std::sin(phi), 3.2 * h};
    });
}

void addObject(assetgen::Output& out, int id, const TriangleMesh& mesh) {
    std::printf("OBJ %d: %zu vertices, %zu triangles, radius %.2f\n", id, mesh.vertices.size(), mesh.faces.size(),
                assetgen::radius(mesh));
    out.add("OBJ", id, assetgen::writeMeshFile(mesh));
}

}  // namespace

void generate(assetgen::Output& out) {
    addObject(out, 111, twistedStar());
    addObject(out, 122, knobbedBall());
    addObject(out, 125, twistedRing());
    addObject(out, 146, starFruit());
}
