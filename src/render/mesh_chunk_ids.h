#pragma once
// Chunk ids of the 3D Studio mesh files the show carries: read by the mesh
// loader, written by the asset generator.

#include <cstdint>

namespace meshchunk {

constexpr uint16_t kMain = 0x4D4D;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kObject = 0x4000;
constexpr uint16_t kTriangleMesh = 0x4100;
constexpr uint16_t kVertexList = 0x4110;
constexpr uint16_t kVertexFlags = 0x4111;
constexpr uint16_t kFaceList = 0x4120;
constexpr uint16_t kFaceMaterial = 0x4130;
constexpr uint16_t kMapping = 0x4140;
constexpr uint16_t kMaterial = 0xAFFF;

}  // namespace meshchunk
