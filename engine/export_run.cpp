// SPDX-License-Identifier: MIT
#include "engine/export_run.h"

#include <sys/stat.h>

#include <memory>
#include <utility>

#include "engine/progress.h"
#include "engine/report_findings.h"
#include "engine/tmx_exporter.h"
#include "text/string_table.h"

namespace {

// Whether the two paths name one file (device and inode; links followed).
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

ExportRun::ExportRun(CTmxExporter& exporter, const ExportRequest& request,
                     ProgressReporter* progress)
    : m_x(exporter),
      m_request(request),
      m_progress(progress),
      m_report(request.report),
      m_choice(exporter, request) {}

ExportResult ExportRun::Run() {
  if (m_report) {
    m_report->txtPath = m_request.txtPath;
    m_report->tmxPath = m_request.tmxPath;
  }
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
  m_writer.Open(std::move(sink), m_request.utf16Output, m_choice.SourceLanguage().attribute);
  if (m_progress) m_progress->SetText(LoadStringText(IDS_EXPORTING));
  m_writer.WriteHeader();
  m_reader.SetProgress(m_progress);
  return Finish(ConvertUnits());
}

ExportResult ExportRun::ConvertUnits() {
  ExportResult result;
  TxtUnit unit;
  while (!m_writer.Failed() && m_reader.Next(unit)) {
    ++result.unitsRead;
    if (WriteUnit(unit, result.skipped)) ++result.unitsWritten;
  }
  return result;
}

ExportResult ExportRun::Finish(ExportResult counted) {
  FillReportLanguages();
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
  ExportResult result = counted;
  if (result.unitsWritten == 0) {
    // Nothing to keep: whatever was at the TMX path stays as it was.
    m_output.Discard();
    result.stop = ExportResult::Stop::NothingWritten;
  } else if (!m_output.Commit(result.error)) {
    result.stop = ExportResult::Stop::Failed;
    result.unitsWritten = 0;
    return result;
  }
  if (m_report) {
    m_report->unitsRead = result.unitsRead;
    m_report->unitsWritten = result.unitsWritten;
    m_report->skipped = result.skipped;
  }
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

bool ExportRun::WriteUnit(const TxtUnit& unit, SkipCounts& skipped) {
  const SegmentChoice::Skip skip = m_choice.Choose(unit);
  if (skip != SegmentChoice::Skip::kNone) {
    NoteSkip(skip, unit, skipped);
    return false;
  }
  // Field values decode in the target's code page (with all languages: the first after the
  // source in the unit).
  const int fieldCodePage = TextCodePage(m_choice.Others().front().language->codePage);
  m_fields.Collect(unit, static_cast<unsigned>(fieldCodePage), m_report);
  ConvertSegments(unit);
  m_writer.BeginUnit(unit.number, m_fields);
  m_writer.WriteVariant(m_choice.SourceLanguage().attribute, m_fields.Attributes(),
                        m_sourceContent.str());
  for (size_t i = 0; i < m_choice.Others().size(); ++i) {
    m_writer.WriteVariant(m_choice.Others()[i].language->attribute, m_fields.Attributes(),
                          m_otherContents[i].str());
  }
  m_writer.EndUnit();
  return true;
}

void ExportRun::NoteSkip(SegmentChoice::Skip skip, const TxtUnit& unit, SkipCounts& skipped) {
  ReportEntry entry;
  entry.line = unit.line;
  switch (skip) {
    case SegmentChoice::Skip::kNoSource:
      ++skipped.noSource;
      if (m_report) m_report->noSource.Add(entry);
      break;
    case SegmentChoice::Skip::kNoTarget:
      ++skipped.noTarget;
      if (m_report) m_report->noTarget.Add(entry);
      break;
    case SegmentChoice::Skip::kUnresolved:
      ++skipped.unresolved;
      if (m_report) m_report->unresolved.Add(entry);
      break;
    case SegmentChoice::Skip::kNone:
      break;
  }
}

void ExportRun::ConvertSegments(const TxtUnit& unit) {
  m_x.m_internalStyleCode = unit.internalStyleCode;
  m_x.m_doNotTranslateStyleCode = unit.doNotTranslateStyleCode;
  const ChosenSegment& source = m_choice.Source();
  const WideString sourceMarkup =
      m_x.ConvertSegment(source.segment->text, TextCodePage(source.language->codePage), true);
  // Each other segment is paired with the source as if it were the only target; a source
  // element is linked (x) when any of them took it.
  TagList& sourceTags = m_x.m_inline.sourceTags;
  std::vector<uint8_t> takenByAny(sourceTags.size(), 0);
  m_otherContents.resize(m_choice.Others().size());
  for (size_t i = 0; i < m_choice.Others().size(); ++i) {
    const ChosenSegment& other = m_choice.Others()[i];
    for (TagRecord& record : sourceTags) record.paired = 0;
    m_x.m_inline.targetTags.clear();
    const WideString markup =
        m_x.ConvertSegment(other.segment->text, TextCodePage(other.language->codePage), false);
    m_otherContents[i] = m_x.PairInlineTags(markup, false);
    for (size_t k = 0; k < sourceTags.size(); ++k) takenByAny[k] |= sourceTags[k].paired;
    if (m_report) NoteContent(m_otherContents[i].str(), other.segment->line);
  }
  for (size_t k = 0; k < sourceTags.size(); ++k) sourceTags[k].paired = takenByAny[k];
  m_sourceContent = m_x.PairInlineTags(sourceMarkup, true);
  if (m_report) NoteContent(m_sourceContent.str(), source.segment->line);
  m_x.m_inline.ClearTagLists();
}

void ExportRun::NoteContent(std::u16string_view content, int64_t line) {
  NoteForbiddenCharacters(*m_report, content, line);
  NoteUnpairedElements(*m_report, content, line);
}

void ExportRun::FillReportLanguages() {
  if (!m_report) return;
  m_report->source = {m_request.sourceCode, m_request.sourceCodePage};
  m_report->others.clear();
  for (const OutputLanguage* language : m_choice.LanguagesMet()) {
    m_report->others.push_back({language->code, language->codePage});
  }
}
