// SPDX-License-Identifier: MIT
// The one UTF-8 encoder of the program, in two modes: every unit kept (an unpaired surrogate
// becomes U+FFFD), or XML-safe (characters XML forbids and unpaired surrogates left out).
#pragma once

#include <cstddef>
#include <string_view>

#include "text/simd.h"
#include "text/surrogates.h"
#include "text/xml_entities.h"

enum class Utf8Mode { kAll, kXmlSafe };

namespace utf8_detail {

using utf16::IsHighSurrogate;
using utf16::IsLowSurrogate;

#if VELMAR_SSE2
// The lanes of v that end a run of units written as themselves: those outside kLowest-0x7F and
// those equal to one of kStops.
template <unsigned kLowest, char16_t... kStops>
inline __m128i RunEnds(__m128i v) {
  // Signed compares after a shift by 0x8000.
  const __m128i biased = _mm_xor_si128(v, _mm_set1_epi16(static_cast<short>(0x8000)));
  const __m128i low = _mm_cmplt_epi16(biased, _mm_set1_epi16(static_cast<short>(0x8000 + kLowest)));
  const __m128i high = _mm_cmpgt_epi16(biased, _mm_set1_epi16(static_cast<short>(0x807F)));
  __m128i ends = _mm_or_si128(low, high);
  ((ends = _mm_or_si128(ends, _mm_cmpeq_epi16(v, _mm_set1_epi16(static_cast<short>(kStops))))),
   ...);
  return ends;
}
#endif

// Copies a run of units that are written as themselves (printable ASCII for the XML-safe mode,
// any ASCII otherwise) and are none of kStops, eight at a time; d has room for a byte for each of
// the n units. Returns the units copied.
template <Utf8Mode kMode, char16_t... kStops>
inline size_t CopyAsciiRun(const char16_t* s, size_t n, char* d) {
  size_t i = 0;
  constexpr unsigned kLowest = kMode == Utf8Mode::kXmlSafe ? 0x20 : 0x00;
  const auto stops = [](char16_t c) {
    return static_cast<unsigned>(c - kLowest) >= 0x80u - kLowest || ((c == kStops) || ...);
  };
#if VELMAR_SSE2
  while (i + 8 <= n) {
    const __m128i v = simd::Load(s + i);
    const __m128i outside = RunEnds<kLowest, kStops...>(v);
    // The eight bytes are stored in any case (the room a unit has for its encoding holds them):
    // those from the first unit that ends the run on are written over by what follows.
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(v, v));
    if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(outside)); mask != 0) {
      return i + simd::LowestBit(mask) / 2;
    }
    i += 8;
  }
  if (i < n && n >= 8) {
    // The short rest of a run (most texts end in one) as the last eight units, those before it
    // read again: they end no run, so the first unit that does is in the rest.
    const size_t last = n - 8;
    const __m128i v = simd::Load(s + last);
    const __m128i outside = RunEnds<kLowest, kStops...>(v);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + last), _mm_packus_epi16(v, v));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(outside));
    return mask != 0 ? last + simd::LowestBit(mask) / 2 : n;
  }
  for (; i < n && !stops(s[i]); ++i) d[i] = static_cast<char>(s[i]);
#else
  while (i + 8 <= n) {
    bool outside = false;
    for (size_t k = 0; k < 8; ++k) outside = outside || stops(s[i + k]);
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

// Writes the UTF-8 form of the character at s (one unit, or a valid surrogate pair) at d and
// moves d past it; returns the units it took. n is the units from s to the end of the text.
template <Utf8Mode kMode>
inline size_t EncodeOneCharacter(const char16_t* s, size_t n, char*& d) {
  using namespace utf8_detail;
  const char16_t c = s[0];
  if (c < 0x80) {
    *d = static_cast<char>(c);
    const bool keep = kMode == Utf8Mode::kAll || c >= 0x20 || c == 0x09 || c == 0x0A || c == 0x0D;
    d += keep ? 1 : 0;
  } else if (c < 0x800) {
    d[0] = static_cast<char>(0xC0 | (c >> 6));
    d[1] = static_cast<char>(0x80 | (c & 0x3F));
    d += 2;
  } else if (IsHighSurrogate(c) && n > 1 && IsLowSurrogate(s[1])) {
    d = PutFour(d, utf16::FromSurrogates(c, s[1]));
    return 2;
  } else if (utf16::IsSurrogate(c)) {
    if (kMode == Utf8Mode::kAll) d = PutThree(d, 0xFFFD);
  } else if (kMode == Utf8Mode::kAll || (c != 0xFFFE && c != 0xFFFF)) {
    d = PutThree(d, c);
  }
  return 1;
}

// Writes the UTF-8 form of n units to dst, which has room for 3 bytes a unit; a valid surrogate
// pair becomes one four-byte sequence. Returns the bytes written.
template <Utf8Mode kMode>
inline size_t EncodeUtf8(const char16_t* s, size_t n, char* dst) {
  char* d = dst;
  for (size_t i = 0; i < n;) {
    const size_t copied = utf8_detail::CopyAsciiRun<kMode>(s + i, n - i, d);
    i += copied;
    d += copied;
    if (i >= n) break;
    i += EncodeOneCharacter<kMode>(s + i, n - i, d);
  }
  return static_cast<size_t>(d - dst);
}

// XML-safe UTF-8 (as EncodeUtf8<Utf8Mode::kXmlSafe>) with some units written otherwise: each unit
// of kStops, each control unit and each unit from U+0800 up is first offered to
// rewrite(s, i, n, d), which writes what stands for the unit at i (moving d) and returns the units
// it took, or returns 0 to have the character encoded. Units from U+0080 to U+07FF are always
// encoded. dst has room for the bytes. Returns the bytes written.
template <char16_t... kStops, typename Rewrite>
inline size_t EncodeXmlSafeUtf8Rewriting(const char16_t* s, size_t n, char* dst,
                                         Rewrite&& rewrite) {
  char* d = dst;
  for (size_t i = 0; i < n;) {
    const size_t copied = utf8_detail::CopyAsciiRun<Utf8Mode::kXmlSafe, kStops...>(s + i, n - i, d);
    i += copied;
    d += copied;
    if (i >= n) break;
    if (const char16_t c = s[i]; c >= 0x80 && c < 0x800) {
      d[0] = static_cast<char>(0xC0 | (c >> 6));
      d[1] = static_cast<char>(0x80 | (c & 0x3F));
      d += 2;
      ++i;
      continue;
    }
    const size_t taken = rewrite(s, i, n, d);
    i += taken != 0 ? taken : EncodeOneCharacter<Utf8Mode::kXmlSafe>(s + i, n - i, d);
  }
  return static_cast<size_t>(d - dst);
}

// Writes an ASCII text (such as an entity) at d and moves d past it.
inline void PutAscii(std::u16string_view ascii, char*& d) {
  for (const char16_t c : ascii) *d++ = static_cast<char>(c);
}
