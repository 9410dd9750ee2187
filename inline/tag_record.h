// SPDX-License-Identifier: MIT
// TagRecord: the native RTF code behind one placeholder of a segment's markup, and the pairing
// of a target placeholder with the source placeholder of identical code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TagRecord {
  std::u16string text;   // the native RTF code the placeholder stands for (own copy)
  int number = 0;        // the placeholder number N
  int pairedNumber = 0;  // source: N for opening records, 0 for closing; target: source N or 0
  uint8_t opening = 0;   // 1 for <N> and <N/>, 0 for </N>
  uint8_t paired = 0;    // target: a source record was found; source: a target record took it
};

// Records of one side, in the order they were made (never reordered). Emptying the list keeps
// the records and their text buffers for the next unit, so a record that is made again costs no
// allocation; only a list grown unusually large gives its memory back.
class TagList {
 public:
  size_t size() const { return m_used; }
  bool empty() const { return m_used == 0; }
  TagRecord& operator[](size_t i) { return m_records[i]; }
  const TagRecord& operator[](size_t i) const { return m_records[i]; }
  TagRecord* begin() { return m_records.data(); }
  TagRecord* end() { return m_records.data() + m_used; }
  const TagRecord* begin() const { return m_records.data(); }
  const TagRecord* end() const { return m_records.data() + m_used; }

  // A record at the end of the list, its fields still holding whatever they held before.
  TagRecord& AppendReused() {
    if (m_used == m_records.size()) m_records.emplace_back();
    return m_records[m_used++];
  }
  void clear() {
    constexpr size_t kKeptRecords = 4096, kKeptText = size_t{1} << 16;
    if (m_records.size() > kKeptRecords) {
      std::vector<TagRecord>().swap(m_records);
    } else {
      for (size_t i = 0; i < m_used; ++i) {
        if (m_records[i].text.capacity() > kKeptText) std::u16string().swap(m_records[i].text);
      }
    }
    m_used = 0;
  }

 private:
  std::vector<TagRecord> m_records;  // the first m_used are the list; the rest are kept for reuse
  size_t m_used = 0;
};

// Appends a record with its own copy of the text at the end of the list (text must not point
// into the list's own records, whose buffers are reused).
inline void AppendTagRecord(TagList& list, std::u16string_view text, int number, int pairedNumber,
                            bool opening, bool paired) {
  TagRecord& r = list.AppendReused();
  r.text.clear();  // then an append: cheaper than assign, which allows for overlapping text
  r.text.append(text.data(), text.size());
  r.number = number;
  r.pairedNumber = pairedNumber;
  r.opening = opening ? 1 : 0;
  r.paired = paired ? 1 : 0;
}
