// SPDX-License-Identifier: MIT
#include "cli/language_choice.h"

#include "cli/command_line.h"

int ChooseLanguages(const CliOptions& options, LanguageChoice& choice, FILE* err) {
  if (options.source.empty() || options.target.empty()) {
    std::fprintf(err, "velmar2tmx-cli: default languages are not available yet: give -s and -t\n");
    return kExitUsage;
  }
  choice.sourceCode = options.source;
  choice.targetCode = options.target;
  choice.sourceCodePage = options.sourceCodePage.value_or(1252);
  choice.targetCodePage = options.targetCodePage.value_or(1252);
  return 0;
}

int PrintAnalysis(const CliOptions& options, FILE* out, FILE* err) {
  (void)options;
  (void)out;
  std::fprintf(err, "velmar2tmx-cli: --analyse is not available yet\n");
  return kExitUsage;
}

int PrintLanguageList(FILE* out) {
  (void)out;
  return kExitUsage;
}
