#pragma once
// 4 x 4 matrices of 8.8 fixed-point elements (256 is 1.0), row-major.
//
// A point (x, y, z) is a column vector: x' = m0 x + m1 y + m2 z + (m3 << 8),
// and likewise rows 1 and 2, giving results in vertex units times 256.
// Elements 3, 7 and 11 are translations in vertex units. Angles have 65536
// units to a full turn. Every call multiplies on the right, so the last call
// made acts first on the points.

#include <cstdint>

struct FixedMatrix {
    int32_t m[16];
};

// m = identity (256 on the diagonal).
void setIdentity(FixedMatrix& m);

// a = (a x b) >> 8, element by element, with 32-bit wrapping products and sums.
void multiply(FixedMatrix& a, const FixedMatrix& b);

// Multiplies by the identity whose elements 3, 7, 11 are x, y, z.
void translate(FixedMatrix& m, int32_t x, int32_t y, int32_t z);

// Multiplies by a rotation about 'x', 'y' or 'z'; any other axis leaves m as it is.
void rotate(FixedMatrix& m, int32_t angle, char axis);
