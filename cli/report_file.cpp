// SPDX-License-Identifier: MIT
#include "cli/report_file.h"

bool ReportFile::Open(const std::string& path, std::string& error) {
  EngineError failure;
  if (m_file.Open(path, -1, false, failure)) return true;
  error = failure.reason;
  return false;
}

bool ReportFile::Write(const std::string& text, std::string& error) {
  EngineError failure;
  if (m_file.WriteAll(text, failure) && m_file.Commit(failure)) return true;
  error = failure.reason;
  return false;
}
