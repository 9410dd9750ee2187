// SPDX-License-Identifier: MIT
// An account of one export: what was read, what was written, every unit that was not written
// and why, and what was changed on the way. The engine fills it only when a request asks for
// it; the counts of skipped units come with every result.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Seg lines of written units that were not written, by reason (those of skipped units go with
// their units).
struct LeftOutCounts {
  int64_t unknownCode = 0;    // the language code names no known language
  int64_t otherLanguage = 0;  // a language other than the chosen ones
  int64_t repeated = 0;       // a later Seg line of the same language in the unit counts
  int64_t empty = 0;          // the language's last Seg line in the unit is empty
  int64_t Total() const { return unknownCode + otherLanguage + repeated + empty; }
  void Add(const LeftOutCounts& other) {
    unknownCode += other.unknownCode;
    otherLanguage += other.otherLanguage;
    repeated += other.repeated;
    empty += other.empty;
  }
};

// Units that were read but not written, by reason; and the segments left out of written units.
struct SkipCounts {
  int64_t noSource = 0;    // no segment in the source language
  int64_t noTarget = 0;    // no segment in the target language (or in any other language)
  int64_t unresolved = 0;  // a segment's language code names no known language
  LeftOutCounts segments;
  int64_t Total() const { return noSource + noTarget + unresolved; }
  void Add(const SkipCounts& other) {
    noSource += other.noSource;
    noTarget += other.noTarget;
    unresolved += other.unresolved;
    segments.Add(other.segments);
  }
};

// The Seg lines of one language: every one read was written, is in a skipped unit or was left
// out (read = written + inSkippedUnits + leftOut.Total()).
struct SegmentCounts {
  int64_t read = 0;
  int64_t written = 0;
  int64_t inSkippedUnits = 0;
  LeftOutCounts leftOut;
  void Add(const SegmentCounts& other) {
    read += other.read;
    written += other.written;
    inSkippedUnits += other.inSkippedUnits;
    leftOut.Add(other.leftOut);
  }
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
  // Seg lines by language (the catalogue code, or the code as read when it names no language).
  std::map<std::string, SegmentCounts> segments;
  ReportList unknownCodeSegments;  // left out of written units: the line and the code
  ReportList repeatedSegments;     // left out for a later one of their language: line and code
  ReportList fieldsBetweenUnits;   // fields that belong to no unit: the line and the tag
};

// Adds the findings (the lists, not the counts) of a later part of the file to report.
void AppendFindings(ExportReport& report, const ExportReport& later);
// Empties the lists of findings.
void ClearFindings(ExportReport& report);
