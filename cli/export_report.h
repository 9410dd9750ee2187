// SPDX-License-Identifier: MIT
// What the command line says when a conversion has ended, and the exit status it gives; how it
// tells of an engine failure.
#pragma once

#include <cstdio>
#include <string>

#include "engine/export_request.h"

struct ReportContext {
  std::string txtPath;            // as the engine opened it (/dev/stdin for standard input)
  std::string tmxPath;            // as the engine was given it (/dev/stdout for standard output)
  bool toStandardOutput = false;  // the TMX went to standard output: success message on err
  bool quiet = false;             // no success message
  std::string sourceCode;  // the languages converted, for the message when no unit was written
  std::string targetCode;  // empty with --all-languages
};

// Prints the outcome (success message on out, everything else on err) and returns the exit
// status: 0 units written, 1 none, 3 failed, 130 interrupted.
int ReportExport(const ExportResult& result, const ReportContext& context, FILE* out, FILE* err);

// Prints "velmar2tmx-cli: " and the description of error, its file named as ShownPath names it
// ("velmar2tmx-cli: cannot open 'a.txt': No such file or directory").
void PrintEngineError(const EngineError& error, FILE* err);
