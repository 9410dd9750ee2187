// SPDX-License-Identifier: MIT
// The first position at or after a start that passes a test, with the answer remembered. The
// scanners ask with starts that only grow, so each position of a text is tested at most once
// and a segment stays linear however many groups or tags it holds.
#pragma once

#include <cstddef>

class ForwardSearch {
 public:
  // First position in [from, end) that passes test, or end when none does.
  template <typename Test>
  size_t Next(size_t from, size_t end, Test&& test) {
    if (m_valid && m_searchedFrom <= from && m_found >= from && m_end == end) return m_found;
    size_t pos = from;
    while (pos < end && !test(pos)) ++pos;
    m_valid = true;
    m_searchedFrom = from;
    m_found = pos;
    m_end = end;
    return pos;
  }

 private:
  bool m_valid = false;
  size_t m_searchedFrom = 0;
  size_t m_found = 0;
  size_t m_end = 0;
};
