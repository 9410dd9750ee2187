// SPDX-License-Identifier: MIT
// Vovuzaduz tags opened in a segment and not yet closed. A closing tag takes the newest open
// entry of its name; entries of other names do not matter to it, so the entries are kept per
// name and each lookup costs the same however many tags are open.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class OpenTagStack {
 public:
  void Push(std::u16string_view name, int number) {
    m_open[std::u16string(name)].push_back(number);
  }
  // Removes the newest entry with exactly this name and gives its number; 0 when there is none.
  int PopNewest(std::u16string_view name) {
    const auto it = m_open.find(std::u16string(name));
    if (it == m_open.end() || it->second.empty()) return 0;
    const int number = it->second.back();
    it->second.pop_back();
    return number;
  }
  void Clear() { m_open.clear(); }
  bool IsEmpty() const {
    for (const auto& entry : m_open) {
      if (!entry.second.empty()) return false;
    }
    return true;
  }

 private:
  std::unordered_map<std::u16string, std::vector<int>> m_open;
};
