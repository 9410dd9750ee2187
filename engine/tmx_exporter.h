// SPDX-License-Identifier: MIT
// CTmxExporter: the converter object of one command. Export writes a TMX 1.4 document from a
// Vovuzaduz TXT file; Analyse lists the languages of a TXT file.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/byte_sink.h"
#include "engine/export_request.h"
#include "engine/language_list.h"
#include "engine/language_resolver.h"
#include "engine/progress.h"
#include "text/wide_string.h"

// The languages an analysis found, or why it failed. A stopped analysis (error Abandoned) keeps
// the languages found before the stop.
struct AnalysisResult {
  LanguageList languages;
  EngineError error;
  bool Failed() const { return error.Failed(); }
};

class CTmxExporter {
 public:
  CTmxExporter();
  ~CTmxExporter();
  CTmxExporter(const CTmxExporter&) = delete;
  CTmxExporter& operator=(const CTmxExporter&) = delete;

  // Writes the TMX file the request names. The TMX file appears only complete: it is written
  // under a temporary name and renamed; a run that fails, is stopped or writes no unit leaves
  // whatever was at the TMX path as it was. Running out of memory or threads is a failure
  // (EngineError::Kind::OutOfMemory) like any other.
  [[nodiscard]] ExportResult Export(const ExportRequest& request, ProgressReporter* progress);

  // Scans the first 25 units for their languages. Fails when the file cannot be read, memory
  // runs out or the run is asked to stop (error Abandoned).
  [[nodiscard]] AnalysisResult Analyse(const std::string& txtPath, ProgressReporter* progress);

  // Maps any code form of a TXT file to the catalogue code (in place) and gives its code page;
  // false when the code names no language (an answer, not a failure).
  bool ResolveLanguageCode(std::string& code, int& codePage);

  // Test seam: wraps the sink of the TMX file (e.g. one that fails after N bytes).
  using SinkWrapper = std::function<std::unique_ptr<ByteSink>(std::unique_ptr<ByteSink>)>;
  void SetSinkWrapper(SinkWrapper wrapper) { m_sinkWrapper = std::move(wrapper); }
  // Test seam: called before each batch of units on the thread that converts it (the calling
  // thread when the run has one thread), e.g. to fail as memory running out would.
  void SetConvertProbe(std::function<void()> probe) { m_convertProbe = std::move(probe); }

  // The language codes that this object resolved (Analyse, the command line's choices).
  LanguageResolver m_languageResolver;

 private:
  void Scan(const std::string& txtPath, AnalysisResult& result, ProgressReporter* progress);

  SinkWrapper m_sinkWrapper;
  std::function<void()> m_convertProbe;
  friend class ExportRun;
};

// TMX date "YYYYMMDDTHHMMSSZ" of a TXT date value ("DDMMYYYY, HH:MM:SS"); false, with out as it
// was, when the value is shorter than 8 characters or does not hold a valid calendar date-time.
bool FormatTmxDate(std::u16string_view value, std::u16string& out);
// The same for a value of ASCII bytes.
bool FormatTmxDate(std::string_view value, std::string& out);
