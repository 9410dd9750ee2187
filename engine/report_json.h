// SPDX-License-Identifier: MIT
// The reports of a run (one per file) as a JSON document. The keys are described in the README.
#pragma once

#include <string>
#include <vector>

#include "engine/export_report.h"

// The document, indented by two blanks. A file name that is not UTF-8 is written as ReportName
// gives it, with "inputEscaped" or "outputEscaped" true beside it; other text that is not UTF-8
// is written with U+FFFD.
std::string ReportJson(const std::vector<ExportReport>& reports);

// The document in pieces, for a run that hands on each file's entry once the file is done and
// keeps only the totals: ReportJsonStart(), ReportJsonFile() for every file (first: the first
// one), ReportJsonEnd() with the totals. Together they are ReportJson of the same reports.
// A file name (or a path within a text) as the report writes it: UTF-8 as it is, any other
// name escaped as the messages escape it (a backslash as \\, control characters and bytes
// that are not UTF-8 as \ and three octal digits), so that it can be told back.
std::string ReportName(const std::string& name);

struct ReportTotals {
  int64_t files = 0;
  int64_t unitsRead = 0;
  int64_t unitsWritten = 0;
  int64_t unitsSkipped = 0;
  void Add(const ExportReport& report);
};
std::string ReportJsonStart();
std::string ReportJsonFile(const ExportReport& report, bool first);
std::string ReportJsonEnd(const ReportTotals& totals);
