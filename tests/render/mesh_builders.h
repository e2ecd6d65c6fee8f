#pragma once
// Helpers for mesh tests: a Mesh built in memory, and 3D Studio chunk bytes.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "render/mesh.h"

namespace meshtest {

// A one-object Mesh with the given positions (x, y, z triples) and faces.
inline void buildMesh(Mesh& mesh, const std::vector<int32_t>& positions, const std::vector<int32_t>& faces) {
    mesh.objects.assign(1, MeshObject{});
    MeshObject& o = mesh.objects[0];
    o.hasMesh = true;
    o.vertexCount = static_cast<int32_t>(positions.size() / 3);
    o.positions = positions;
    o.normals.assign(positions.size(), 0);
    o.projected.assign(o.vertexCount, ProjectedVertex{});
    o.faceCount = static_cast<int32_t>(faces.size() / 3);
    o.faces = faces;
    mesh.objectCount = 1;
    FixedMatrix m;
    setIdentity(m);
    mesh.setMatrix(m);
}

// Bytes of one chunk: id, length counting the 6-byte header, body.
class ChunkBytes {
public:
    explicit ChunkBytes(uint16_t id) : id_(id) {}
    ChunkBytes& u16(uint16_t v) {
        body_.push_back(static_cast<uint8_t>(v));
        body_.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    ChunkBytes& f32(float v) {
        uint8_t b[4];
        std::memcpy(b, &v, 4);
        body_.insert(body_.end(), b, b + 4);
        return *this;
    }
    ChunkBytes& raw(const std::string& s) {
        body_.insert(body_.end(), s.begin(), s.end());
        return *this;
    }
    ChunkBytes& child(const ChunkBytes& c) {
        const std::vector<uint8_t> b = c.bytes();
        body_.insert(body_.end(), b.begin(), b.end());
        return *this;
    }
    std::vector<uint8_t> bytes() const {
        const uint32_t n = static_cast<uint32_t>(body_.size() + 6);
        std::vector<uint8_t> out = {static_cast<uint8_t>(id_), static_cast<uint8_t>(id_ >> 8),
                                    static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                    static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

private:
    uint16_t id_;
    std::vector<uint8_t> body_;
};

// A file of one editor chunk holding the given object chunks.
inline std::vector<uint8_t> fileWith(const std::vector<ChunkBytes>& objects) {
    ChunkBytes editor(0x3D3D);
    editor.child(ChunkBytes(0xAFFF).raw("ignored"));
    for (const ChunkBytes& o : objects) editor.child(o);
    return ChunkBytes(0x4D4D).child(editor).bytes();
}

}  // namespace meshtest
