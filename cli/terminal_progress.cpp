// SPDX-License-Identifier: MIT
#include "cli/terminal_progress.h"

TerminalProgress::~TerminalProgress() {
  if (m_shown >= 0) std::fputc('\n', m_err);
}

void TerminalProgress::SetProgressPos(int percent) {
  if (percent == m_shown) return;
  m_shown = percent;
  std::fprintf(m_err, "\r%s %3d%%", m_status.c_str(), percent);
  std::fflush(m_err);
}

void TerminalProgress::SetStatusText(const std::string& text) {
  if (!text.empty() && text != "Idle") m_status = text;
}
