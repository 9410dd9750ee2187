// SPDX-License-Identifier: MIT
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/platform.h"
#include "cli/terminal_progress.h"

int main(int argc, char** argv) {
  PrepareStandardStreams();
  TerminalProgress::CatchInterrupts();
  std::vector<std::string> arguments = ProgramArguments(argc, argv);
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return RunCommandLine(static_cast<int>(arguments.size()), pointers.data(), stdout, stderr);
}
