// SPDX-License-Identifier: MIT
// The one way into the processor's vector instructions. A search or copy with a vector path
// tests VELMAR_SSE2 and keeps a plain path beside it that does the same; only this header
// includes the intrinsics. Configuring with -DVELMAR_SIMD=OFF (which defines VELMAR_NO_SIMD)
// turns every vector path off, so that the plain paths (the only ones on processors without
// SSE2, and in the WebAssembly build) are what the tests run.
#pragma once

#include <cstddef>

#if defined(__SSE2__) && !defined(VELMAR_NO_SIMD)
#define VELMAR_SSE2 1
#include <emmintrin.h>
#else
#define VELMAR_SSE2 0
#endif

namespace simd {

// The index of the lowest set bit of a mask that is not zero.
inline size_t LowestBit(unsigned mask) {
  return static_cast<size_t>(__builtin_ctz(mask));
}

#if VELMAR_SSE2
// Sixteen bytes from p, which need not be aligned.
inline __m128i Load(const void* p) {
  return _mm_loadu_si128(static_cast<const __m128i*>(p));
}
#endif

}  // namespace simd
