#include "render/fixed_matrix.h"

#include <cmath>

#include "anim/intmath.h"

void setIdentity(FixedMatrix& m) {
    for (int i = 0; i < 16; ++i) m.m[i] = (i % 5 == 0) ? 256 : 0;
}

void multiply(FixedMatrix& a, const FixedMatrix& b) {
    int32_t result[16];
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            int32_t sum = 0;
            for (int n = 0; n < 4; ++n) sum = zm::wrapAdd(sum, zm::wrapMul(a.m[row * 4 + n], b.m[n * 4 + col]));
            result[row * 4 + col] = sum >> 8;
        }
    }
    for (int i = 0; i < 16; ++i) a.m[i] = result[i];
}

void translate(FixedMatrix& m, int32_t x, int32_t y, int32_t z) {
    FixedMatrix t;
    setIdentity(t);
    t.m[3] = x;
    t.m[7] = y;
    t.m[11] = z;
    multiply(m, t);
}

void rotate(FixedMatrix& m, int32_t angle, char axis) {
    // 65536 units to a turn; the multiplications in this order, in double.
    const double w = angle * 6.283185307179586 * 1.52587890625e-05;
    const int32_t cw = zm::truncToInt32(std::cos(w) * 256.0);
    const int32_t sw = zm::truncToInt32(std::sin(w) * 256.0);
    const int32_t nsw = zm::truncToInt32(std::sin(w) * -256.0);
    FixedMatrix r;
    setIdentity(r);
    switch (static_cast<signed char>(axis)) {
        case 'x': r.m[5] = cw; r.m[6] = sw; r.m[9] = nsw; r.m[10] = cw; break;
        case 'y': r.m[0] = cw; r.m[2] = nsw; r.m[8] = sw; r.m[10] = cw; break;
        case 'z': r.m[0] = cw; r.m[1] = sw; r.m[4] = nsw; r.m[5] = cw; break;
        default: break;  // unknown axis: multiplying by the identity changes nothing
    }
    multiply(m, r);
}
