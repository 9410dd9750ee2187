// SPDX-License-Identifier: MIT
// ExportRun: one export, wired from its parts. The reader yields the units of the TXT file, the
// segment choice picks each unit's segments, the inline converter turns them into TMX inline
// content, the writer writes the unit; the output file makes the TMX appear only complete.
#pragma once

#include <string>
#include <vector>

#include "engine/export_request.h"
#include "engine/output_file.h"
#include "engine/segment_choice.h"
#include "engine/tmx_writer.h"
#include "engine/txt_reader.h"
#include "engine/unit_fields.h"
#include "text/code_page.h"
#include "text/wide_string.h"

class CTmxExporter;
class ProgressReporter;

class ExportRun {
 public:
  ExportRun(CTmxExporter& exporter, const ExportRequest& request, ProgressReporter* progress);

  ExportResult Run();

 private:
  ExportResult ConvertUnits();
  ExportResult Finish(ExportResult result);
  ExportResult Failure(EngineError::Kind kind, const std::string& path, int number);
  ExportResult Failure(const EngineError& error);
  // Writes the unit when it has its segments; false (and the reason counted) when not.
  bool WriteUnit(const TxtUnit& unit, SkipCounts& skipped);
  void NoteSkip(SegmentChoice::Skip skip, const TxtUnit& unit, SkipCounts& skipped);
  // The inline content of the source and of every other chosen segment.
  void ConvertSegments(const TxtUnit& unit);
  void NoteContent(std::u16string_view content, int64_t line);
  void FillReportLanguages();
  // The code page of a language's text: a file with a byte-order mark holds Unicode text.
  int TextCodePage(int languageCodePage) const {
    return m_reader.Form() == InputForm::kBytes ? languageCodePage
                                                : static_cast<int>(kCodePageUtf8);
  }

  CTmxExporter& m_x;
  const ExportRequest& m_request;
  ProgressReporter* m_progress;
  ExportReport* m_report;
  TxtReader m_reader;
  OutputFile m_output;
  TmxWriter m_writer;
  SegmentChoice m_choice;
  UnitFields m_fields;
  WideString m_sourceContent;
  std::vector<WideString> m_otherContents;
};
