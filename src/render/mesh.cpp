// Per-frame work of a Mesh: transformation, projection, culling and the draws.
#include "render/mesh.h"

#include "anim/intmath.h"
#include "render/face_list.h"
#include "render/rasterizers.h"

namespace {

constexpr int32_t kCentreX = 120;
constexpr int32_t kCentreY = 160;

// One row of the matrix applied to (x, y, z) plus its translation, in vertex
// units times 256; 32-bit wrapping throughout.
int32_t transformRow(const int32_t* row, int32_t x, int32_t y, int32_t z) {
    using namespace zm;
    return wrapAdd(wrapAdd(wrapAdd(wrapMul(row[0], x), wrapMul(row[1], y)), wrapMul(row[2], z)), wrapShl(row[3], 8));
}

// The same without translation, shifted back to 8.8: a normal turned into view space.
int32_t rotateRow(const int32_t* row, int32_t x, int32_t y, int32_t z) {
    using namespace zm;
    return wrapAdd(wrapAdd(wrapMul(row[0], x), wrapMul(row[1], y)), wrapMul(row[2], z)) >> 8;
}

// Counts how many of a face's vertices lie beyond depthLimit.
int verticesBeyond(const DrawFace& face, int32_t depthLimit) {
    return (face.vertex[0]->depth > depthLimit) + (face.vertex[1]->depth > depthLimit) +
           (face.vertex[2]->depth > depthLimit);
}

}  // namespace

void Mesh::setMatrix(const FixedMatrix& m) { matrix = m; }

void Mesh::transform() {
    clearFaceList();
    const int32_t* m = matrix.m;
    for (MeshObject& object : objects) {
        if (!object.hasMesh) continue;
        // The object's placement acts on the Mesh's matrix itself; it is zero
        // after loading, which leaves the matrix as it is.
        translate(matrix, object.position[0], object.position[1], object.position[2]);
        rotate(matrix, object.rotation[2], 'z');
        rotate(matrix, object.rotation[1], 'y');
        rotate(matrix, object.rotation[0], 'x');

        for (int32_t i = 0; i < object.vertexCount; ++i) {
            const int32_t* p = &object.positions[3 * i];
            ProjectedVertex& out = object.projected[i];
            out.depth = transformRow(m + 8, p[0], p[1], p[2]) >> 8;
            if (out.depth <= kNearDepth) continue;  // keeps last frame's other fields
            out.screenX = transformRow(m, p[0], p[1], p[2]) / out.depth + kCentreX;
            out.screenY = transformRow(m + 4, p[0], p[1], p[2]) / out.depth + kCentreY;
            const int32_t* n = &object.normals[3 * i];
            out.normalX = rotateRow(m, n[0], n[1], n[2]);
            out.normalY = rotateRow(m + 4, n[0], n[1], n[2]);
            out.normalZ = rotateRow(m + 8, n[0], n[1], n[2]);
            // Sphere environment map: the texture's centre faces the viewer.
            out.texU = (out.normalX >> 1) + 128;
            out.texV = (out.normalY >> 1) + 128;
        }

        for (int32_t f = 0; f < object.faceCount; ++f) {
            const int32_t* face = &object.faces[3 * f];
            const ProjectedVertex& a = object.projected[face[0]];
            const ProjectedVertex& b = object.projected[face[1]];
            const ProjectedVertex& c = object.projected[face[2]];
            if (a.depth <= kNearDepth || b.depth <= kNearDepth || c.depth <= kNearDepth) continue;
            // Listed faces run counter-clockwise on the screen; zero area is dropped.
            using namespace zm;
            const int32_t lhs = wrapMul(wrapSub(a.screenY, b.screenY), wrapSub(a.screenX, c.screenX));
            const int32_t rhs = wrapMul(wrapSub(a.screenY, c.screenY), wrapSub(a.screenX, b.screenX));
            if (lhs > rhs) appendFace(&a, &b, &c, texture);
        }
    }
}

int Mesh::draw(uint16_t* backBuffer) {
    sortFaceList();
    const FaceList& list = faceList();
    for (int i = 0; i < list.count; ++i) {
        const DrawFace& face = *list.order[i];
        if (face.texture == nullptr) continue;
        fillTextured(backBuffer, face.texture, *face.vertex[0], *face.vertex[1], *face.vertex[2]);
    }
    return list.count;
}

int Mesh::drawDepthSplit(uint16_t* backBuffer, int32_t depthLimit) {
    sortFaceList();
    const FaceList& list = faceList();
    for (int i = 0; i < list.count; ++i) {
        const DrawFace& face = *list.order[i];
        const int beyond = verticesBeyond(face, depthLimit);
        if (beyond == 3) {
            fillHalved(backBuffer, *face.vertex[0], *face.vertex[1], *face.vertex[2]);
        } else if (face.texture == nullptr) {
            continue;
        } else if (beyond == 0) {
            fillTextured(backBuffer, face.texture, *face.vertex[0], *face.vertex[1], *face.vertex[2]);
        } else {
            fillTexturedSplit(backBuffer, face.texture, *face.vertex[0], *face.vertex[1], *face.vertex[2],
                              depthLimit);
        }
    }
    return list.count;
}

void Mesh::drawCoverage(int32_t* coverage, int32_t depthLimit) {
    const FaceList& list = faceList();
    for (int i = 0; i < list.count; ++i) {
        const DrawFace& face = list.faces[i];
        const int beyond = verticesBeyond(face, depthLimit);
        if (beyond == 1 || beyond == 2) fillCoverage(coverage, *face.vertex[0], *face.vertex[1], *face.vertex[2]);
    }
}

void Mesh::projectPoint(int32_t& x, int32_t& y, int32_t& z) const {
    const int32_t* m = matrix.m;
    const int32_t depth = transformRow(m + 8, x, y, z) >> 8;
    if (depth > kNearDepth) {
        const int32_t screenX = transformRow(m, x, y, z) / depth + kCentreX;
        const int32_t screenY = transformRow(m + 4, x, y, z) / depth + kCentreY;
        x = screenX;
        y = screenY;
    }
    z = depth;
}
