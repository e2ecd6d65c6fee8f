#pragma once
// ZM_AVX2_CLONES before a hot loop's function compiles it twice, for AVX2 and
// for any x86-64, the copy chosen once at load time by the processor's
// features. Integer loops give the same results in either copy. Only GCC on
// x86-64 Linux chooses at load time (through the loader's indirect
// functions); elsewhere the function is compiled once, plainly.

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__linux__)
#define ZM_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ZM_AVX2_CLONES
#endif
