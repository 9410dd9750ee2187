// SPDX-License-Identifier: MIT
// Analyse: the languages of the first units of a TXT file, each listed once with its code page.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "engine/line_file.h"
#include "engine/tmx_exporter.h"
#include "text/language_catalogue.h"

namespace {

// Units scanned: the progress rises by this much per unit and the scan ends at 100.
constexpr int kPercentPerUnit = 4;

void AddLanguage(LanguageList& list, std::string name, int codePage) {
  const bool known = std::any_of(list.begin(), list.end(), [&](const LanguageEntry& e) {
    return e.codePage == codePage && e.name == name;
  });
  if (!known) list.push_back(LanguageEntry{std::move(name), codePage});
}

}  // namespace

AnalysisResult CTmxExporter::Analyse(const std::string& txtPath, ProgressReporter* progress) {
  AnalysisResult result;
  result.error.work = EngineError::Work::Analysis;
  try {
    Scan(txtPath, result, progress);
  } catch (const std::bad_alloc&) {
    // A line too long for the memory there is, say.
    result.error.Set(EngineError::Kind::OutOfMemory, txtPath, 0);
  }
  return result;
}

void CTmxExporter::Scan(const std::string& txtPath, AnalysisResult& result,
                        ProgressReporter* progress) {
  LanguageList& list = result.languages;
  EngineError& error = result.error;
  CLineFile in;
  if (!in.Open(txtPath, "r", kTextPlain)) {
    // An open of a named pipe cut short by the signal that asks to stop is that stop.
    const bool stopped = in.Error() == EINTR && progress && progress->ShouldStop();
    error.Set(stopped ? EngineError::Kind::Abandoned : EngineError::Kind::OpenInput, txtPath,
              stopped ? 0 : in.Error());
    return;
  }
  // The file is read in blocks and the stop answer is asked before each: a file without units
  // (or without line ends) stops as promptly as one with them.
  in.SetStopCheck(progress);
  int percent = 0;
  std::string_view line;
  std::string code;
  while (percent < 100 && in.ReadLineView(line)) {
    std::string_view tag, lValue, content;
    bool closing = false;
    if (!ParseTagLine(line, tag, lValue, content, closing)) continue;
    if (tag == "Seg" && !closing) {
      code.assign(lValue);
      int codePage = 0;
      if (ResolveLanguageCode(code, codePage)) {
        AddLanguage(list, LanguageDisplayName(code), codePage);
      }
    } else if (tag == "TrU" && closing) {
      percent += kPercentPerUnit;
      if (progress) {
        progress->SetPosition(percent);
        if (progress->ShouldStop()) {
          error.Set(EngineError::Kind::Abandoned, txtPath, 0);
          return;
        }
      }
    }
  }
  if (in.StopRequested()) {
    error.Set(EngineError::Kind::Abandoned, txtPath, 0);
    return;
  }
  if (in.ReadFailed()) {
    // A file that cannot be read (a folder, an I/O error) is no file without languages.
    error.Set(EngineError::Kind::ReadInput, txtPath, in.Error());
    return;
  }
  if (progress) progress->SetPosition(100);
}
