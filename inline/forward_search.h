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
    if (from < m_start) {
      m_scanned = from;
      m_found = kNone;
    }
    m_start = from;
    if (m_found != kNone && m_found >= from) return m_found < limit ? m_found : limit;
    // Positions in [from, m_scanned) are known to fail.
    size_t pos = m_scanned > from ? m_scanned : from;
    while (pos < limit && !test(pos)) ++pos;
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
