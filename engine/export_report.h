// SPDX-License-Identifier: MIT
// An account of one export: what was read, what was written, every unit that was not written
// and why, and what was changed on the way. The engine fills it only when a request asks for
// it; the counts of skipped units come with every result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Units that were read but not written, by reason.
struct SkipCounts {
  int64_t noSource = 0;    // no segment in the source language
  int64_t noTarget = 0;    // no segment in the target language (or in any other language)
  int64_t unresolved = 0;  // a segment's language code names no known language
  int64_t Total() const { return noSource + noTarget + unresolved; }
};

// One finding, with the TXT line it concerns.
struct ReportEntry {
  int64_t line = 0;
  std::string field;       // a field's tag and name ("CrD", "Att:Client"), where it concerns one
  std::string value;       // the value as read (UTF-8), where it matters
  uint32_t codePoint = 0;  // a character left out
};

// Findings of one kind: the first kLimit in full, then only their number.
class ReportList {
 public:
  static constexpr size_t kLimit = 1000;
  void Add(ReportEntry entry) {
    if (m_entries.size() < kLimit) {
      m_entries.push_back(std::move(entry));
    } else {
      ++m_more;
    }
  }
  // Adds the findings of a later part of the file.
  void Append(const ReportList& later) {
    for (const ReportEntry& entry : later.m_entries) Add(entry);
    m_more += later.m_more;
  }
  void Clear() {
    m_entries.clear();
    m_more = 0;
  }
  const std::vector<ReportEntry>& Entries() const { return m_entries; }
  // Findings beyond the limit.
  int64_t More() const { return m_more; }
  int64_t Count() const { return static_cast<int64_t>(m_entries.size()) + m_more; }

 private:
  std::vector<ReportEntry> m_entries;
  int64_t m_more = 0;
};

struct LanguageUse {
  std::string code;  // catalogue code
  int codePage = 0;
};

struct ExportReport {
  std::string txtPath;
  std::string tmxPath;
  // How the run ended: "written", "nothing written", "interrupted", "failed"; and why it failed.
  std::string outcome;
  std::string error;
  LanguageUse source;
  std::vector<LanguageUse> others;  // the target, or every other language met
  int64_t unitsRead = 0;
  int64_t unitsWritten = 0;
  SkipCounts skipped;
  ReportList noSource, noTarget, unresolved;  // skipped units: the line of their <TrU>
  ReportList forbiddenCharacters;             // characters XML does not allow, left out
  ReportList invalidDates;                    // date fields that hold no valid date, ignored
  ReportList repeatedFields;                  // fields given again in a unit: the last value counts
  ReportList unpairedInline;  // inline elements written as <it>: no partner in the segment
};

// Adds the findings (the lists, not the counts) of a later part of the file to report.
void AppendFindings(ExportReport& report, const ExportReport& later);
// Empties the lists of findings.
void ClearFindings(ExportReport& report);
