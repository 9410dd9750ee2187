// SPDX-License-Identifier: MIT
#include "cli/terminal_progress.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t g_interrupted = 0;
extern "C" void OnInterrupt(int) {
  g_interrupted = 1;
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
  return g_interrupted != 0;
}

void TerminalProgress::CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal ignored when the program started stays ignored ("nohup velmar2tmx-cli ...").
    struct sigaction previous {};
    if (sigaction(number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(number, &action, nullptr);
  }
}
