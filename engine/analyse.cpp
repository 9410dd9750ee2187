// SPDX-License-Identifier: MIT
// Analyse: the languages of the first units of a TXT file, each listed once with its code page.
#include <algorithm>
#include <cerrno>
#include <new>
#include <string>

#include "engine/tmx_exporter.h"
#include "engine/txt_reader.h"
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

// The progress of a scan: a step at every </TrU> until the 25th ends it, and the answer to
// the question whether to stop that comes with each step.
class UnitSteps {
 public:
  explicit UnitSteps(ProgressReporter* progress) : m_progress(progress) {}
  // False when the scan ends here (it has seen enough units, or was asked to stop).
  bool Step() {
    m_percent += kPercentPerUnit;
    if (m_progress) {
      m_progress->SetPosition(m_percent);
      if (m_progress->ShouldStop()) {
        m_quit = true;
        return false;
      }
    }
    return m_percent < 100;
  }
  bool Quit() const { return m_quit; }

 private:
  ProgressReporter* m_progress;
  int m_percent = 0;
  bool m_quit = false;
};

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
  TxtReader reader;
  if (!reader.Open(txtPath, error)) {
    // An open of a named pipe cut short by the signal that asks to stop is that stop.
    if (error.number == EINTR && progress && progress->ShouldStop())
      error.Set(EngineError::Kind::Abandoned, txtPath, 0);
    return;
  }
  // The file is read in blocks and the stop answer is asked before each: a file without units
  // (or without line ends) stops as promptly as one with them.
  reader.SetStopCheck(progress);
  reader.KeepTexts(false);  // only the segments' codes are looked at
  UnitSteps steps(progress);
  reader.SetUnitEndCheck([&steps] { return steps.Step(); });
  std::string code;
  const auto listLanguages = [&](const TxtUnit& unit) {
    for (size_t i = 0; i < unit.segmentCount; ++i) {
      code.assign(unit.segments[i].code);
      int codePage = 0;
      if (ResolveLanguageCode(code, codePage))
        AddLanguage(list, LanguageDisplayName(code), codePage);
    }
  };
  TxtUnit unit;
  try {
    while (reader.Next(unit)) listLanguages(unit);
  } catch (const std::bad_alloc&) {
    listLanguages(reader.UnitSoFar());  // what was found is kept, as after a stop
    throw;
  }
  // A scan that ends early keeps the languages of the unit it was reading.
  listLanguages(reader.UnitSoFar());
  if (steps.Quit() || reader.Stopped()) {
    error.Set(EngineError::Kind::Abandoned, txtPath, 0);
    return;
  }
  if (reader.ReadFailed()) {
    // A file that cannot be read (a folder, an I/O error) is no file without languages.
    error.Set(EngineError::Kind::ReadInput, txtPath, reader.Error());
    return;
  }
  if (progress) progress->SetPosition(100);
}
