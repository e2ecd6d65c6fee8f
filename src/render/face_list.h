#pragma once
// The process-wide list of triangles to draw this frame, shared by every
// Mesh: each transform() empties and refills it, and the draws that follow
// read it. Faces beyond kMaxDrawFaces are dropped.

#include <cstdint>

#include "render/projected_vertex.h"

constexpr int kMaxDrawFaces = 4000;

struct DrawFace {
    const ProjectedVertex* vertex[3];  // in the face's file order i0, i1, i2
    const uint16_t* texture;           // the Mesh's texture when listed
    int32_t depth;                     // sort key: (d0 + d1 + d2) / 3
};

struct FaceList {
    DrawFace faces[kMaxDrawFaces];
    DrawFace* order[kMaxDrawFaces];  // the draw order
    int count = 0;
    DrawFace* scratch[kMaxDrawFaces];  // the other buffer of the sort
};

FaceList& faceList();

// Empties the list.
void clearFaceList();

// Appends a face; returns false (and drops it) when the list is full.
bool appendFace(const ProjectedVertex* v0, const ProjectedVertex* v1, const ProjectedVertex* v2,
                const uint16_t* texture);

// Stable radix sort of the draw order by depth as an unsigned 32-bit key,
// largest first: far faces are drawn first and near ones paint over them.
void sortFaceList();
