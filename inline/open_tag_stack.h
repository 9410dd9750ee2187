// SPDX-License-Identifier: MIT
// Vovuzaduz tags opened in a segment and not yet closed. A closing tag takes the newest open
// entry of its name; entries of other names do not matter to it, so the entries are kept per
// name and each lookup costs the same however many tags are open.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/tuning.h"

class OpenTagStack {
 public:
  void Push(std::u16string_view name, int number) {
    auto it = m_open.find(name);
    if (it == m_open.end()) it = m_open.try_emplace(std::u16string(name)).first;
    it->second.push_back(number);
  }
  // Removes the newest entry with exactly this name and gives its number; 0 when there is none.
  int PopNewest(std::u16string_view name) {
    const auto it = m_open.find(name);
    if (it == m_open.end() || it->second.empty()) return 0;
    const int number = it->second.back();
    it->second.pop_back();
    return number;
  }
  // Empties every entry. The names of a few tags are kept for the next segment, which mostly
  // opens the same tags again.
  void Clear() {
    if (m_open.size() > tuning::kKeptOpenTagNames) {
      m_open.clear();
      return;
    }
    for (auto& entry : m_open) {
      if (entry.second.capacity() > tuning::kKeptOpenTagEntries)
        std::vector<int>().swap(entry.second);
      else
        entry.second.clear();
    }
  }
  bool IsEmpty() const {
    for (const auto& entry : m_open) {
      if (!entry.second.empty()) return false;
    }
    return true;
  }

 private:
  // Hashing and comparison that take a name as a view, so a lookup makes no string.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view name) const {
      return std::hash<std::u16string_view>()(name);
    }
  };
  std::unordered_map<std::u16string, std::vector<int>, NameHash, std::equal_to<>> m_open;
};
