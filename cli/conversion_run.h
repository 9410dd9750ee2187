// SPDX-License-Identifier: MIT
// A run over the TXT files of the command line: each converted in turn, a failed file not
// stopping the others, a line per file and the closing count, and the --report file.
#pragma once

#include <cstdio>

#include "cli/language_choice.h"
#include "cli/options.h"

// Converts every file of options.txtPaths; returns the worst of their exit statuses (130 when
// interrupted: the file in work is abandoned and later files are not started).
int RunConversions(const CliOptions& options, const GivenLanguages& given, FILE* out, FILE* err);
