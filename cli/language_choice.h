// SPDX-License-Identifier: MIT
// Which languages and code pages a conversion uses, from the options and the TXT file.
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "cli/options.h"

// The languages the options name, resolved to catalogue codes once for every file of the run.
struct GivenLanguages {
  std::string sourceCode;                // empty: the default of each file
  std::string targetCode;                // empty: the default of each file (none with -A)
  std::map<std::string, int> codePages;  // --codepage, by catalogue code
};

struct LanguageChoice {
  std::string sourceCode;
  int sourceCodePage = 0;
  std::string targetCode;  // empty with --all-languages
  int targetCodePage = 0;
  std::map<std::string, int> codePages;  // --codepage, for the languages after the source
};

// Resolves -s, -t and the codes of --codepage and checks the code pages; on a usage error
// prints it to err and returns the exit status (else 0).
int ResolveGivenLanguages(const CliOptions& options, GivenLanguages& given, FILE* err);
// Fills choice for the file options.txtPath; on failure prints the reason to err and returns
// the exit status (else 0).
int ChooseLanguages(const CliOptions& options, const GivenLanguages& given, LanguageChoice& choice,
                    FILE* err);
// Whether code page can decode a language's segments; prints why not (naming option) to err.
bool CheckCodePage(int codePage, const std::string& option, FILE* err);
// --analyse: prints the languages found; returns the exit status.
int PrintAnalysis(const CliOptions& options, FILE* out, FILE* err);
// --list-languages: prints the catalogue; returns the exit status.
int PrintLanguageList(FILE* out);
