// Loading 3D Studio chunk files into a Mesh, damaged ones included.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "assets/resource_ids.h"
#include "assets/byte_reader.h"
#include "assets/resources.h"
#include "mesh_builders.h"
#include "render/face_list.h"
#include "render/mesh.h"

namespace {

using meshtest::ChunkBytes;
using meshtest::fileWith;

ChunkBytes vertexList(const std::vector<float>& xyz) {
    ChunkBytes c(0x4110);
    c.u16(static_cast<uint16_t>(xyz.size() / 3));
    for (float v : xyz) c.f32(v);
    return c;
}

ChunkBytes faceChunk(const std::vector<uint16_t>& faces) {
    ChunkBytes c(0x4120);
    c.u16(static_cast<uint16_t>(faces.size() / 3));
    for (size_t i = 0; i < faces.size(); i += 3) c.u16(faces[i]).u16(faces[i + 1]).u16(faces[i + 2]).u16(7);
    return c.child(ChunkBytes(0x4130).raw("mat").u16(0));
}

ChunkBytes object(const std::string& name, const std::vector<ChunkBytes>& meshChildren, bool withMesh = true) {
    ChunkBytes o(0x4000);
    o.raw(name).raw(std::string(1, '\0'));
    if (withMesh) {
        ChunkBytes mesh(0x4100);
        for (const ChunkBytes& c : meshChildren) mesh.child(c);
        o.child(mesh);
    }
    return o;
}

bool load(Mesh& mesh, const std::vector<uint8_t>& bytes, float scale) {
    return mesh.loadMeshFromBytes(bytes.data(), static_cast<uint32_t>(bytes.size()), scale);
}

TEST(ByteReader, SeeksClampAndReadsStopAtTheEnd) {
    const uint8_t data[] = {1, 0xFF, 3, 4};
    EXPECT_FALSE(ByteReader::open(nullptr, 4));
    ByteReader r = *ByteReader::open(data, 4);
    r.seek(10, ByteReader::kFromStart);
    EXPECT_EQ(r.tell(), 4);
    EXPECT_EQ(r.error, -1);
    r.seek(-1, ByteReader::kFromEnd);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.readByte(), 4);
    EXPECT_EQ(r.readByte(), -1);
    r.seek(-9, ByteReader::kFromCurrent);
    EXPECT_EQ(r.tell(), 0);
    EXPECT_EQ(r.error, -1);
    r.seek(1, ByteReader::kFromStart);
    EXPECT_EQ(r.readByte(), -1);  // 0xFF as a signed byte
    uint16_t pair[2] = {0, 0};
    EXPECT_EQ(r.read(pair, 2, 2), 1);  // two bytes left: one whole item
    EXPECT_EQ(r.tell(), 4);
}

TEST(MeshLoading, VerticesAreTurnedAndScaledInSinglePrecision) {
    Mesh mesh;
    ASSERT_TRUE(load(mesh, fileWith({object("Default", {vertexList({1.0f, 2.0f, 3.0f})})}), 20.1f));
    ASSERT_EQ(mesh.objectCount, 1);
    const MeshObject& o = mesh.objects[0];
    EXPECT_STREQ(o.name, "Default");
    ASSERT_EQ(o.vertexCount, 1);
    EXPECT_EQ(o.positions, (std::vector<int32_t>{5145, 15436, -10291}));
    EXPECT_EQ(o.normals, (std::vector<int32_t>{0, 0, 0}));  // used by no face
    EXPECT_EQ(o.mapping, (std::vector<int32_t>{5145, 15436}));  // planar mapping from the positions
}

TEST(MeshLoading, MappingCoordinatesAndObjectsWithoutMesh) {
    ChunkBytes mapping(0x4140);
    mapping.u16(1).f32(0.5f).f32(0.25f);
    Mesh mesh;
    ASSERT_TRUE(load(mesh, fileWith({object("Empty", {}, false), object("M", {vertexList({0, 0, 0}), mapping})}), 1.0f));
    ASSERT_EQ(mesh.objectCount, 2);
    EXPECT_FALSE(mesh.objects[0].hasMesh);
    EXPECT_EQ(mesh.objects[0].vertexCount, 0);
    EXPECT_TRUE(mesh.objects[1].hasMapping);
    EXPECT_EQ(mesh.objects[1].mapping, (std::vector<int32_t>{128, 64}));
}

TEST(MeshLoading, NameOfEightyBytesHasNoTerminator) {
    Mesh mesh;
    const std::string name(80, 'n');
    ASSERT_TRUE(load(mesh, fileWith({object(name, {})}), 1.0f));
    EXPECT_EQ(std::string(mesh.objects[0].name, 80), name);
}

TEST(MeshLoading, FaceNormalsAreSmoothedToLength256) {
    // A right-angled corner: two faces sharing the edge 0-1.
    const std::vector<float> v = {0, 0, 0, 10, 0, 0, 0, 10, 0, 0, 0, 10};
    Mesh mesh;
    ASSERT_TRUE(load(mesh, fileWith({object("C", {vertexList(v), faceChunk({0, 1, 2, 1, 0, 3})})}), 1.0f));
    const MeshObject& o = mesh.objects[0];
    ASSERT_EQ(o.faceCount, 2);
    for (int i = 0; i < 4; ++i) {
        const int32_t* n = &o.normals[3 * i];
        const int32_t lengthSquared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
        EXPECT_NEAR(lengthSquared, 65536, 1024) << i;
    }
    // Vertex 2 belongs to the first face only, which lies in the file's z = 0
    // plane: its normal is the file's z, loaded as y.
    EXPECT_EQ(o.normals[6], 0);
    EXPECT_GE(o.normals[7], 255);
    EXPECT_EQ(o.normals[8], 0);
}

// Loading computes in single precision, which decides the last unit in
// places where double precision would not round the same way.
TEST(MeshLoading, SinglePrecisionDecidesTheLastUnit) {
    // 20.1f * 768 rounds to the float 15436.80078125, which times 256 is
    // 3951821; in double the product would be 3951820.875, truncated to 3951820.
    Mesh far;
    ASSERT_TRUE(load(far, fileWith({object("X", {vertexList({768, 0, 0})})}), 20.1f));
    EXPECT_EQ(far.objects[0].positions[0], 3951821);

    // Two flat faces whose raw normals are (0, 41, 0) and (0, 49, 0): with
    // g = 1 / len in float, 41 g is just below 1 and 49 g just above, so
    // they come out 255 and 256 (double precision gives 256 and 255).
    const std::vector<float> v = {0, -1, 0, 0, 0, 0, -41, 0, 0, 100, -1, 0, 100, 0, 0, 51, 0, 0};
    Mesh mesh;
    ASSERT_TRUE(load(mesh, fileWith({object("N", {vertexList(v), faceChunk({0, 1, 2, 3, 4, 5})})}), 1.0f));
    const std::vector<int32_t>& n = mesh.objects[0].normals;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(n[3 * i + 0], 0) << i;
        EXPECT_EQ(n[3 * i + 1], i < 3 ? 255 : 256) << i;
        EXPECT_EQ(n[3 * i + 2], 0) << i;
    }
}

TEST(MeshLoading, ReleaseEmptiesAndLoadingTwiceGivesTheSame) {
    Mesh mesh;
    mesh.release();  // on an empty Mesh: nothing happens
    const auto bytes = fileWith({object("A", {vertexList({1, 2, 3})})});
    ASSERT_TRUE(load(mesh, bytes, 2.0f));
    ASSERT_TRUE(load(mesh, bytes, 2.0f));
    EXPECT_EQ(mesh.objectCount, 1);
    mesh.release();
    EXPECT_FALSE(mesh.loaded);
    EXPECT_TRUE(mesh.objects.empty());
    EXPECT_FALSE(mesh.loadMesh(9999, 1.0f));  // no such resource
}

TEST(MeshLoading, DamagedFilesStayInsideTheData) {
    // Face indices at or beyond the vertex count are dropped.
    Mesh mesh;
    ASSERT_TRUE(load(mesh, fileWith({object("F", {vertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}), faceChunk({0, 1, 2, 0, 1, 3})})}), 1.0f));
    EXPECT_EQ(mesh.objects[0].faceCount, 1);

    // A vertex count larger than the bytes that follow is cut to them.
    ChunkBytes tooMany(0x4110);
    tooMany.u16(1000).f32(1).f32(2).f32(3);
    ASSERT_TRUE(load(mesh, fileWith({object("V", {tooMany})}), 1.0f));
    EXPECT_EQ(mesh.objects[0].vertexCount, 1);

    // A chunk length below the header size ends the walk instead of looping.
    std::vector<uint8_t> bytes = fileWith({object("L", {vertexList({1, 2, 3})}), object("M", {})});
    const size_t objectAt = 6 + 6 + 6 + 7;  // main, editor, material header + "ignored"
    ASSERT_EQ(bytes[objectAt], 0x00);
    ASSERT_EQ(bytes[objectAt + 1], 0x40);
    bytes[objectAt + 2] = 3;
    bytes[objectAt + 3] = bytes[objectAt + 4] = bytes[objectAt + 5] = 0;
    ASSERT_TRUE(load(mesh, bytes, 1.0f));
    EXPECT_EQ(mesh.objectCount, 0);

    // A main chunk claiming far more than there is ends at the end of the data.
    bytes = fileWith({object("E", {vertexList({1, 2, 3})})});
    bytes[2] = bytes[3] = bytes[4] = bytes[5] = 0xFF;
    ASSERT_TRUE(load(mesh, bytes, 1.0f));
    EXPECT_EQ(mesh.objects[0].vertexCount, 1);
}

// Offsets of the chunk headers in a well-formed file, for damage aimed at
// ids, lengths and counts rather than at vertex data.
void findHeaders(const std::vector<uint8_t>& bytes, size_t first, size_t end, std::vector<size_t>& headers) {
    auto u16 = [&](size_t at) { return static_cast<size_t>(bytes[at] | bytes[at + 1] << 8); };
    for (size_t at = first; at + 6 <= end;) {
        headers.push_back(at);
        const size_t length = u16(at + 2) | u16(at + 4) << 16;
        const uint16_t id = static_cast<uint16_t>(u16(at));
        size_t body = at + 6;
        if (id == 0x4000) {
            while (bytes[body] != 0) ++body;
            ++body;
        } else if (id == 0x4120) {
            headers.push_back(body);  // the face count
            body += 2 + 8 * u16(body);
        } else if (id == 0x4110) {
            headers.push_back(body);  // the vertex count
        }
        if (id == 0x4D4D || id == 0x3D3D || id == 0xAFFF || id == 0x4000 || id == 0x4100 || id == 0x4120) {
            findHeaders(bytes, body, at + length, headers);
        }
        at += length;
    }
}

// Random damage to a generated object, then a frame of drawing with whatever
// loaded; under the sanitizers any access outside the data or the arrays fails.
TEST(MeshLoading, RandomlyDamagedObjectsLoadWithinBounds) {
    const auto resource = findResource("OBJ", res::kSpinningObject);
    ASSERT_TRUE(resource);
    const std::vector<uint8_t> original(resource->data, resource->data + resource->size);
    std::vector<size_t> headers;
    findHeaders(original, 0, original.size(), headers);
    ASSERT_GE(headers.size(), 10u);
    std::mt19937 rng(1234);
    std::vector<uint16_t> texture(65536, 0x5555), screen(240 * 320);
    std::vector<int32_t> coverage(120 * 160);
    int loadedFaces = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = original;
        const int kind = round % 4;
        if (kind == 0 || kind == 2) {  // anywhere
            const int flips = 1 + static_cast<int>(rng() % 8);
            for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        }
        if (kind == 3) {  // ids, lengths and counts
            const int flips = 1 + static_cast<int>(rng() % 3);
            for (int i = 0; i < flips; ++i) {
                const size_t at = headers[rng() % headers.size()] + rng() % 6;
                if (at < bytes.size()) bytes[at] = static_cast<uint8_t>(rng());
            }
        }
        if (kind == 1 || kind == 2) bytes.resize(rng() % (bytes.size() + 1));
        // Exactly sized storage, so that a read past the end is caught.
        std::vector<uint8_t> exact(bytes.begin(), bytes.end());
        Mesh mesh;
        ASSERT_TRUE(mesh.loadMeshFromBytes(exact.data(), static_cast<uint32_t>(exact.size()), 20.1f));
        FixedMatrix m;
        setIdentity(m);
        translate(m, 0, 0, 44800);
        rotate(m, round * 977, 'x');
        mesh.setMatrix(m);
        mesh.texture = texture.data();
        mesh.transform();
        loadedFaces += faceList().count;
        switch (round % 3) {
            case 0: mesh.draw(screen.data()); break;
            case 1: mesh.drawDepthSplit(screen.data(), 44800); break;
            default: mesh.drawCoverage(coverage.data(), 44800); break;
        }
    }
    EXPECT_GT(loadedFaces, 0);
}

TEST(GeneratedObjects, LoadWithTheirCountsAndOutwardNormals) {
    const struct {
        int id;
        float scale;
        int vertices, faces;
    } objects[] = {{res::kFractalObject, 35.1f, 218, 432},
                   {res::kSpinningObject, 20.1f, 258, 512},
                   {res::kWaterObject, 40.1f, 288, 576},
                   {res::kShaftCamera, 30.1f, 302, 600}};
    for (const auto& expected : objects) {
        Mesh mesh;
        ASSERT_TRUE(mesh.loadMesh(expected.id, expected.scale)) << expected.id;
        ASSERT_EQ(mesh.objectCount, 1);
        const MeshObject& o = mesh.objects[0];
        EXPECT_STREQ(o.name, "Default");
        EXPECT_TRUE(o.hasMesh);
        EXPECT_FALSE(o.hasMapping);
        EXPECT_EQ(o.vertexCount, expected.vertices) << expected.id;
        EXPECT_EQ(o.faceCount, expected.faces) << expected.id;
        // Normals point away from the centre, or for the knot away from the
        // middle of the tube: the centroid of the vertex's cross-section,
        // six consecutive vertices.
        const bool knot = expected.id == res::kWaterObject;
        constexpr int kKnotTube = 6;
        int outward = 0;
        for (int i = 0; i < o.vertexCount; ++i) {
            const int32_t* n = &o.normals[3 * i];
            EXPECT_TRUE(n[0] != 0 || n[1] != 0 || n[2] != 0) << expected.id << " vertex " << i;
            double p[3] = {double(o.positions[3 * i]), double(o.positions[3 * i + 1]), double(o.positions[3 * i + 2])};
            if (knot) {
                const int first = i / kKnotTube * kKnotTube;
                for (int axis = 0; axis < 3; ++axis) {
                    double middle = 0;
                    for (int k = first; k < first + kKnotTube; ++k) middle += o.positions[3 * k + axis];
                    p[axis] -= middle / kKnotTube;
                }
            }
            outward += n[0] * p[0] + n[1] * p[1] + n[2] * p[2] > 0;
        }
        EXPECT_GT(outward, o.vertexCount * 9 / 10) << expected.id;
    }
}

}  // namespace
