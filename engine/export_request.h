// SPDX-License-Identifier: MIT
// What an export is asked to do, and how it ended.
#pragma once

#include <map>
#include <string>

#include "engine/engine_error.h"
#include "engine/export_report.h"

struct ExportRequest {
  std::string txtPath;
  // The TMX file. When outputFd is set it only names the output in messages.
  std::string tmxPath;
  // An open descriptor (standard output) to write the TMX into directly, or -1.
  int outputFd = -1;
  // Refuse to replace an existing TMX file (the run fails with OutputExists).
  bool noClobber = false;
  std::string sourceCode;  // catalogue codes, as ResolveLanguageCode gives them
  int sourceCodePage = 1252;
  std::string targetCode;
  int targetCodePage = 1252;  // also the code page of the field values
  bool utf16Output = false;   // UTF-16LE instead of UTF-8
  // Every language of the file in one TMX: each unit's source segment first, then its other
  // languages in the order of their Seg lines (targetCode and targetCodePage are not used).
  bool allLanguages = false;
  // With allLanguages: code pages of particular languages (catalogue codes); the others decode
  // in the code page that the language lists pick for them.
  std::map<std::string, int> codePages;
  // Filled with an account of the run when set.
  ExportReport* report = nullptr;
  // Threads that convert units: 0 one per core, 1 none besides the calling thread.
  int threads = 0;
};

struct ExportResult {
  enum class Stop {
    Done,            // units were written and the TMX file is in place
    NothingWritten,  // no unit had both languages: nothing was created or replaced
    Abandoned,       // asked to stop: nothing was created or replaced
    Failed,          // see error
  };
  Stop stop = Stop::Done;
  int unitsWritten = 0;
  int64_t unitsRead = 0;
  SkipCounts skipped;  // units read but not written, by reason
  EngineError error;   // why the run failed (Failed) or what stopped it (Abandoned)
};
