#pragma once
// 32-bit integer arithmetic as the show's pictures need it.
//
// The drawing code relies on two's-complement wrap-around of 32-bit sums and
// products. Signed overflow is undefined in C++, so every sum or product that
// may wrap goes through these helpers, which compute in uint32_t and convert
// back (well defined modulo 2^32 since C++20). Right shifts of negative values
// are arithmetic in C++20 and need no helper.

#include <cmath>
#include <cstdint>
#include <limits>

namespace zm {

constexpr int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t wrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
constexpr int32_t wrapNeg(int32_t a) { return static_cast<int32_t>(0u - static_cast<uint32_t>(a)); }
// a << n without the undefined behaviour of shifting negative or large values.
constexpr int32_t wrapShl(int32_t a, int n) { return static_cast<int32_t>(static_cast<uint32_t>(a) << n); }

// Conversion toward zero, as a C cast does for values in range. Values out of
// the int32 range saturate and NaN gives 0 (a cast would be undefined there).
inline int32_t truncToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}
inline int32_t truncToInt32(float v) { return truncToInt32(static_cast<double>(v)); }

}  // namespace zm
