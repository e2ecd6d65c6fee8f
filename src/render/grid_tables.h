#pragma once
// Angle and radius of every point of the 31 x 41 warp grid, measured from
// the grid centre (column 15, row 20, screen pixel (120, 160)).
//
// Entry j * 31 + k is grid row j = 0..40, column k = 0..30.
// gridAngle: 1024 units to a turn, 0 straight below the centre, +256 to its
// right, -256 to its left, +-512 above. gridRadius: 8.8 fixed point in grid
// cells (one cell is 8 pixels).

#include <cstdint>

constexpr int kGridColumns = 31, kGridRows = 41, kGridPoints = 1271;

extern int32_t gridAngle[kGridPoints];
extern int32_t gridRadius[kGridPoints];

// Fills both tables; called once at start-up.
void buildGridTables();
