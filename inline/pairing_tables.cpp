// SPDX-License-Identifier: MIT
#include "inline/pairing_tables.h"

#include <algorithm>

#include "text/tuning.h"

int IntTable::OtherValue(int key) const {
  if (!m_other) return kNoValue;
  const auto it = m_other->find(key);
  return it == m_other->end() ? kNoValue : it->second;
}

int& IntTable::OtherSlot(int key) {
  if (!m_other) m_other = std::make_unique<std::unordered_map<int, int>>();
  return m_other->try_emplace(key, kNoValue).first->second;
}

void PairingTables::ReleaseLarge() {
  constexpr size_t kLarge = tuning::kKeptListEntries;
  for (std::vector<int>* table : {&firstOpening, &firstClosing, &pairIndex}) {
    if (table->capacity() > kLarge) std::vector<int>().swap(*table);
  }
  if (lookupSlots.capacity() > 4 * kLarge) std::vector<int>().swap(lookupSlots);
  if (closingBits.capacity() > kLarge / 32) std::vector<uint64_t>().swap(closingBits);
  if (runs.capacity() > kLarge / 4) std::vector<Run>().swap(runs);
}

bool RisingNumbers(const TagList& records) {
  int64_t last[2] = {INT64_MIN, INT64_MIN};
  for (const TagRecord& r : records) {
    int64_t& previous = last[r.opening != 0 ? 1 : 0];
    if (r.number <= previous) return false;
    previous = r.number;
  }
  return true;
}

void RecordLookup::MakeTables() {
  m_opening.emplace(m_tables.firstOpening, m_limit);
  m_closing.emplace(m_tables.firstClosing, m_limit);
  for (size_t i = 0; i < m_records.size(); ++i) {
    int& slot = (m_records[i].opening ? *m_opening : *m_closing).Slot(m_records[i].number);
    if (slot == kNoValue) slot = static_cast<int>(i);
  }
}

int RecordLookup::Walk(int number, bool opening) {
  Cursor& cursor = m_cursors[opening ? 1 : 0];
  if (number < cursor.lastAsked) {
    // The numbers went back: the walk cannot tell, the tables answer from now on.
    MakeTables();
    return Find(number, opening);
  }
  cursor.lastAsked = number;
  const uint8_t form = opening ? 1 : 0;
  const size_t size = m_records.size();
  size_t& next = cursor.next;
  while (next < size && (m_records[next].opening != form || m_records[next].number < number)) {
    ++next;
  }
  // The records of the form rise in number: the one found is the only one of that number.
  return next < size && m_records[next].number == number ? static_cast<int>(next) : kNoValue;
}

void ClosingBits::Add(int number) {
  if (!InBits(number)) {
    ++m_counts[number];
    return;
  }
  uint64_t& word = m_bits[static_cast<size_t>(number) >> 6];
  const uint64_t bit = uint64_t{1} << (number & 63);
  if ((word & bit) == 0) {
    word |= bit;
    return;
  }
  ++m_counts.try_emplace(number, 1).first->second;  // one was in the bit
}

void ClosingBits::Remove(int number) {
  const auto it = m_counts.find(number);
  if (!InBits(number)) {
    if (it != m_counts.end()) --it->second;
    return;
  }
  if (it != m_counts.end()) {
    if (--it->second == 1) m_counts.erase(it);
    return;
  }
  m_bits[static_cast<size_t>(number) >> 6] &= ~(uint64_t{1} << (number & 63));
}

bool ClosingBits::Any(int number) const {
  if (InBits(number)) return (m_bits[static_cast<size_t>(number) >> 6] >> (number & 63)) & 1;
  const auto it = m_counts.find(number);
  return it != m_counts.end() && it->second > 0;
}

void BptRuns::Set(int number, int i) {
  if (m_table) {
    m_table->Slot(number) = i;
    return;
  }
  std::vector<PairingTables::Run>& runs = m_tables.runs;
  if (runs.empty()) {
    runs.push_back({number, i, 1});
    return;
  }
  PairingTables::Run& last = runs.back();
  const int64_t end = int64_t{last.number} + last.length;
  if (number == end && int64_t{i} == int64_t{last.i} + last.length) {
    ++last.length;
    return;
  }
  if (number >= end && runs.size() < m_limit / 4 + 16) {
    runs.push_back({number, i, 1});
    return;
  }
  MakeTable();
  m_table->Slot(number) = i;
}

int BptRuns::Get(int number) const {
  if (m_table) return m_table->Get(number);
  const std::vector<PairingTables::Run>& runs = m_tables.runs;
  auto it = std::upper_bound(runs.begin(), runs.end(), number,
                             [](int n, const PairingTables::Run& run) { return n < run.number; });
  if (it == runs.begin()) return kNoValue;
  --it;
  const int64_t offset = int64_t{number} - it->number;
  return offset < it->length ? it->i + static_cast<int>(offset) : kNoValue;
}

void BptRuns::MakeTable() {
  m_table.emplace(m_tables.pairIndex, m_limit);
  for (const PairingTables::Run& run : m_tables.runs) {
    for (int k = 0; k < run.length; ++k) m_table->Slot(run.number + k) = run.i + k;
  }
  m_tables.runs.clear();
}
