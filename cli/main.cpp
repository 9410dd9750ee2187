// SPDX-License-Identifier: MIT
#include <cstdio>

#include "cli/command_line.h"
#include "cli/terminal_progress.h"

int main(int argc, char** argv) {
  TerminalProgress::CatchInterrupts();
  return RunCommandLine(argc, argv, stdout, stderr);
}
