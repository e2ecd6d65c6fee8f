#include "render/isqrt.h"

uint32_t isqrt(uint32_t n) {
    // Bit by bit from the top: try to add 2^b to the root while the remainder
    // still holds (2 root + 2^b) 2^b.
    uint32_t root = 0;
    uint32_t rem = n;
    for (int b = 15; b >= 0; --b) {
        const uint32_t trial = b >= 1 ? (root + (1u << (b - 1))) << (b + 1) : (root << 1) + 1;
        if (rem >= trial) {
            rem -= trial;
            root += 1u << b;
        }
    }
    return root;
}
