#pragma once
// Closed triangle meshes built from parametric surfaces.

#include <functional>

#include "object_chunks.h"

namespace assetgen {

inline Vec3 add(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 times(const Vec3& a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A sphere-like surface: a pole at the top (ring -1), `rings` rings of
// `segments` vertices, a pole at the bottom (ring `rings`). surface(ring,
// segment) gives each vertex; the poles are asked with segment 0.
// 2 + rings x segments vertices, 2 x rings x segments triangles.
TriangleMesh sphereGrid(int rings, int segments, const std::function<Vec3(int ring, int segment)>& surface);

// A ring-like surface: `around` cross-sections of `tube` vertices each,
// closed in both directions. around x tube vertices, twice as many triangles.
TriangleMesh torusGrid(int around, int tube, const std::function<Vec3(int section, int point)>& surface);

// Reverses every face when the mesh's faces point inward, so that
// (p1 - p0) x (p2 - p0) points out of the enclosed volume.
void orientOutward(TriangleMesh& mesh);

// Largest distance of a vertex from the origin.
double radius(const TriangleMesh& mesh);

}  // namespace assetgen
