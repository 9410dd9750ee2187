// SPDX-License-Identifier: MIT
// One TXT file of a run converted: its languages chosen, the TMX written, the outcome told.
#pragma once

#include <cstdio>
#include <string>

#include "cli/language_choice.h"
#include "cli/options.h"
#include "engine/export_request.h"

// How one file of a run ended.
struct FileOutcome {
  std::string txtPath;  // as given on the command line
  std::string tmxPath;  // where the TMX was to go
  int status = 0;       // the exit status this file alone would give
  int64_t unitsWritten = 0;
  SkipCounts skipped;
};

// Where a run is: the file's number (from 1) and the number of files, for the progress line.
struct FilePosition {
  size_t number = 1;
  size_t count = 1;
};

// The TMX path of a TXT file: -o, the TXT file's name in --output-dir, or beside the TXT file.
std::string TmxPathOf(const CliOptions& options, const std::string& txtPath);

// Converts options.txtPath. Messages go to err (errors) and out (the success message of a
// single file); report, when set, receives the account of the file.
FileOutcome ConvertFile(const CliOptions& options, const GivenLanguages& given,
                        const FilePosition& position, ExportReport* report, FILE* out, FILE* err);
