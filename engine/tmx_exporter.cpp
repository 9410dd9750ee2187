// SPDX-License-Identifier: MIT
#include "engine/tmx_exporter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/output_file.h"
#include "engine/tmx_writer.h"
#include "engine/txt_reader.h"
#include "engine/unit_fields.h"
#include "text/code_page.h"
#include "text/string_table.h"
#include "text/xml_escape.h"

namespace {

// Whether the two paths name one file (device and inode; links followed).
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

// One run of Export: reader, converter and writer wired together.
class ExportRun {
 public:
  ExportRun(CTmxExporter& exporter, const ExportRequest& request, ProgressReporter* progress)
      : m_x(exporter), m_request(request), m_progress(progress) {}

  ExportResult Run();

 private:
  bool OpenFiles();
  int ConvertUnits();
  ExportResult Finish(int units);
  ExportResult Failure(EngineError::Kind kind, const std::string& path, int number);
  ExportResult Failure(const EngineError& error);
  // The segment of the unit in the language, or null: the last Seg line with that language.
  const TxtSegment* FindSegment(const TxtUnit& unit, const std::string& code);
  bool WriteUnit(const TxtUnit& unit);

  CTmxExporter& m_x;
  const ExportRequest& m_request;
  ProgressReporter* m_progress;
  TxtReader m_reader;
  OutputFile m_output;
  TmxWriter m_writer;
  UnitFields m_fields;
  std::u16string m_sourceAttr, m_targetAttr;  // the codes, escaped for attributes
  std::string m_code;                         // scratch: a Seg line's code during resolution
};

void EngineError::Set(Kind failure, const std::string& file, int number) {
  kind = failure;
  path = file;
  reason = number ? std::strerror(number) : std::string();
}

CTmxExporter::CTmxExporter() : m_internalStyleCode(u"\\cs6"), m_doNotTranslateStyleCode(u"\\cs8") {}
CTmxExporter::~CTmxExporter() = default;

ExportResult CTmxExporter::Export(const ExportRequest& request, ProgressReporter* progress) {
  m_error = EngineError();
  m_inline.Reset();
  ExportRun run(*this, request, progress);
  ExportResult result = run.Run();
  m_error = result.error;
  return result;
}

ExportResult ExportRun::Run() {
  EngineError error;
  if (!m_reader.Open(m_request.txtPath, error)) return Failure(error);
  if (m_request.outputFd < 0 && !m_request.tmxPath.empty() &&
      SameFile(m_request.txtPath, m_request.tmxPath)) {
    ExportResult result = Failure(EngineError::Kind::SameFile, m_request.tmxPath, 0);
    result.error.reason = "the TXT file and the TMX file are the same file";
    return result;
  }
  if (!m_output.Open(m_request.tmxPath, m_request.outputFd, m_request.noClobber, error)) {
    return Failure(error);
  }
  std::unique_ptr<ByteSink> sink = std::make_unique<FdSink>(m_output.Fd());
  if (m_x.m_sinkWrapper) sink = m_x.m_sinkWrapper(std::move(sink));
  AppendXmlEscaped(m_sourceAttr, Decode(kCodePageAnsi, m_request.sourceCode),
                   XmlContext::kAttribute);
  AppendXmlEscaped(m_targetAttr, Decode(kCodePageAnsi, m_request.targetCode),
                   XmlContext::kAttribute);
  m_writer.Open(std::move(sink), m_request.utf16Output, m_sourceAttr);
  if (m_progress) m_progress->SetText(LoadStringText(IDS_EXPORTING));
  m_writer.WriteHeader();
  m_reader.SetProgress(m_progress);
  return Finish(ConvertUnits());
}

int ExportRun::ConvertUnits() {
  int units = 0;
  TxtUnit unit;
  while (!m_writer.Failed() && m_reader.Next(unit)) {
    if (WriteUnit(unit)) ++units;
  }
  return units;
}

ExportResult ExportRun::Finish(int units) {
  bool stopped = m_reader.Stopped();
  if (!stopped && !m_reader.ReadFailed() && !m_writer.Failed() && m_progress) {
    m_progress->SetPosition(100);
    stopped = m_progress->ShouldStop();
  }
  if (stopped) return Failure(EngineError::Kind::Abandoned, m_request.tmxPath, 0);
  if (m_reader.ReadFailed()) {
    return Failure(EngineError::Kind::ReadInput, m_request.txtPath, m_reader.Error());
  }
  if (!m_writer.Finish()) {
    return Failure(EngineError::Kind::WriteOutput, m_request.tmxPath, m_writer.Error());
  }
  m_writer.Close();
  ExportResult result;
  if (units == 0) {
    // Nothing to keep: whatever was at the TMX path stays as it was.
    m_output.Discard();
    result.stop = ExportResult::Stop::NothingWritten;
  } else if (!m_output.Commit(result.error)) {
    result.stop = ExportResult::Stop::Failed;
    return result;
  }
  result.unitsWritten = units;
  if (m_progress) m_progress->SetText(LoadStringText(IDS_IDLE));
  return result;
}

ExportResult ExportRun::Failure(EngineError::Kind kind, const std::string& path, int number) {
  EngineError error;
  error.Set(kind, path, number);
  return Failure(error);
}

ExportResult ExportRun::Failure(const EngineError& error) {
  m_writer.Close();
  m_output.Discard();
  ExportResult result;
  result.stop = error.kind == EngineError::Kind::Abandoned ? ExportResult::Stop::Abandoned
                                                           : ExportResult::Stop::Failed;
  result.error = error;
  return result;
}

const TxtSegment* ExportRun::FindSegment(const TxtUnit& unit, const std::string& code) {
  const TxtSegment* found = nullptr;
  for (size_t i = 0; i < unit.segmentCount; ++i) {
    m_code = unit.segments[i].code;
    int codePage = 0;
    if (m_x.ResolveLanguageCode(m_code, codePage) && m_code == code) found = &unit.segments[i];
  }
  return found;
}

bool ExportRun::WriteUnit(const TxtUnit& unit) {
  const TxtSegment* source = FindSegment(unit, m_request.sourceCode);
  // A Seg line in the source language is never the target's, even when both are the same.
  const TxtSegment* target = m_request.targetCode == m_request.sourceCode
                                 ? nullptr
                                 : FindSegment(unit, m_request.targetCode);
  if (!source || !target || source->text.empty() || target->text.empty()) return false;
  m_fields.Collect(unit, static_cast<unsigned>(m_request.targetCodePage));
  m_writer.BeginUnit(unit.number, m_fields);

  m_x.m_internalStyleCode = unit.internalStyleCode;
  m_x.m_doNotTranslateStyleCode = unit.doNotTranslateStyleCode;
  const WideString sourceMarkup = m_x.ConvertSegment(source->text, m_request.sourceCodePage, true);
  const WideString targetMarkup = m_x.ConvertSegment(target->text, m_request.targetCodePage, false);
  const WideString sourceContent = m_x.PairInlineTags(sourceMarkup, true);
  const WideString targetContent = m_x.PairInlineTags(targetMarkup, false);
  m_x.m_inline.ClearTagLists();

  m_writer.WriteVariant(m_sourceAttr, m_fields.Attributes(), sourceContent.str());
  m_writer.WriteVariant(m_targetAttr, m_fields.Attributes(), targetContent.str());
  m_writer.EndUnit();
  return true;
}
