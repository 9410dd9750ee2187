// SPDX-License-Identifier: MIT
// The one UTF-8 encoder of the program, in two modes: every unit kept (an unpaired surrogate
// becomes U+FFFD), or XML-safe (characters XML forbids and unpaired surrogates left out).
#pragma once

#include <cstddef>

#include "text/simd.h"
#include "text/surrogates.h"

enum class Utf8Mode { kAll, kXmlSafe };

namespace utf8_detail {

using utf16::IsHighSurrogate;
using utf16::IsLowSurrogate;

// Copies a run of units that are written as themselves (printable ASCII for the XML-safe mode,
// any ASCII otherwise), eight at a time. Returns the units copied.
template <Utf8Mode kMode>
inline size_t CopyAsciiRun(const char16_t* s, size_t n, char* d) {
  size_t i = 0;
  constexpr unsigned kLowest = kMode == Utf8Mode::kXmlSafe ? 0x20 : 0x00;
#if VELMAR_SSE2
  while (i + 8 <= n) {
    const __m128i v = simd::Load(s + i);
    // Units outside kLowest-0x7F end the run (signed compares after a shift by 0x8000).
    const __m128i biased = _mm_xor_si128(v, _mm_set1_epi16(static_cast<short>(0x8000)));
    const __m128i low =
        _mm_cmplt_epi16(biased, _mm_set1_epi16(static_cast<short>(0x8000 + kLowest)));
    const __m128i high = _mm_cmpgt_epi16(biased, _mm_set1_epi16(static_cast<short>(0x807F)));
    if (_mm_movemask_epi8(_mm_or_si128(low, high)) != 0) break;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(v, v));
    i += 8;
  }
  // The short rest of a run (most texts end in one).
  for (; i < n && static_cast<unsigned>(s[i] - kLowest) < 0x80u - kLowest; ++i) {
    d[i] = static_cast<char>(s[i]);
  }
#else
  while (i + 8 <= n) {
    unsigned outside = 0;
    for (size_t k = 0; k < 8; ++k) {
      outside |= static_cast<unsigned>(s[i + k] - kLowest) >= 0x80u - kLowest;
    }
    if (outside) break;
    for (size_t k = 0; k < 8; ++k) d[i + k] = static_cast<char>(s[i + k]);
    i += 8;
  }
#endif
  return i;
}

inline char* PutThree(char* d, char32_t c) {
  d[0] = static_cast<char>(0xE0 | (c >> 12));
  d[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  d[2] = static_cast<char>(0x80 | (c & 0x3F));
  return d + 3;
}

inline char* PutFour(char* d, char32_t c) {
  d[0] = static_cast<char>(0xF0 | (c >> 18));
  d[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  d[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  d[3] = static_cast<char>(0x80 | (c & 0x3F));
  return d + 4;
}

}  // namespace utf8_detail

// Writes the UTF-8 form of n units to dst, which has room for 3 bytes a unit; a valid surrogate
// pair becomes one four-byte sequence. Returns the bytes written.
template <Utf8Mode kMode>
inline size_t EncodeUtf8(const char16_t* s, size_t n, char* dst) {
  using namespace utf8_detail;
  char* d = dst;
  for (size_t i = 0; i < n; ++i) {
    const size_t copied = CopyAsciiRun<kMode>(s + i, n - i, d);
    i += copied;
    d += copied;
    if (i >= n) break;
    const char16_t c = s[i];
    if (c < 0x80) {
      *d = static_cast<char>(c);
      const bool keep = kMode == Utf8Mode::kAll || c >= 0x20 || c == 0x09 || c == 0x0A || c == 0x0D;
      d += keep ? 1 : 0;
    } else if (c < 0x800) {
      d[0] = static_cast<char>(0xC0 | (c >> 6));
      d[1] = static_cast<char>(0x80 | (c & 0x3F));
      d += 2;
    } else if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      d = PutFour(d, utf16::FromSurrogates(c, s[i + 1]));
      ++i;
    } else if (utf16::IsSurrogate(c)) {
      if (kMode == Utf8Mode::kAll) d = PutThree(d, 0xFFFD);
    } else if (kMode == Utf8Mode::kAll || (c != 0xFFFE && c != 0xFFFF)) {
      d = PutThree(d, c);
    }
  }
  return static_cast<size_t>(d - dst);
}
