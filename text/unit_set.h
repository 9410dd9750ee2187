// SPDX-License-Identifier: MIT
// Which UTF-16 units the inline conversion has to look at. The scanners pass over runs of
// ordinary text in one search for the next unit of a small set, eight units at a time where the
// processor allows.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "text/simd.h"

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
    if (m_count == 0) return text.size();
#if VELMAR_SSE2
    const Block members = Members();
    while (end - p >= 8) {
      const unsigned mask = members.Mask(p);
      if (mask != 0) return static_cast<size_t>(p - begin) + LowestUnit(mask);
      p += 8;
    }
#endif
    while (p < end && !Contains(*p)) ++p;
    return static_cast<size_t>(p - begin);
  }

  // Calls visit(i) for every position i of text whose unit is in the set, in order. Dense
  // members (RTF syntax every few characters) cost one test of eight units per block rather
  // than one search per member.
  template <typename Visit>
  void ForEach(std::u16string_view text, Visit&& visit) const {
    const char16_t* const begin = text.data();
    size_t i = 0;
    if (m_count == 0) return;
#if VELMAR_SSE2
    const Block members = Members();
    for (; text.size() - i >= 8; i += 8) {
      // Two mask bits per unit: the lowest pair is cleared after each visit.
      for (unsigned mask = members.Mask(begin + i); mask != 0; mask &= mask - 1, mask &= mask - 1)
        visit(i + LowestUnit(mask));
    }
#endif
    for (; i < text.size(); ++i) {
      if (Contains(begin[i])) visit(i);
    }
  }

 private:
  static constexpr size_t kMaxMembers = 8;

#if VELMAR_SSE2
  // The members spread over all eight lanes, one register each.
  struct Block {
    __m128i lanes[kMaxMembers];
    size_t count;
    // Two bits (one per byte) for each of the eight units at p that is a member.
    unsigned Mask(const char16_t* p) const {
      const __m128i block = simd::Load(p);
      __m128i hits = _mm_cmpeq_epi16(block, lanes[0]);
      for (size_t i = 1; i < count; ++i)
        hits = _mm_or_si128(hits, _mm_cmpeq_epi16(block, lanes[i]));
      return static_cast<unsigned>(_mm_movemask_epi8(hits));
    }
  };
  Block Members() const {
    Block b{};
    b.count = m_count;
    for (size_t i = 0; i < m_count; ++i)
      b.lanes[i] = _mm_set1_epi16(static_cast<short>(m_members[i]));
    return b;
  }
  static size_t LowestUnit(unsigned mask) {
    return simd::LowestBit(mask) / 2;
  }
#endif

  char16_t m_members[kMaxMembers] = {};
  size_t m_count = 0;
};

// Whether two texts hold the same units: one memory comparison instead of a loop per unit.
inline bool SameUnits(std::u16string_view a, std::u16string_view b) {
  // The last units first: the codes compared (such as "\cs6" and "\cs8") mostly differ there.
  return a.size() == b.size() &&
         (a.empty() || (a.back() == b.back() &&
                        std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0));
}
