// SPDX-License-Identifier: MIT
#include "cli/report_spool.h"

#include <cerrno>

#include "cli/report_file.h"

ReportSpool::ReportSpool() : m_file(std::tmpfile()) {}

ReportSpool::~ReportSpool() {
  if (m_file) std::fclose(m_file);
}

void ReportSpool::Add(const ExportReport& report) {
  (void)Spool(ReportJsonFile(report, m_totals.files == 0));
  m_totals.Add(report);
}

bool ReportSpool::Spool(const std::string& text) {
  if (!m_file) {  // no temporary file to be had: the entries stay in memory
    m_text += text;
    return true;
  }
  if (m_error == 0 && std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) {
    m_error = errno != 0 ? errno : EIO;
  }
  return m_error == 0;
}

bool ReportSpool::WriteTo(int fd) {
  const std::string start = ReportJsonStart();
  if (!WriteAll(fd, start.data(), start.size())) return false;
  if (m_file) {
    if (m_error != 0 || std::fflush(m_file) != 0 || std::fseek(m_file, 0, SEEK_SET) != 0) {
      errno = m_error != 0 ? m_error : errno;
      return false;
    }
    char block[1 << 16];
    size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, m_file)) > 0) {
      if (!WriteAll(fd, block, n)) return false;
    }
    if (std::ferror(m_file)) {
      errno = EIO;
      return false;
    }
  } else if (!WriteAll(fd, m_text.data(), m_text.size())) {
    return false;
  }
  const std::string end = ReportJsonEnd(m_totals);
  return WriteAll(fd, end.data(), end.size());
}
