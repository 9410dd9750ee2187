// SPDX-License-Identifier: MIT
// The first position at or after a start that passes a test, searched no further than needed
// and resumed where the last search stopped. The scanners ask with starts that only grow, so
// each position of a text is tested at most once and a segment stays linear however many groups
// or tags it holds.
#pragma once

#include <cstddef>

class ForwardSearch {
 public:
  // First position in [from, limit) that passes test, or limit when none does.
  template <typename Test>
  size_t Next(size_t from, size_t limit, Test&& test) {
    return NextFound(from, limit, [&](size_t pos) {
      while (pos < limit && !test(pos)) ++pos;
      return pos;
    });
  }
  // The same with a search of its own: find(pos) gives the first position in [pos, limit) that
  // passes, or limit.
  template <typename Find>
  size_t NextFound(size_t from, size_t limit, Find&& find) {
    if (from < m_start) {
      m_scanned = from;
      m_found = kNone;
    }
    m_start = from;
    if (m_found != kNone && m_found >= from) return m_found < limit ? m_found : limit;
    // Positions in [from, m_scanned) are known to fail.
    const size_t pos = find(m_scanned > from ? m_scanned : from);
    if (pos < limit) {
      m_found = pos;
      m_scanned = pos + 1;
      return pos;
    }
    m_found = kNone;
    if (limit > m_scanned) m_scanned = limit;
    return limit;
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  size_t m_start = 0;
  size_t m_scanned = 0;
  size_t m_found = kNone;
};
