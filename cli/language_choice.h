// SPDX-License-Identifier: MIT
// Which languages and code pages a conversion uses, from the options and the TXT file.
#pragma once

#include <cstdio>
#include <string>

#include "cli/options.h"

struct LanguageChoice {
  std::string sourceCode;
  int sourceCodePage = 0;
  std::string targetCode;
  int targetCodePage = 0;
};

// Fills choice; on failure prints the reason to err and returns the exit status (else 0).
int ChooseLanguages(const CliOptions& options, LanguageChoice& choice, FILE* err);
// --analyse: prints the languages found; returns the exit status.
int PrintAnalysis(const CliOptions& options, FILE* out, FILE* err);
// --list-languages: prints the catalogue; returns the exit status.
int PrintLanguageList(FILE* out);
