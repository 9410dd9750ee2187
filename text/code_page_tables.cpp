// SPDX-License-Identifier: MIT
#include "text/code_page_tables.h"

#include <algorithm>
#include <bit>

#include "text/code_page_data.h"
#include "text/simd.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Decoding.

// Widens the leading bytes below 0x80, sixteen at a time, while both sides have room for sixteen.
// Returns the bytes widened (a multiple of sixteen).
size_t WidenAsciiRun(const unsigned char* s, size_t n, char16_t* d, size_t room) {
  size_t i = 0;
#if VELMAR_SSE2
  const __m128i zero = _mm_setzero_si128();
  while (i + 16 <= n && i + 16 <= room) {
    const __m128i v = simd::Load(s + i);
    if (_mm_movemask_epi8(v) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), _mm_unpackhi_epi8(v, zero));
    i += 16;
  }
#else
  (void)s;
  (void)n;
  (void)d;
  (void)room;
#endif
  return i;
}

// Runs of bytes below 0x80 are widened sixteen at a time when they stand for themselves, the
// rest looked up.
void DecodeSingleBytes(const DecodeTable& table, const unsigned char* s, size_t n, char16_t* d) {
  size_t i = 0;
#if VELMAR_SSE2
  if (table.asciiIdentity) {
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
      const __m128i v = simd::Load(s + i);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_unpacklo_epi8(v, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), _mm_unpackhi_epi8(v, zero));
      // The few bytes of 0x80 and above are looked up afterwards.
      for (auto high = static_cast<unsigned>(_mm_movemask_epi8(v)); high != 0; high &= high - 1) {
        const size_t k = i + static_cast<size_t>(std::countr_zero(high));
        d[k] = table.single[s[k]];
      }
      i += 16;
    }
  }
#endif
  for (; i < n; ++i) d[i] = table.single[s[i]];
}

size_t DecodePairs(const DecodeTable& table, const unsigned char* s, size_t n, char16_t* d,
                   size_t capacity) {
  size_t i = 0;
  size_t count = 0;
  while (i < n) {
    if (d) {
      if (count == capacity) break;
      if (table.asciiIdentity && s[i] < 0x80) {
        const size_t widened = WidenAsciiRun(s + i, n - i, d + count, capacity - count);
        i += widened;
        count += widened;
        if (i == n || count == capacity) break;
      }
    }
    const unsigned char b = s[i];
    const unsigned row = table.leadRow[b];
    char16_t unit;
    if (row != 0 && i + 1 < n) {
      unit = table.pairs[row - 1][s[i + 1]];
      i += 2;
    } else {
      unit = table.single[b];
      ++i;
    }
    if (d) d[count] = unit;
    ++count;
  }
  return count;
}

}  // namespace

const CodePageData* FindCodePageData(unsigned codePage) {
  const std::span<const CodePageData> codePages = CodePageDataTable();
  const auto it =
      std::lower_bound(codePages.begin(), codePages.end(), codePage,
                       [](const CodePageData& data, unsigned cp) { return data.codePage < cp; });
  return it != codePages.end() && it->codePage == codePage ? &*it : nullptr;
}

const DecodeTable* FindDecodeTable(unsigned codePage) {
  const CodePageData* data = FindCodePageData(codePage);
  return data ? data->table : nullptr;
}

size_t DecodeWithTable(const DecodeTable& table, const unsigned char* s, size_t n, char16_t* d,
                       size_t capacity) {
  if (!table.pairs.empty()) return DecodePairs(table, s, n, d, capacity);
  if (!d) return n;
  const size_t m = std::min(n, capacity);
  DecodeSingleBytes(table, s, m, d);
  return m;
}
