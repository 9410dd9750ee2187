// SPDX-License-Identifier: MIT
// The lookups of the tag pairing by placeholder number: the first record of a number and form,
// the closing texts still ahead, and the i of each <bpt>. A segment uses tables that cover the
// numbers of its records, except a long one whose records come in order (its opening records
// rising in number, and its closing records too, as groups one after the other make them): that
// one is served by walking its records and by bits and runs, as long as the placeholders come in
// the same order, and makes the tables only when they do not.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "inline/tag_record.h"
#include "text/tuning.h"

inline constexpr int kNoValue = INT_MIN;

// Values by int key: small non-negative keys in a table, the others in a map. The tables of
// one thread are kept from call to call, so a segment costs no allocation for them; the map is
// made only when a key falls outside the table.
class IntTable {
 public:
  // The table over storage, made limit slots long and set to kNoValue.
  IntTable(std::vector<int>& storage, size_t limit) : IntTable(Filled(storage, limit), limit) {}
  // The table over limit slots at direct, which the caller has set to kNoValue.
  IntTable(int* direct, size_t limit) : m_direct(direct), m_size(limit) {}
  int Get(int key) const {
    if (key >= 0 && static_cast<size_t>(key) < m_size) return m_direct[key];
    return OtherValue(key);
  }
  int& Slot(int key) {
    if (key >= 0 && static_cast<size_t>(key) < m_size) return m_direct[key];
    return OtherSlot(key);
  }

 private:
  static int* Filled(std::vector<int>& storage, size_t limit) {
    storage.assign(limit, kNoValue);
    return storage.data();
  }
  // Keys beyond the direct table (rare), out of the way of the lookups that inline.
  int OtherValue(int key) const;
  int& OtherSlot(int key);

  int* m_direct;
  size_t m_size;
  std::unique_ptr<std::unordered_map<int, int>> m_other;
};

// The working lists of the lookups, kept from call to call.
struct PairingTables {
  struct Run {
    int number;  // the first number of the run
    int i;       // its i
    int length;  // the numbers number, number + 1, ... have i, i + 1, ...
  };
  std::vector<int> firstOpening, firstClosing, pairIndex;
  // The four tables of TableLookups, one after the other, set in one fill.
  std::vector<int> lookupSlots;
  std::vector<uint64_t> closingBits;
  std::vector<Run> runs;
  void ReleaseLarge();
};

// Records from which a list in order is served without tables.
inline constexpr size_t kLongTagList = tuning::kOrderedTagListFrom;
// Whether the opening records, and the closing records, each rise in number.
bool RisingNumbers(const TagList& records);
// A long list whose records come in order.
inline bool RecordsInOrder(const TagList& records) {
  return records.size() >= kLongTagList && RisingNumbers(records);
}

// The index of the first record of each number and form.
class RecordLookup {
 public:
  RecordLookup(const TagList& records, PairingTables& tables, size_t limit)
      : m_records(records), m_tables(tables), m_limit(limit) {}
  // The index of the first record with this number and opening flag, or kNoValue.
  int Find(int number, bool opening) {
    if (m_opening) return (opening ? *m_opening : *m_closing).Get(number);
    return Walk(number, opening);
  }

 private:
  // Where the walk of one form stands: every record of that form before next has a number below
  // the last number asked for.
  struct Cursor {
    size_t next = 0;
    int lastAsked = INT_MIN;
  };
  int Walk(int number, bool opening);
  void MakeTables();

  const TagList& m_records;
  PairingTables& m_tables;
  size_t m_limit;
  std::optional<IntTable> m_opening, m_closing;
  Cursor m_cursors[2];
};

// How many closing texts of each canonical number are still ahead: one bit for each number the
// tables would cover (set: one or more), the count in a map where it is two or more, and other
// numbers in the map alone.
class ClosingBits {
 public:
  ClosingBits(PairingTables& tables, size_t limit) : m_bits(tables.closingBits), m_limit(limit) {
    m_bits.assign((limit + 63) / 64, 0);
  }
  void Add(int number);
  // Takes back one that was added.
  void Remove(int number);
  bool Any(int number) const;

 private:
  bool InBits(int number) const { return number >= 0 && static_cast<size_t>(number) < m_limit; }
  std::vector<uint64_t>& m_bits;
  size_t m_limit;
  std::unordered_map<int, int> m_counts;
};

// The i of the last opening placeholder of each number written as <bpt>: while the numbers
// rise, stretches where the number and i rise together by one are kept as runs; a table is made
// when a number does not rise, or when the runs grow too many.
class BptRuns {
 public:
  BptRuns(PairingTables& tables, size_t limit) : m_tables(tables), m_limit(limit) {
    m_tables.runs.clear();
  }
  void Set(int number, int i);
  int Get(int number) const;

 private:
  void MakeTable();
  PairingTables& m_tables;
  size_t m_limit;
  std::optional<IntTable> m_table;
};

// The lookups of a segment from tables that cover the numbers of its records.
class TableLookups {
 public:
  TableLookups(const TagList& records, PairingTables& tables, size_t limit)
      // The first table's initialiser fills all four (members start in declaration order).
      : m_firstOpening(Slots(tables, limit), limit),
        m_firstClosing(tables.lookupSlots.data() + limit, limit),
        m_closingAhead(tables.lookupSlots.data() + 2 * limit, limit),
        m_pairIndex(tables.lookupSlots.data() + 3 * limit, limit) {
    // Records: the first of each (number, opening flag), in list order.
    for (size_t i = 0; i < records.size(); ++i) {
      int& slot = (records[i].opening ? m_firstOpening : m_firstClosing).Slot(records[i].number);
      if (slot == kNoValue) slot = static_cast<int>(i);
    }
  }
  // The index of the first record with this number and opening flag, or kNoValue.
  int FindRecord(int number, bool opening) {
    return (opening ? m_firstOpening : m_firstClosing).Get(number);
  }
  void AddClosing(int number) {
    int& count = m_closingAhead.Slot(number);
    count = count == kNoValue ? 1 : count + 1;
  }
  void RemoveClosing(int number) { --m_closingAhead.Slot(number); }
  bool AnyClosing(int number) const {
    const int count = m_closingAhead.Get(number);
    return count != kNoValue && count > 0;
  }
  void SetBpt(int number, int i) { m_pairIndex.Slot(number) = i; }
  int GetBpt(int number) const { return m_pairIndex.Get(number); }

 private:
  static int* Slots(PairingTables& tables, size_t limit) {
    tables.lookupSlots.assign(4 * limit, kNoValue);
    return tables.lookupSlots.data();
  }
  IntTable m_firstOpening, m_firstClosing;
  IntTable m_closingAhead;  // closing texts with a canonical number still ahead
  IntTable m_pairIndex;     // the i of each opening placeholder written as <bpt>
};

// The same lookups for a long list whose records come in order, mostly without tables.
class CompactLookups {
 public:
  CompactLookups(const TagList& records, PairingTables& tables, size_t limit)
      : m_records(records, tables, limit),
        m_closingAhead(tables, limit),
        m_pairIndex(tables, limit) {}
  int FindRecord(int number, bool opening) { return m_records.Find(number, opening); }
  void AddClosing(int number) { m_closingAhead.Add(number); }
  void RemoveClosing(int number) { m_closingAhead.Remove(number); }
  bool AnyClosing(int number) const { return m_closingAhead.Any(number); }
  void SetBpt(int number, int i) { m_pairIndex.Set(number, i); }
  int GetBpt(int number) const { return m_pairIndex.Get(number); }

 private:
  RecordLookup m_records;
  ClosingBits m_closingAhead;
  BptRuns m_pairIndex;
};
