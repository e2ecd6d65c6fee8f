#pragma once
// Integer square root.

#include <cstdint>

// floor(sqrt(n)) for every 32-bit n (0..65535).
uint32_t isqrt(uint32_t n);
