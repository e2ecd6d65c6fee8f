#include "object_shapes.h"

#include <cmath>
#include <utility>

namespace assetgen {

namespace {

// Two triangles of the quad a (row r, column c), b (r, c + 1), c (r + 1, c),
// d (r + 1, c + 1), wound alike so that shared edges run opposite ways.
void addQuad(TriangleMesh& mesh, int a, int b, int c, int d) {
    mesh.faces.push_back({static_cast<uint16_t>(a), static_cast<uint16_t>(c), static_cast<uint16_t>(b)});
    mesh.faces.push_back({static_cast<uint16_t>(b), static_cast<uint16_t>(c), static_cast<uint16_t>(d)});
}

}  // namespace

TriangleMesh sphereGrid(int rings, int segments, const std::function<Vec3(int, int)>& surface) {
    TriangleMesh mesh;
    mesh.vertices.push_back(surface(-1, 0));
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) mesh.vertices.push_back(surface(r, s));
    mesh.vertices.push_back(surface(rings, 0));
    const int top = 0, bottom = 1 + rings * segments;
    auto at = [segments](int r, int s) { return 1 + r * segments + (s % segments); };
    for (int s = 0; s < segments; ++s) {
        mesh.faces.push_back({static_cast<uint16_t>(top), static_cast<uint16_t>(at(0, s)),
                              static_cast<uint16_t>(at(0, s + 1))});
    }
    for (int r = 0; r + 1 < rings; ++r)
        for (int s = 0; s < segments; ++s) addQuad(mesh, at(r, s), at(r, s + 1), at(r + 1, s), at(r + 1, s + 1));
    for (int s = 0; s < segments; ++s) {
        mesh.faces.push_back({static_cast<uint16_t>(bottom), static_cast<uint16_t>(at(rings - 1, s + 1)),
                              static_cast<uint16_t>(at(rings - 1, s))});
    }
    orientOutward(mesh);
    return mesh;
}

TriangleMesh torusGrid(int around, int tube, const std::function<Vec3(int, int)>& surface) {
    TriangleMesh mesh;
    for (int a = 0; a < around; ++a)
        for (int t = 0; t < tube; ++t) mesh.vertices.push_back(surface(a, t));
    auto at = [around, tube](int a, int t) { return (a % around) * tube + (t % tube); };
    for (int a = 0; a < around; ++a)
        for (int t = 0; t < tube; ++t) addQuad(mesh, at(a, t), at(a, t + 1), at(a + 1, t), at(a + 1, t + 1));
    orientOutward(mesh);
    return mesh;
}

void orientOutward(TriangleMesh& mesh) {
    // Six times the enclosed volume, positive when the faces point outward.
    double volume = 0;
    for (const auto& f : mesh.faces) {
        const Vec3& p0 = mesh.vertices[f[0]];
        volume += dot(p0, cross(sub(mesh.vertices[f[1]], p0), sub(mesh.vertices[f[2]], p0)));
    }
    if (volume >= 0) return;
    for (auto& f : mesh.faces) std::swap(f[1], f[2]);
}

double radius(const TriangleMesh& mesh) {
    double r = 0;
    for (const Vec3& v : mesh.vertices) r = std::max(r, std::sqrt(dot(v, v)));
    return r;
}

}  // namespace assetgen
