#pragma once
// Writing 3D Studio mesh files: nested chunks of a 16-bit id, a 32-bit
// length that counts the 6-byte header, and a body; all little-endian.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// A closed triangle mesh: vertices in file coordinates and faces as vertex
// indices, each face running so that (p1 - p0) x (p2 - p0) points outward.
struct TriangleMesh {
    std::vector<Vec3> vertices;
    std::vector<std::array<uint16_t, 3>> faces;
};

// A chunk under construction: append values to its body, then nest it.
class Chunk {
public:
    explicit Chunk(uint16_t id) : id_(id) {}
    Chunk& u16(uint16_t v);
    Chunk& u32(uint32_t v);
    Chunk& f32(float v);
    Chunk& bytes(const std::vector<uint8_t>& b);
    Chunk& cstring(const std::string& s);  // with its terminating 0
    Chunk& child(const Chunk& c);
    std::vector<uint8_t> serialise() const;

private:
    uint16_t id_;
    std::vector<uint8_t> body_;
};

// The whole file: a main chunk holding an editor chunk with one material
// and one object "Default" (vertex list, vertex flags, face list with its
// face-material list), without mapping coordinates.
std::vector<uint8_t> writeMeshFile(const TriangleMesh& mesh);

}  // namespace assetgen
