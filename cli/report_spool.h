// SPDX-License-Identifier: MIT
// The entries of the --report file as the files of a run are done: each written out at once to
// an unnamed temporary file, so that the memory of a run does not grow with its files; only the
// totals are kept. At the end the whole document goes to the report file.
#pragma once

#include <cstdio>
#include <string>

#include "engine/export_report.h"
#include "engine/report_json.h"

class ReportSpool {
 public:
  ReportSpool();
  ~ReportSpool();
  ReportSpool(const ReportSpool&) = delete;
  ReportSpool& operator=(const ReportSpool&) = delete;

  // Adds the entry of a file that is done.
  void Add(const ExportReport& report);
  // Writes the whole document to fd; false with errno set when a read or write failed.
  bool WriteTo(int fd);

 private:
  bool Spool(const std::string& text);

  std::FILE* m_file = nullptr;  // the entries so far; null: they are kept in m_text
  std::string m_text;
  int m_error = 0;  // errno of a failed write to m_file
  ReportTotals m_totals;
};
