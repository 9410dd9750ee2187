// SPDX-License-Identifier: MIT
// Which UTF-16 units the inline conversion has to look at. The scanners pass over runs of
// ordinary text in one search for the next unit of a small set, eight units at a time where the
// processor allows.
#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A set of at most eight units.
class UnitSet {
 public:
  constexpr UnitSet(std::u16string_view units) {  // NOLINT: built from its members
    for (char16_t c : units) {
      if (m_count < kMaxMembers) m_members[m_count++] = c;
    }
  }

  constexpr bool Contains(char16_t c) const {
    for (size_t i = 0; i < m_count; ++i) {
      if (m_members[i] == c) return true;
    }
    return false;
  }

  // The first position at or after from whose unit is in the set, or text.size().
  size_t FindFirst(std::u16string_view text, size_t from) const {
    const char16_t* const begin = text.data();
    const char16_t* p = begin + (from < text.size() ? from : text.size());
    const char16_t* const end = begin + text.size();
#if defined(__SSE2__)
    __m128i members[kMaxMembers];
    for (size_t i = 0; i < m_count; ++i)
      members[i] = _mm_set1_epi16(static_cast<short>(m_members[i]));
    while (end - p >= 8) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      __m128i hits = _mm_cmpeq_epi16(block, members[0]);
      for (size_t i = 1; i < m_count; ++i)
        hits = _mm_or_si128(hits, _mm_cmpeq_epi16(block, members[i]));
      const int mask = _mm_movemask_epi8(hits);
      if (mask != 0)
        return static_cast<size_t>(p - begin) +
               static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
      p += 8;
    }
#endif
    while (p < end && !Contains(*p)) ++p;
    return static_cast<size_t>(p - begin);
  }

 private:
  static constexpr size_t kMaxMembers = 8;
  char16_t m_members[kMaxMembers] = {};
  size_t m_count = 0;
};
