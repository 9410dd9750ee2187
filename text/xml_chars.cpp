// SPDX-License-Identifier: MIT
#include "text/xml_chars.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Calls put(unit) for every unit that may stay, and put(high), put(low) for valid pairs.
template <typename Put>
void ForEachAllowed(std::u16string_view text, Put&& put) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c >= 0x20 && c < 0xD800) {
      put(c);
    } else if (c < 0x20) {
      if (!IsXmlForbiddenUnit(c)) put(c);
    } else if (IsHigh(c)) {
      if (i + 1 < n && IsLow(text[i + 1])) {
        put(c);
        put(text[i + 1]);
        ++i;
      }
    } else if (IsLow(c)) {
      // unpaired low surrogate: left out
    } else if (c != 0xFFFE && c != 0xFFFF) {
      put(c);
    }
  }
}

}  // namespace

size_t EncodeXmlSafeUtf8(std::u16string_view text, char* dst) {
  char* d = dst;
  const size_t n = text.size();
  const char16_t* s = text.data();
  for (size_t i = 0; i < n; ++i) {
    // Runs of printable ASCII, eight units at a time.
#if defined(__SSE2__)
    while (i + 8 <= n) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      // Units below 0x20 or above 0x7F end the run (signed compares after a shift by 0x8000).
      const __m128i biased = _mm_xor_si128(v, _mm_set1_epi16(static_cast<short>(0x8000)));
      const __m128i low = _mm_cmplt_epi16(biased, _mm_set1_epi16(static_cast<short>(0x8020)));
      const __m128i high = _mm_cmpgt_epi16(biased, _mm_set1_epi16(static_cast<short>(0x807F)));
      if (_mm_movemask_epi8(_mm_or_si128(low, high)) != 0) break;
      _mm_storel_epi64(reinterpret_cast<__m128i*>(d), _mm_packus_epi16(v, v));
      d += 8;
      i += 8;
    }
#else
    while (i + 8 <= n) {
      unsigned outside = 0;
      for (size_t k = 0; k < 8; ++k) outside |= static_cast<unsigned>(s[i + k] - 0x20u) >= 0x60u;
      if (outside) break;
      for (size_t k = 0; k < 8; ++k) d[k] = static_cast<char>(s[i + k]);
      d += 8;
      i += 8;
    }
#endif
    if (i >= n) break;
    const char16_t c = s[i];
    if (c < 0x80) {
      *d = static_cast<char>(c);
      d += (c >= 0x20 || c == 0x09 || c == 0x0A || c == 0x0D) ? 1 : 0;
      continue;
    }
    if (c < 0x800) {
      d[0] = static_cast<char>(0xC0 | (c >> 6));
      d[1] = static_cast<char>(0x80 | (c & 0x3F));
      d += 2;
      continue;
    }
    if (IsHigh(c)) {
      if (i + 1 < n && IsLow(s[i + 1])) {
        const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                            (static_cast<char32_t>(s[i + 1]) - 0xDC00);
        ++i;
        d[0] = static_cast<char>(0xF0 | (cp >> 18));
        d[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        d[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        d[3] = static_cast<char>(0x80 | (cp & 0x3F));
        d += 4;
      }
      continue;
    }
    if (IsLow(c) || c == 0xFFFE || c == 0xFFFF) continue;
    d[0] = static_cast<char>(0xE0 | (c >> 12));
    d[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    d[2] = static_cast<char>(0x80 | (c & 0x3F));
    d += 3;
  }
  return static_cast<size_t>(d - dst);
}

size_t EncodeXmlSafeUtf16le(std::u16string_view text, char* dst) {
  char* d = dst;
  ForEachAllowed(text, [&](char16_t c) {
    *d++ = static_cast<char>(c & 0xFF);
    *d++ = static_cast<char>(c >> 8);
  });
  return static_cast<size_t>(d - dst);
}
