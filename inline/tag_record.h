// SPDX-License-Identifier: MIT
// TagRecord: the native RTF code behind one placeholder of a segment's markup, and the pairing
// of a target placeholder with the source placeholder of identical code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "text/tuning.h"

// A long segment's records are all held while its content is written, so a record takes 8 bytes;
// its paired number is the list's (see TagList::PairedNumber).
struct TagRecord {
  int number = 0;       // the placeholder number N
  uint16_t text = 0;    // the native RTF code the placeholder stands for: see TagList::Text
  uint8_t opening = 0;  // 1 for <N> and <N/>, 0 for </N>
  uint8_t paired = 0;   // target: a source record was found; source: a target record took it
};
static_assert(sizeof(TagRecord) == 8);

// Records of one side, in the order they were made (never reordered). The native code of all
// records is held in one text, so a record costs no allocation of its own; in a long list, a
// record whose code is that of one of the last few texts stored shares it (a long segment repeats a
// few codes, such as "}", over and over). A record names its text by a short index; a list that
// stores more texts than that names keeps the index of every record's text in a list of its own.
// A record's paired number (source: mostly N for opening records, 0 for closing; target: the
// source N or 0) is that usual one, N or 0 by its form, until a record's differs; from then on the
// list keeps the paired number of every record in a list of its own.
// Emptying the list keeps its memory for the next unit; only a list grown unusually large gives
// it back.
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

  void reserve(size_t records) { m_records.reserve(records); }
  // The native code of one of the list's records (valid until the list changes).
  std::u16string_view Text(const TagRecord& record) const {
    if (record.text != kWideIndex) return TextAt(record.text);
    return TextAt(m_wideIndex[static_cast<size_t>(&record - m_records.data())]);
  }
  // The number of the placeholder a record is paired with (see TagRecord).
  int PairedNumber(const TagRecord& record) const {
    if (m_ownPairedNumbers) {
      return m_pairedNumbers[static_cast<size_t>(&record - m_records.data())];
    }
    return UsualPairedNumber(record);
  }
  // The length of all the records' native code together (shared texts counted once for each).
  size_t NativeSize() const { return m_nativeSize; }
  // Appends a record with a copy of the text (which must not point into the list's own text).
  void Append(std::u16string_view text, int number, int pairedNumber, bool opening, bool paired) {
    m_nativeSize += text.size();
    if (m_bounds.size() > kSharedFrom) {
      AppendToLongList(text, number, pairedNumber, opening, paired);
      return;
    }
    TagRecord& r = m_records.emplace_back();
    r.text = static_cast<uint16_t>(m_bounds.size() - 1);
    m_text.append(text.data(), text.size());
    m_bounds.push_back(m_text.size());
    r.number = number;
    r.opening = opening ? 1 : 0;
    r.paired = paired ? 1 : 0;
    NotePairedNumber(r, pairedNumber);
  }
  void clear() {
    constexpr size_t kKeptRecords = tuning::kKeptTagRecords;
    constexpr size_t kKeptText = tuning::kKeptTagRecordUnits;
    if (m_records.capacity() > kKeptRecords) std::vector<TagRecord>().swap(m_records);
    if (m_text.capacity() > kKeptText) std::u16string().swap(m_text);
    if (m_bounds.capacity() > kKeptRecords) std::vector<size_t>().swap(m_bounds);
    if (m_wide) std::vector<uint32_t>().swap(m_wideIndex);
    m_wide = false;
    if (m_pairedNumbers.capacity() > kKeptRecords) std::vector<int>().swap(m_pairedNumbers);
    m_pairedNumbers.clear();
    m_ownPairedNumbers = false;
    m_records.clear();
    m_text.clear();
    m_bounds.assign(1, 0);
    m_nativeSize = 0;
    for (uint32_t& recent : m_recent) recent = kNoText;
  }

 private:
  static constexpr uint32_t kNoText = UINT32_MAX;
  static constexpr uint16_t kWideIndex = UINT16_MAX;  // the record's text index is in m_wideIndex
  static constexpr size_t kRecentTexts = 4;           // a power of two
  static constexpr size_t kSharedFrom = 64;           // texts stored before recent ones are shared

  std::u16string_view TextAt(uint32_t index) const {
    return std::u16string_view(m_text).substr(m_bounds[index],
                                              m_bounds[index + 1] - m_bounds[index]);
  }
  // A list of a few texts (that of a common segment) stores each, which is quicker than
  // comparing; a longer list shares one of the recent texts when it can.
  void AppendToLongList(std::u16string_view text, int number, int pairedNumber, bool opening,
                        bool paired) {
    const uint32_t index = StoredText(text);
    if (index >= kWideIndex && !m_wide) {
      m_wide = true;  // from now on every record's text index is in the list of its own
      m_wideIndex.reserve(m_records.capacity());
      for (const TagRecord& record : m_records) m_wideIndex.push_back(record.text);
    }
    TagRecord& r = m_records.emplace_back();
    if (m_wide) {
      m_wideIndex.push_back(index);
      r.text = kWideIndex;
    } else {
      r.text = static_cast<uint16_t>(index);
    }
    r.number = number;
    r.opening = opening ? 1 : 0;
    r.paired = paired ? 1 : 0;
    NotePairedNumber(r, pairedNumber);
  }
  static int UsualPairedNumber(const TagRecord& record) {
    return record.opening ? record.number : 0;
  }
  // Keeps the paired number of the last record made, r.
  void NotePairedNumber(const TagRecord& r, int pairedNumber) {
    if (!m_ownPairedNumbers) {
      if (pairedNumber == UsualPairedNumber(r)) return;
      m_ownPairedNumbers = true;  // from now on every record's paired number is kept
      m_pairedNumbers.reserve(m_records.capacity());
      for (size_t i = 0; i + 1 < m_records.size(); ++i) {
        m_pairedNumbers.push_back(UsualPairedNumber(m_records[i]));
      }
    }
    m_pairedNumbers.push_back(pairedNumber);
  }
  // The index of a stored text equal to text: one of the recent ones, or a new one.
  uint32_t StoredText(std::u16string_view text) {
    for (const uint32_t recent : m_recent) {
      if (recent != kNoText && TextAt(recent) == text) return recent;
    }
    const size_t index = m_bounds.size() - 1;
    if (index >= kNoText) throw std::length_error("too many native codes in a segment");
    m_text.append(text.data(), text.size());
    m_bounds.push_back(m_text.size());
    m_recent[m_nextRecent] = static_cast<uint32_t>(index);
    m_nextRecent = (m_nextRecent + 1) & (kRecentTexts - 1);
    return static_cast<uint32_t>(index);
  }

  std::vector<TagRecord> m_records;
  std::u16string m_text;              // the stored texts, one after the other
  std::vector<size_t> m_bounds{0};    // where each stored text begins, and the end of the last
  size_t m_nativeSize = 0;            // see NativeSize
  bool m_wide = false;                // more texts than a record's short index can name
  std::vector<uint32_t> m_wideIndex;  // then: the text index of every record
  bool m_ownPairedNumbers = false;    // a record's paired number is not the usual one
  std::vector<int> m_pairedNumbers;   // then: the paired number of every record
  uint32_t m_recent[kRecentTexts] = {kNoText, kNoText, kNoText, kNoText};
  size_t m_nextRecent = 0;
};

// Appends a record with its own copy of the text at the end of the list.
inline void AppendTagRecord(TagList& list, std::u16string_view text, int number, int pairedNumber,
                            bool opening, bool paired) {
  list.Append(text, number, pairedNumber, opening, paired);
}
