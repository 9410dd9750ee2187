// SPDX-License-Identifier: MIT
#include "cli/terminal_progress.h"

#include <atomic>

#include "cli/platform.h"

namespace {
// Set from a signal handler (or, on Windows, the console's event thread): lock-free.
std::atomic<int> g_interrupted{0};
static_assert(std::atomic<int>::is_always_lock_free);
void OnInterrupt() {
  g_interrupted.store(1);
}
}  // namespace

TerminalProgress::TerminalProgress(FILE* err, bool show) : m_err(err), m_show(show) {}

TerminalProgress::~TerminalProgress() {
  if (m_shown >= 0) std::fputc('\n', m_err);
}

void TerminalProgress::SetPosition(int percent) {
  if (!m_show || percent == m_shown) return;
  m_shown = percent;
  std::fprintf(m_err, "\r%s%s %3d%%", m_label.c_str(), m_status.c_str(), percent);
  std::fflush(m_err);
}

void TerminalProgress::SetState(ProgressState state) {
  // The line keeps the last state of work after the run has ended.
  if (state == ProgressState::Exporting) m_status = "Exporting...";
}

bool TerminalProgress::ShouldStop() {
  return Interrupted();
}

bool TerminalProgress::Interrupted() {
  return g_interrupted.load() != 0;
}

void TerminalProgress::SetInterrupted(bool interrupted) {
  g_interrupted.store(interrupted ? 1 : 0);
}

void TerminalProgress::CatchInterrupts() {
  ::CatchInterrupts(OnInterrupt);
}
