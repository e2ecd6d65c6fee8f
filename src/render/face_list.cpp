#include "render/face_list.h"

#include <utility>

#include "anim/intmath.h"

namespace {
FaceList sharedFaces;
}

FaceList& faceList() { return sharedFaces; }

void clearFaceList() { sharedFaces.count = 0; }

bool appendFace(const ProjectedVertex* v0, const ProjectedVertex* v1, const ProjectedVertex* v2,
                const uint16_t* texture) {
    FaceList& list = sharedFaces;
    if (list.count >= kMaxDrawFaces) return false;
    DrawFace& face = list.faces[list.count];
    face.vertex[0] = v0;
    face.vertex[1] = v1;
    face.vertex[2] = v2;
    face.texture = texture;
    face.depth = zm::wrapAdd(zm::wrapAdd(v0->depth, v1->depth), v2->depth) / 3;
    list.order[list.count] = &face;
    ++list.count;
    return true;
}

void sortFaceList() {
    // One pass per key bit from the lowest: entries with the bit set go
    // first, each group keeping its order. After 32 passes the order is by
    // key (unsigned) descending and stable. A pass whose bit is the same in
    // every entry would leave the order as it is, so it is skipped.
    FaceList& list = sharedFaces;
    const int count = list.count;
    DrawFace** source = list.order;
    DrawFace** target = list.scratch;
    for (int bit = 0; bit < 32; ++bit) {
        const uint32_t mask = 1u << bit;
        int setCount = 0;
        for (int i = 0; i < count; ++i) setCount += (static_cast<uint32_t>(source[i]->depth) & mask) != 0;
        if (setCount == 0 || setCount == count) continue;
        int first = 0, second = setCount;
        for (int i = 0; i < count; ++i) {
            DrawFace* face = source[i];
            if (static_cast<uint32_t>(face->depth) & mask) target[first++] = face;
            else target[second++] = face;
        }
        std::swap(source, target);
    }
    if (source != list.order) {
        for (int i = 0; i < count; ++i) list.order[i] = source[i];
    }
}
