#include "render/isqrt.h"

#include <cmath>

uint32_t isqrt(uint32_t n) {
    // The double's square root is correctly rounded and n is exact in it, so
    // truncation gives floor(sqrt(n)) for every 32-bit n: a perfect square
    // comes out exact, and otherwise sqrt(n) lies at least 1 / (2 (root + 1))
    // below the next integer, far more than the double's rounding step at
    // these sizes. The bit-by-bit integer method gives the same roots several
    // times slower, and the effects take thousands of roots a frame.
    return static_cast<uint32_t>(std::sqrt(static_cast<double>(n)));
}
