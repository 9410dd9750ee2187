// SPDX-License-Identifier: MIT
#include "cli/report_file.h"

#include <cstring>

#include "engine/byte_sink.h"

bool ReportFile::Open(const std::string& path, std::string& error) {
  EngineError failure;
  if (m_file.Open(path, -1, false, failure)) return true;
  error = failure.reason;
  return false;
}

bool ReportFile::Write(const std::string& text, std::string& error) {
  {
    FdSink sink(m_file.Fd(), false);
    if (!sink.Write(text.data(), text.size()) || !sink.Flush()) {
      error = std::strerror(sink.Error());
      m_file.Discard();
      return false;
    }
  }
  EngineError failure;
  if (m_file.Commit(failure)) return true;
  error = failure.reason;
  return false;
}
