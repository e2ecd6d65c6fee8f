#pragma once
// 8x8 transposition of 16-bit pixels: out row j receives column j of the
// input. Rows are addressed by strides in pixels (either sign), so the same
// call turns a block onto a display whose columns lie in memory, and back.
// The vector version needs SSE2 (every x86-64); elsewhere the plain one runs.

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZEMRA_TRANSPOSE_SSE2 1
#endif

namespace pixel {

inline void transpose8x8Plain(const uint16_t* in, std::ptrdiff_t inStride, uint16_t* out, std::ptrdiff_t outStride) {
    for (int j = 0; j < 8; ++j)
        for (int k = 0; k < 8; ++k) out[j * outStride + k] = in[k * inStride + j];
}

inline void transpose8x8(const uint16_t* in, std::ptrdiff_t inStride, uint16_t* out, std::ptrdiff_t outStride) {
#ifdef ZEMRA_TRANSPOSE_SSE2
    __m128i r[8];
    for (int k = 0; k < 8; ++k) r[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + k * inStride));
    // Interleave pairs of rows, then pairs of pairs, then halves.
    __m128i t[8], u[8];
    for (int k = 0; k < 4; ++k) {
        t[2 * k] = _mm_unpacklo_epi16(r[2 * k], r[2 * k + 1]);
        t[2 * k + 1] = _mm_unpackhi_epi16(r[2 * k], r[2 * k + 1]);
    }
    for (int k = 0; k < 2; ++k) {
        u[4 * k + 0] = _mm_unpacklo_epi32(t[4 * k + 0], t[4 * k + 2]);
        u[4 * k + 1] = _mm_unpackhi_epi32(t[4 * k + 0], t[4 * k + 2]);
        u[4 * k + 2] = _mm_unpacklo_epi32(t[4 * k + 1], t[4 * k + 3]);
        u[4 * k + 3] = _mm_unpackhi_epi32(t[4 * k + 1], t[4 * k + 3]);
    }
    for (int k = 0; k < 4; ++k) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * k) * outStride), _mm_unpacklo_epi64(u[k], u[k + 4]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * k + 1) * outStride), _mm_unpackhi_epi64(u[k], u[k + 4]));
    }
#else
    transpose8x8Plain(in, inStride, out, outStride);
#endif
}

}  // namespace pixel
