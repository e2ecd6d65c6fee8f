// Transformation, projection, culling and drawing of a Mesh.
#include <gtest/gtest.h>

#include <vector>

#include "mesh_builders.h"
#include "render/face_list.h"
#include "render/mesh.h"

namespace {

using meshtest::buildMesh;

// A vertex that the identity view projects onto pixel (px, py) at depth 8192.
std::vector<int32_t> onPixel(int px, int py) { return {(px - 120) * 32, (py - 160) * 32, 8192}; }

std::vector<int32_t> concat(std::initializer_list<std::vector<int32_t>> parts) {
    std::vector<int32_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(MeshProjection, FocalLengthAndCentre) {
    Mesh mesh;
    buildMesh(mesh, {0, 0, 8192, 8192, 0, 8192, 0, -4096, 16384}, {});
    mesh.transform();
    const auto& p = mesh.objects[0].projected;
    EXPECT_EQ(p[0].screenX, 120);
    EXPECT_EQ(p[0].screenY, 160);
    EXPECT_EQ(p[0].depth, 8192);
    EXPECT_EQ(p[1].screenX, 376);  // (8192 x 256) / 8192 = 256 to the right
    EXPECT_EQ(p[2].screenY, 96);   // (-4096 x 256) / 16384 = -64
}

TEST(MeshProjection, ProjectPointLeavesNearPointsUnprojected) {
    Mesh mesh;
    buildMesh(mesh, {}, {});
    translate(mesh.matrix, 0, 0, 4096);
    int32_t x = 8192, y = 4096, z = 0;
    mesh.projectPoint(x, y, z);
    EXPECT_EQ(z, 4096);  // at the near limit: x and y keep their values
    EXPECT_EQ(x, 8192);
    EXPECT_EQ(y, 4096);
    x = 8194, y = 0, z = 1;
    mesh.projectPoint(x, y, z);
    EXPECT_EQ(z, 4097);
    EXPECT_EQ(x, 8194 * 256 / 4097 + 120);
    EXPECT_EQ(y, 160);
}

TEST(MeshProjection, EnvironmentCoordinatesComeFromTheTurnedNormal) {
    Mesh mesh;
    buildMesh(mesh, {0, 0, 8192}, {});
    mesh.objects[0].normals = {256, 0, 0};
    rotate(mesh.matrix, 0x4000, 'z');  // turns x into -y
    mesh.transform();
    const ProjectedVertex& p = mesh.objects[0].projected[0];
    EXPECT_EQ(p.normalX, 0);
    EXPECT_EQ(p.normalY, -256);
    EXPECT_EQ(p.texU, 128);
    EXPECT_EQ(p.texV, 0);
}

TEST(MeshCulling, OnlyCounterClockwiseFacesAreListed) {
    Mesh mesh;
    // Vertices on pixels (0, 0), (0, 10), (10, 0).
    buildMesh(mesh, concat({onPixel(0, 0), onPixel(0, 10), onPixel(10, 0)}), {0, 1, 2, 0, 2, 1, 0, 0, 1});
    mesh.transform();
    ASSERT_EQ(faceList().count, 1);  // the reversed and the degenerate face are dropped
    EXPECT_EQ(faceList().faces[0].vertex[1], &mesh.objects[0].projected[1]);
}

TEST(MeshCulling, FacesTouchingTheNearLimitAreDropped) {
    Mesh mesh;
    std::vector<int32_t> positions = concat({onPixel(0, 0), onPixel(0, 10), onPixel(10, 0)});
    positions[2] = 4096;  // first vertex exactly at the limit
    buildMesh(mesh, positions, {0, 1, 2});
    mesh.transform();
    EXPECT_EQ(faceList().count, 0);
    mesh.objects[0].positions[2] = 4097;
    mesh.transform();
    EXPECT_EQ(faceList().count, 1);
}

TEST(MeshDrawing, FacesBeyondTheListsCapacityAreNotDrawn) {
    Mesh mesh;
    std::vector<int32_t> faces;
    for (int i = 0; i < kMaxDrawFaces + 1; ++i) faces.insert(faces.end(), {0, 1, 2});
    buildMesh(mesh, concat({onPixel(0, 0), onPixel(0, 10), onPixel(10, 0)}), faces);
    std::vector<uint16_t> texture(65536, 0x1111), screen(240 * 320, 0);
    mesh.texture = texture.data();
    mesh.transform();
    EXPECT_EQ(mesh.draw(screen.data()), kMaxDrawFaces);
    EXPECT_EQ(screen[240 + 1], 0x1111);
}

TEST(MeshDrawing, NearerFacesPaintOverFartherOnes) {
    // Two overlapping triangles on the same pixels, the nearer listed first.
    Mesh mesh;
    std::vector<int32_t> positions;
    for (int32_t depth : {8192, 16384})
        for (auto [px, py] : {std::pair{0, 0}, {0, 100}, {100, 0}})
            positions.insert(positions.end(), {(px - 120) * depth / 256, (py - 160) * depth / 256, depth});
    buildMesh(mesh, positions, {0, 1, 2, 3, 4, 5});
    mesh.objects[0].normals = {0, 0, 0, 0, 0, 0, 0, 0, 0, 256, 0, 0, 256, 0, 0, 256, 0, 0};
    std::vector<uint16_t> texture(65536);
    for (size_t i = 0; i < texture.size(); ++i) texture[i] = static_cast<uint16_t>(i);
    std::vector<uint16_t> screen(240 * 320, 0xFFFF);
    mesh.texture = texture.data();
    mesh.transform();
    EXPECT_EQ(mesh.draw(screen.data()), 2);
    // The near face's normals are zero: texel (128, 128), tiled index 32768 | 1024.
    EXPECT_EQ(screen[10 * 240 + 10], 0x8400);
}

TEST(MeshDrawing, DepthSplitAndCoverageSortFacesByHowTheyCrossThePlane) {
    Mesh mesh;
    std::vector<int32_t> positions;
    // Three faces: all vertices nearer than the plane, all beyond, and one crossing.
    const int32_t depths[3][3] = {{8192, 8192, 8192}, {20000, 20000, 20000}, {8192, 8192, 20000}};
    for (const auto& face : depths) {
        const int corners[3][2] = {{0, 0}, {0, 40}, {40, 0}};
        for (int c = 0; c < 3; ++c) {
            const int32_t d = face[c];
            positions.insert(positions.end(), {(corners[c][0] - 120) * d / 256, (corners[c][1] - 160) * d / 256, d});
        }
    }
    buildMesh(mesh, positions, {0, 1, 2, 3, 4, 5, 6, 7, 8});
    std::vector<uint16_t> texture(65536, 0x0842);
    mesh.texture = texture.data();
    mesh.transform();
    std::vector<int32_t> coverage(120 * 160, 0);
    mesh.drawCoverage(coverage.data(), 10000);
    EXPECT_EQ(coverage[0], 512);  // only the crossing face counts
    std::vector<uint16_t> screen(240 * 320, 0xFFFF);
    EXPECT_EQ(mesh.drawDepthSplit(screen.data(), 10000), 3);
    EXPECT_EQ(screen[2 * 240 + 2], 0x0842);  // the near face, drawn last, wins
}

}  // namespace
