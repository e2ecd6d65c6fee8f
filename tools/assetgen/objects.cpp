// The four 3D objects of the show, as 3D Studio mesh files (OBJ resources).
//
// Each is a closed surface built on a parametric grid, shaped to catch the
// environment map as it spins: sharp twisted ridges, knobs and lobes give
// the reflection something to slide over. File coordinates have z up; the
// sizes suit the scale and camera distance of the effect that shows each one.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "assets/resource_ids.h"
#include "common/output.h"
#include "object_chunks.h"
#include "object_shapes.h"

using assetgen::TriangleMesh;
using assetgen::Vec3;

namespace {

constexpr double kPi = 3.14159265358979323846;

// sin(theta)^power, with theta at the poles rounding to a sine just below 0.
double sinePower(double theta, double power) { return std::pow(std::max(0.0, std::sin(theta)), power); }

Vec3 polar(double radius, double theta, double phi) {
    return {radius * std::sin(theta) * std::cos(phi), radius * std::sin(theta) * std::sin(phi),
            radius * std::cos(theta)};
}

// OBJ 111: a spindle-shaped star of six sharp ridges that twist a third of
// a turn from pole to pole. 12 rings of 18: 218 vertices, 432 triangles.
// About 120 pixels long in front of the fractal zoom, so that the zoom
// stays the scene and the star decorates it.
TriangleMesh twistedStar() {
    const int rings = 12, segments = 18;
    return assetgen::sphereGrid(rings, segments, [=](int ring, int segment) {
        const double theta = kPi * (ring + 1) / (rings + 1);
        const double h = std::cos(theta);
        const bool ridge = segment % 3 == 0;
        const double phi = 2 * kPi * segment / segments + (kPi / 3) * h;
        const double body = sinePower(theta, 0.8);
        const double across = (ridge ? 2.6 : 1.5) * body;
        return Vec3{across * std::cos(phi), across * std::sin(phi), 2.05 * h};
    });
}

// OBJ 122: a star ball, eight sharp spikes towards the corners of a cube.
// The rings are spaced so that a ring passes through every spike's tip.
// 16 rings of 16: 258 vertices, 512 triangles. At the tunnel's distances it
// spans about half the screen's short side, leaving the tunnel wall in view.
TriangleMesh spikedBall() {
    const int rings = 16, segments = 16;
    const double c = 1 / std::sqrt(3.0);
    // Ring 4 at the corners' latitude, acos(1 / sqrt 3), ring 11 mirrored.
    const double t4 = 5.0 / (rings + 1);
    const double bend = (std::acos(c) - kPi * t4) / std::sin(2 * kPi * t4);
    return assetgen::sphereGrid(rings, segments, [=](int ring, int segment) {
        const double t = (ring + 1.0) / (rings + 1);
        const double theta = kPi * t + bend * std::sin(2 * kPi * t);
        const double phi = 2 * kPi * segment / segments;
        const Vec3 d = polar(1, theta, phi);
        double r = 1.05;
        for (int corner = 0; corner < 8; ++corner) {
            const Vec3 k{corner & 1 ? c : -c, corner & 2 ? c : -c, corner & 4 ? c : -c};
            r += 0.8 * std::pow(std::max(0.0, d.x * k.x + d.y * k.y + d.z * k.z), 40);
        }
        return polar(r, theta, phi);
    });
}

using assetgen::add;
using assetgen::cross;
using assetgen::times;

Vec3 unit(const Vec3& a) { return times(a, 1.0 / std::sqrt(assetgen::dot(a, a))); }

// OBJ 125: a trefoil knot of thin tube. Wherever it dips through the water
// plane only the tube's small cross-sections cross it, so the surface is
// pushed at a few points and rings spread from each of them, instead of a
// long outline churning the whole field. 48 sections of 6: 288 vertices,
// 576 triangles; about 120 pixels across at the water's distances.
TriangleMesh trefoilKnot() {
    const int around = 48, tube = 6;
    const double size = 0.72, thickness = 0.28;
    // The knot's centre line, its first and second derivatives.
    const auto centre = [](double t) {
        return Vec3{std::sin(t) + 2 * std::sin(2 * t), std::cos(t) - 2 * std::cos(2 * t), -std::sin(3 * t)};
    };
    const auto velocity = [](double t) {
        return Vec3{std::cos(t) + 4 * std::cos(2 * t), -std::sin(t) + 4 * std::sin(2 * t), -3 * std::cos(3 * t)};
    };
    const auto acceleration = [](double t) {
        return Vec3{-std::sin(t) - 8 * std::sin(2 * t), -std::cos(t) + 8 * std::cos(2 * t), 9 * std::sin(3 * t)};
    };
    return assetgen::torusGrid(around, tube, [=](int section, int point) {
        const double t = 2 * kPi * section / around;
        // The Frenet frame: closed along a closed curve, so the tube meets itself.
        const Vec3 tangent = unit(velocity(t));
        const Vec3 binormal = unit(cross(velocity(t), acceleration(t)));
        const Vec3 normal = cross(binormal, tangent);
        const double psi = 2 * kPi * point / tube;
        const Vec3 offset = add(times(normal, std::cos(psi)), times(binormal, std::sin(psi)));
        return add(times(centre(t), size), times(offset, thickness));
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
        const double across = 3.5 * depth * sinePower(theta, 0.7);
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
    addObject(out, res::kFractalObject, twistedStar());
    addObject(out, res::kSpinningObject, spikedBall());
    addObject(out, res::kWaterObject, trefoilKnot());
    addObject(out, res::kShaftCamera, starFruit());
}
