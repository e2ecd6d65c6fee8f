#include "object_chunks.h"

#include <cstring>

#include "common/bytes.h"
#include "render/mesh_chunk_ids.h"

namespace assetgen {

using namespace meshchunk;

namespace {
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kAmbient = 0xA010;
constexpr uint16_t kDiffuse = 0xA020;
constexpr uint16_t kSpecular = 0xA030;
constexpr uint16_t kColour24 = 0x0011;
constexpr uint16_t kFaceEdgesVisible = 0x0007;  // edges AB, BC and CA shown

const char* const kMaterialNameText = "Chrome";

Chunk colour(uint16_t id, uint8_t r, uint8_t g, uint8_t b) {
    Chunk rgb(kColour24);
    rgb.bytes({r, g, b});
    return Chunk(id).child(rgb);
}
}  // namespace

Chunk& Chunk::u16(uint16_t v) {
    assetgen::appendLe16(body_, v);
    return *this;
}

Chunk& Chunk::u32(uint32_t v) {
    assetgen::appendLe32(body_, v);
    return *this;
}

Chunk& Chunk::f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return u32(bits);
}

Chunk& Chunk::bytes(const std::vector<uint8_t>& b) {
    body_.insert(body_.end(), b.begin(), b.end());
    return *this;
}

Chunk& Chunk::cstring(const std::string& s) {
    body_.insert(body_.end(), s.begin(), s.end());
    body_.push_back(0);
    return *this;
}

Chunk& Chunk::child(const Chunk& c) { return bytes(c.serialise()); }

std::vector<uint8_t> Chunk::serialise() const {
    std::vector<uint8_t> out;
    out.reserve(6 + body_.size());
    const uint32_t length = static_cast<uint32_t>(6 + body_.size());
    assetgen::appendLe16(out, id_);
    assetgen::appendLe32(out, length);
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
}

std::vector<uint8_t> writeMeshFile(const TriangleMesh& mesh) {
    const uint16_t vertexCount = static_cast<uint16_t>(mesh.vertices.size());
    const uint16_t faceCount = static_cast<uint16_t>(mesh.faces.size());

    Chunk vertices(kVertexList);
    vertices.u16(vertexCount);
    for (const Vec3& v : mesh.vertices) {
        vertices.f32(static_cast<float>(v.x)).f32(static_cast<float>(v.y)).f32(static_cast<float>(v.z));
    }

    Chunk flags(kVertexFlags);
    flags.u16(vertexCount);
    for (uint16_t i = 0; i < vertexCount; ++i) flags.u16(0);

    Chunk faceMaterial(kFaceMaterial);
    faceMaterial.cstring(kMaterialNameText).u16(faceCount);
    for (uint16_t i = 0; i < faceCount; ++i) faceMaterial.u16(i);

    Chunk faces(kFaceList);
    faces.u16(faceCount);
    for (const auto& f : mesh.faces) faces.u16(f[0]).u16(f[1]).u16(f[2]).u16(kFaceEdgesVisible);
    faces.child(faceMaterial);

    Chunk triangles(kTriangleMesh);
    triangles.child(vertices).child(flags).child(faces);

    Chunk object(kObject);
    object.cstring("Default").child(triangles);

    Chunk material(kMaterial);
    material.child(Chunk(kMaterialName).cstring(kMaterialNameText))
        .child(colour(kAmbient, 40, 40, 48))
        .child(colour(kDiffuse, 200, 200, 220))
        .child(colour(kSpecular, 255, 255, 255));

    Chunk editor(kEditor);
    editor.child(material).child(object);

    Chunk file(kMain);
    file.child(editor);
    return file.serialise();
}

}  // namespace assetgen
