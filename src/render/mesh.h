#pragma once
// A 3D object loaded from a 3D Studio chunk file (an "OBJ" resource), drawn
// with environment mapping: texture coordinates come from the vertex
// normals turned into view space.
//
// A frame: build a FixedMatrix, setMatrix, set texture, transform(), then
// draw() (or drawCoverage and drawDepthSplit). transform() fills the shared
// face list, so its draws must follow before another Mesh is transformed;
// the draws read only that list, not the Mesh they are called on.

#include <cstdint>
#include <vector>

#include "render/fixed_matrix.h"
#include "render/projected_vertex.h"

// One named object of the file.
struct MeshObject {
    char name[80] = {};                   // NUL-terminated when shorter than 80
    std::vector<int32_t> positions;       // vertexCount x (x, y, z), scaled vertex units
    std::vector<int32_t> normals;         // vertexCount x (x, y, z), length 256
    std::vector<int32_t> mapping;         // mappingCount x (u, v)
    std::vector<ProjectedVertex> projected;
    std::vector<int32_t> faces;           // faceCount x (i0, i1, i2)
    int32_t faceCount = 0;
    int32_t vertexCount = 0;
    int32_t mappingCount = 0;
    bool hasMapping = false;
    bool hasMesh = false;                 // objects without a triangle mesh are ignored
    int32_t position[3] = {0, 0, 0};      // placement offset
    int32_t rotation[3] = {0, 0, 0};      // placement angles about x, y, z
};

// Vertices at this view depth or nearer are not projected.
constexpr int32_t kNearDepth = 4096;

class Mesh {
public:
    Mesh() = default;
    virtual ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Loads OBJ resource id with coordinates multiplied by scale. Returns
    // false only when the resource does not exist.
    bool loadMesh(int id, float scale);
    // The same from bytes in memory. Malformed data never reads outside it:
    // walks stop at the end and faces with out-of-range indices are dropped.
    bool loadMeshFromBytes(const uint8_t* data, uint32_t size, float scale);
    void release();

    void setMatrix(const FixedMatrix& m);
    // Transforms, projects and back-face culls every object into the face list.
    void transform();
    // Sorts the face list far to near and fills it; returns the face count.
    int draw(uint16_t* backBuffer);
    // As draw, darkening what lies beyond view depth depthLimit.
    int drawDepthSplit(uint16_t* backBuffer, int32_t depthLimit);
    // Counts into a 120 x 160 buffer the coverage of faces crossing depthLimit.
    void drawCoverage(int32_t* coverage, int32_t depthLimit);
    // Projects one point as transform() does a vertex: z becomes the view
    // depth; x and y become the screen position when it exceeds kNearDepth.
    void projectPoint(int32_t& x, int32_t& y, int32_t& z) const;

    FixedMatrix matrix = {};
    bool loaded = false;
    float coordinateScale = 0.0f;
    int32_t objectCount = 0;
    std::vector<MeshObject> objects;
    const uint16_t* texture = nullptr;  // tiled 256 x 256 RGB565, not owned
};
