// SPDX-License-Identifier: MIT
// Linux: a handler writes the signal's number into a pipe, which a socket notifier watches.
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <iterator>

#include "ui/quit_signals.h"

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
struct sigaction g_previous[std::size(kSignals)];
bool g_caught[std::size(kSignals)] = {};

void OnSignal(int number) {
  const int saved = errno;
  const char byte = static_cast<char>(number);
  if (g_pipe[1] >= 0) (void)!write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::OnReadable);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    if (sigaction(kSignals[i], nullptr, &g_previous[i]) != 0) continue;
    // A signal ignored when the program started stays ignored ("nohup velmar2tmx").
    if (g_previous[i].sa_handler == SIG_IGN) continue;
    g_caught[i] = sigaction(kSignals[i], &action, nullptr) == 0;
  }
}

QuitSignals::~QuitSignals() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    if (g_caught[i]) sigaction(kSignals[i], &g_previous[i], nullptr);
    g_caught[i] = false;
  }
  for (int& end : g_pipe) {
    if (end >= 0) close(end);
    end = -1;
  }
}

void QuitSignals::OnReadable() {
  char bytes[16];
  while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
  }
  emit quitRequested();
}
