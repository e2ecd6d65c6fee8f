// Loading of a Mesh from a 3D Studio chunk file.
//
// A chunk is a 16-bit id, a 32-bit length that counts its 6-byte header, and
// a body whose children are chunks again. Only the vertex list, the mapping
// coordinates and the face list of each named object are kept; everything
// else is skipped by its length. Damaged data never leads outside the bytes:
// a walk stops at a chunk shorter than its header or at the end of the data,
// counts are cut to the bytes that follow, and faces naming a vertex that
// does not exist are dropped.
#include <algorithm>
#include <cmath>
#include <optional>

#include "anim/intmath.h"
#include "assets/byte_reader.h"
#include "assets/resources.h"
#include "render/mesh.h"
#include "render/mesh_chunk_ids.h"

namespace {

constexpr int32_t kHeaderSize = 6;

// A chunk's body: from the position after its header to its end as the
// length claims (possibly beyond the data).
struct Chunk {
    int32_t body;
    int64_t end;
};

// Calls visit(id, chunk) for every child chunk from position first up to
// end, each with the reader at the child's body; the reader comes back to
// first afterwards. The walk ends at a length too small to move on and at
// the end of the data.
template <typename Visit>
void walkChildren(ByteReader& reader, int32_t first, int64_t end, Visit visit) {
    reader.seek(first, ByteReader::kFromStart);
    while (reader.position < end && reader.remaining() >= kHeaderSize) {
        const uint16_t id = reader.readU16();
        const uint32_t length = reader.readU32();
        if (length < static_cast<uint32_t>(kHeaderSize)) break;
        const Chunk child{reader.position, int64_t{reader.position} + length - kHeaderSize};
        visit(id, child);
        const int64_t next = std::min<int64_t>(child.end, reader.size);
        reader.seek(static_cast<int32_t>(next), ByteReader::kFromStart);
    }
    reader.seek(first, ByteReader::kFromStart);
}

// A 16-bit count cut to the whole items of itemSize bytes left in the chunk.
int32_t readCount(ByteReader& reader, const Chunk& chunk, int32_t itemSize) {
    const int32_t count = reader.readU16();
    const int64_t bytes = std::min<int64_t>(chunk.end, reader.size) - reader.position;
    const int64_t fits = bytes > 0 ? bytes / itemSize : 0;
    return static_cast<int32_t>(std::min<int64_t>(count, fits));
}

void readVertices(ByteReader& reader, const Chunk& chunk, float scale, MeshObject& object) {
    const int32_t n = readCount(reader, chunk, 12);
    object.vertexCount = n;
    // Faces of an earlier vertex list would name vertices of that list.
    object.faces.clear();
    object.faceCount = 0;
    object.positions.assign(3 * static_cast<size_t>(n), 0);
    object.normals.assign(3 * static_cast<size_t>(n), 0);
    object.projected.assign(static_cast<size_t>(n), ProjectedVertex{});
    for (int32_t i = 0; i < n; ++i) {
        const float x = reader.readFloat(), y = reader.readFloat(), z = reader.readFloat();
        // The file's (x, y, z) become (x, z, -y); single-precision products, left to right.
        object.positions[3 * i + 0] = zm::truncToInt32(scale * x * 256.0f);
        object.positions[3 * i + 1] = zm::truncToInt32(scale * z * 256.0f);
        object.positions[3 * i + 2] = zm::truncToInt32(scale * -y * 256.0f);
    }
}

void readMapping(ByteReader& reader, const Chunk& chunk, MeshObject& object) {
    const int32_t n = readCount(reader, chunk, 8);
    object.mappingCount = n;
    object.mapping.assign(2 * static_cast<size_t>(n), 0);
    for (int32_t i = 0; i < n; ++i) {
        const float u = reader.readFloat(), v = reader.readFloat();
        object.mapping[2 * i + 0] = zm::truncToInt32(u * 256.0f);
        object.mapping[2 * i + 1] = zm::truncToInt32(v * 256.0f);
    }
}

// Adds the face's area-weighted normal (P1 - P2) x (P1 - P0), each component
// shifted down by 16, to the normals of its three vertices.
void accumulateFaceNormal(MeshObject& object, const int32_t index[3]) {
    using namespace zm;
    const int32_t* p0 = &object.positions[3 * index[0]];
    const int32_t* p1 = &object.positions[3 * index[1]];
    const int32_t* p2 = &object.positions[3 * index[2]];
    const int32_t ax = wrapSub(p1[0], p2[0]), ay = wrapSub(p1[1], p2[1]), az = wrapSub(p1[2], p2[2]);
    const int32_t bx = wrapSub(p1[0], p0[0]), by = wrapSub(p1[1], p0[1]), bz = wrapSub(p1[2], p0[2]);
    const int32_t normal[3] = {wrapSub(wrapMul(ay, bz), wrapMul(az, by)) >> 16,
                               wrapSub(wrapMul(az, bx), wrapMul(ax, bz)) >> 16,
                               wrapSub(wrapMul(ax, by), wrapMul(ay, bx)) >> 16};
    for (int corner = 0; corner < 3; ++corner) {
        int32_t* n = &object.normals[3 * index[corner]];
        for (int c = 0; c < 3; ++c) n[c] = wrapAdd(n[c], normal[c]);
    }
}

void readFaces(ByteReader& reader, const Chunk& chunk, MeshObject& object) {
    const int32_t n = readCount(reader, chunk, 8);
    object.faces.clear();
    object.faces.reserve(3 * static_cast<size_t>(n));
    for (int32_t f = 0; f < n; ++f) {
        int32_t index[3];
        for (int32_t& i : index) i = reader.readU16();
        reader.readU16();  // flags
        if (index[0] >= object.vertexCount || index[1] >= object.vertexCount || index[2] >= object.vertexCount) {
            continue;  // names a vertex that does not exist
        }
        object.faces.insert(object.faces.end(), index, index + 3);
        accumulateFaceNormal(object, index);
    }
    object.faceCount = static_cast<int32_t>(object.faces.size() / 3);
}

void readTriangleMesh(ByteReader& reader, const Chunk& chunk, float scale, MeshObject& object) {
    object.hasMesh = true;
    // Vertices first: the faces need the positions for their normals.
    walkChildren(reader, chunk.body, chunk.end, [&](uint16_t id, const Chunk& child) {
        if (id == meshchunk::kVertexList) {
            readVertices(reader, child, scale, object);
        } else if (id == meshchunk::kMapping) {
            readMapping(reader, child, object);
            object.hasMapping = true;
        }
    });
    walkChildren(reader, chunk.body, chunk.end, [&](uint16_t id, const Chunk& child) {
        if (id == meshchunk::kFaceList) readFaces(reader, child, object);
    });
}

void readObject(ByteReader& reader, const Chunk& chunk, float scale, MeshObject& object) {
    // The name: at most 80 bytes, up to and including a terminating 0.
    for (char& c : object.name) {
        c = reader.remaining() > 0 ? static_cast<char>(reader.readByte()) : 0;
        if (c == 0) break;
    }
    walkChildren(reader, reader.position, chunk.end, [&](uint16_t id, const Chunk& child) {
        if (id == meshchunk::kTriangleMesh) readTriangleMesh(reader, child, scale, object);
    });
}

void readEditor(ByteReader& reader, const Chunk& chunk, Mesh& mesh) {
    size_t count = 0;
    walkChildren(reader, chunk.body, chunk.end, [&](uint16_t id, const Chunk&) { count += id == meshchunk::kObject; });
    // Objects of a further editor chunk follow those already read.
    const size_t firstNew = mesh.objects.size();
    mesh.objects.resize(firstNew + count);
    size_t k = firstNew;
    walkChildren(reader, chunk.body, chunk.end, [&](uint16_t id, const Chunk& child) {
        if (id == meshchunk::kObject && k < mesh.objects.size()) readObject(reader, child, mesh.coordinateScale, mesh.objects[k++]);
    });
    mesh.objectCount = static_cast<int32_t>(mesh.objects.size());
}

// Unit vertex normals (length 256) in single precision; unused vertices keep (0, 0, 0).
void normalise(MeshObject& object) {
    for (int32_t i = 0; i < object.vertexCount; ++i) {
        int32_t* n = &object.normals[3 * i];
        const float x = static_cast<float>(n[0]), y = static_cast<float>(n[1]), z = static_cast<float>(n[2]);
        const float length = static_cast<float>(std::sqrt(static_cast<double>(z * z + y * y + x * x)));
        const float g = length == 0.0f ? 1.0f : 1.0f / length;
        n[0] = zm::truncToInt32(g * x * 256.0f);
        n[1] = zm::truncToInt32(g * y * 256.0f);
        n[2] = zm::truncToInt32(g * z * 256.0f);
    }
}

// Without mapping coordinates, (x, y) of the positions serve as a planar mapping.
void planarMapping(MeshObject& object) {
    object.mappingCount = object.vertexCount;
    object.mapping.assign(2 * static_cast<size_t>(object.vertexCount), 0);
    for (int32_t i = 0; i < object.vertexCount; ++i) {
        object.mapping[2 * i + 0] = object.positions[3 * i + 0];
        object.mapping[2 * i + 1] = object.positions[3 * i + 1];
    }
}

}  // namespace

Mesh::~Mesh() { release(); }

void Mesh::release() {
    if (!loaded) return;
    loaded = false;
    objects.clear();
    objects.shrink_to_fit();
    objectCount = 0;
}

bool Mesh::loadMesh(int id, float scale) {
    if (loaded) release();
    objectCount = 0;
    coordinateScale = scale;
    const std::optional<ResourceBytes> resource = findResource("OBJ", id);
    if (!resource) return false;
    return loadMeshFromBytes(resource->data, resource->size, scale);
}

bool Mesh::loadMeshFromBytes(const uint8_t* data, uint32_t size, float scale) {
    if (loaded) release();
    objectCount = 0;
    coordinateScale = scale;
    const int32_t clampedSize = static_cast<int32_t>(std::min<uint32_t>(size, 0x7FFFFFFF));
    std::optional<ByteReader> reader = ByteReader::open(data, clampedSize);
    if (!reader) return false;

    // The main chunk's id is not checked; its length bounds the walk.
    reader->readU16();
    const uint32_t mainLength = reader->readU32();
    const Chunk main{reader->position, int64_t{reader->position} + mainLength - kHeaderSize};
    walkChildren(*reader, main.body, main.end, [&](uint16_t id, const Chunk& child) {
        if (id == meshchunk::kEditor) readEditor(*reader, child, *this);
    });

    for (MeshObject& object : objects) {
        if (!object.hasMesh) continue;
        normalise(object);
        if (object.mappingCount == 0) planarMapping(object);
    }
    loaded = true;
    return true;
}
