// SPDX-License-Identifier: MIT
// CTmxExporter: the converter object of one command. Export writes a TMX 1.4 document from a
// Vovuzaduz TXT file; Analyse lists the languages of a TXT file.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/byte_sink.h"
#include "engine/language_list.h"
#include "engine/progress.h"
#include "inline/inline_converter.h"
#include "text/wide_string.h"

// Why an operation failed, beside its result.
struct EngineError {
  enum class Kind {
    None,
    OpenInput,     // the TXT file cannot be opened (or does not exist)
    ReadInput,     // reading the TXT file failed
    CreateOutput,  // the TMX file cannot be created
    WriteOutput,   // writing the TMX file failed (disk full ...)
    SameFile,      // TXT and TMX name the same file
    Abandoned,     // the application is quitting
  };
  Kind kind = Kind::None;
  std::string path;    // the file concerned
  std::string reason;  // system text of the failure, e.g. "No space left on device"

  // Records a failure: its kind, the file and the system text of errno value number (none for 0).
  void Set(Kind failure, const std::string& file, int number);
};

class CTmxExporter {
 public:
  CTmxExporter();
  ~CTmxExporter();
  CTmxExporter(const CTmxExporter&) = delete;
  CTmxExporter& operator=(const CTmxExporter&) = delete;

  // Writes the TMX file. Returns the number of units written, 0 also when abandoned, -1 when a
  // file cannot be opened, created, read or written, or when both paths name the same file.
  // The TMX file appears only complete: it is written under a temporary name and renamed.
  [[nodiscard]] int Export(const std::string& txtPath, const std::string& tmxPath,
                           const std::string& sourceCode, int sourceCodePage,
                           const std::string& targetCode, int targetCodePage,
                           ProgressReporter* progressBar, ProgressReporter* statusBar,
                           int utf16Output);

  // Scans the first 25 units for their languages. False when list is null, the file cannot be
  // opened or the application is quitting.
  [[nodiscard]] bool Analyse(const std::string& txtPath, LanguageList* list,
                             ProgressReporter* progressBar);

  // Maps any code form of a TXT file to the catalogue code (in place) and gives its code page.
  bool ResolveLanguageCode(std::string& code, int& codePage);

  const EngineError& LastError() const { return m_error; }

  // Test seam: wraps the sink of the TMX file (e.g. one that fails after N bytes).
  using SinkWrapper = std::function<std::unique_ptr<ByteSink>(std::unique_ptr<ByteSink>)>;
  void SetSinkWrapper(SinkWrapper wrapper) { m_sinkWrapper = std::move(wrapper); }

  // Inline formatting of the segments, with the style codes found in the style sheet.
  InlineConverter m_inlineConverter;
  // Codes resolved through the alias table, as received -> catalogue code.
  std::unordered_map<std::string, std::string> m_languageCache;

 private:
  int m_unitCount = 0;
  EngineError m_error;
  SinkWrapper m_sinkWrapper;
  friend class ExportRun;
};

// TMX date "YYYYMMDDTHHMMSSZ" of a TXT date value ("DDMMYYYY, HH:MM:SS"); false when the value
// is shorter than 8 characters or does not hold a valid calendar date-time.
bool FormatTmxDate(std::u16string_view value, std::u16string& out);
