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
  size_t textBegin = 0;  // the native RTF code the placeholder stands for, in the list's text
  uint32_t textLength = 0;
  int number = 0;        // the placeholder number N
  int pairedNumber = 0;  // source: N for opening records, 0 for closing; target: source N or 0
  uint8_t opening = 0;   // 1 for <N> and <N/>, 0 for </N>
  uint8_t paired = 0;    // target: a source record was found; source: a target record took it
};

// Records of one side, in the order they were made (never reordered). The native code of all
// records is held in one text, so a record costs no allocation of its own. Emptying the list
// keeps its memory for the next unit; only a list grown unusually large gives it back.
class TagList {
 public:
  size_t size() const { return m_records.size(); }
  bool empty() const { return m_records.empty(); }
  TagRecord& operator[](size_t i) { return m_records[i]; }
  const TagRecord& operator[](size_t i) const { return m_records[i]; }
  TagRecord* begin() { return m_records.data(); }
  TagRecord* end() { return m_records.data() + m_records.size(); }
  const TagRecord* begin() const { return m_records.data(); }
  const TagRecord* end() const { return m_records.data() + m_records.size(); }

  // The native code of one of the list's records (valid until the list changes).
  std::u16string_view Text(const TagRecord& record) const {
    return std::u16string_view(m_text).substr(record.textBegin, record.textLength);
  }
  // Appends a record with a copy of the text (which must not point into the list's own text).
  void Append(std::u16string_view text, int number, int pairedNumber, bool opening, bool paired) {
    TagRecord& r = m_records.emplace_back();
    r.textBegin = m_text.size();
    r.textLength = static_cast<uint32_t>(text.size());
    m_text.append(text.data(), r.textLength);
    r.number = number;
    r.pairedNumber = pairedNumber;
    r.opening = opening ? 1 : 0;
    r.paired = paired ? 1 : 0;
  }
  void clear() {
    constexpr size_t kKeptRecords = 4096, kKeptText = size_t{1} << 16;
    if (m_records.capacity() > kKeptRecords) std::vector<TagRecord>().swap(m_records);
    if (m_text.capacity() > kKeptText) std::u16string().swap(m_text);
    m_records.clear();
    m_text.clear();
  }

 private:
  std::vector<TagRecord> m_records;
  std::u16string m_text;  // the records' native code, one after the other
};

// Appends a record with its own copy of the text at the end of the list.
inline void AppendTagRecord(TagList& list, std::u16string_view text, int number, int pairedNumber,
                            bool opening, bool paired) {
  list.Append(text, number, pairedNumber, opening, paired);
}
