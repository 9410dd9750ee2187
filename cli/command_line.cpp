// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

int RunCommandLine(int argc, char** argv, FILE* out, FILE* err) {
  (void)argc;
  (void)argv;
  (void)out;
  (void)err;
  return kExitUsage;
}
