// A 3D Studio file loaded, turned, transformed and drawn every way the
// effects draw it. The first byte picks the scale and the turn; the rest is
// the file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "anim/screen_size.h"
#include "render/fixed_matrix.h"
#include "render/mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const float kScales[] = {1.0f, 0.01f, 64.0f, 4096.0f};
    static std::vector<uint16_t> texture(256 * 256, 0x7BEF);
    static std::vector<uint16_t> backBuffer(kScreenPixels);
    static std::vector<int32_t> coverage(120 * 160);

    const uint8_t pick = data[0];
    Mesh mesh;
    mesh.loadMeshFromBytes(data + 1, static_cast<uint32_t>(size - 1), kScales[pick & 3]);
    mesh.texture = texture.data();

    FixedMatrix matrix;
    setIdentity(matrix);
    rotate(matrix, (pick >> 2) * 97, 'y');
    rotate(matrix, (pick >> 4) * 131, 'x');
    translate(matrix, 0, 0, (pick & 0x80) ? 40000 : 300000);
    mesh.setMatrix(matrix);

    mesh.transform();
    mesh.draw(backBuffer.data());
    mesh.transform();
    mesh.drawDepthSplit(backBuffer.data(), 250000);
    mesh.transform();
    mesh.drawCoverage(coverage.data(), 250000);
    return 0;
}
