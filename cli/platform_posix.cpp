// SPDX-License-Identifier: MIT
// The command line's system calls on Linux and other POSIX systems.
#include <unistd.h>

#include <csignal>

#include "cli/platform.h"

namespace {

void (*g_onInterrupt)() = nullptr;

extern "C" void OnSignal(int) {
  if (g_onInterrupt) g_onInterrupt();
}

}  // namespace

void PrepareStandardStreams() {}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void CatchInterrupts(void (*onInterrupt)()) {
  g_onInterrupt = onInterrupt;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal ignored when the program started stays ignored ("nohup velmar2tmx-cli ...").
    struct sigaction previous {};
    if (sigaction(number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(number, &action, nullptr);
  }
}

bool IsTerminal(FILE* stream) {
  return ::isatty(::fileno(stream)) != 0;
}

int DescriptorOf(FILE* stream) {
  return ::fileno(stream);
}
