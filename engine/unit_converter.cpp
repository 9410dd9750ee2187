// SPDX-License-Identifier: MIT
#include "engine/unit_converter.h"

#include "engine/report_findings.h"
#include "engine/segment_accounts.h"
#include "text/code_page.h"
#include "text/tuning.h"
#include "text/xml_chars.h"

namespace {

void NoteContent(ExportReport* report, std::u16string_view content, int64_t line) {
  if (!report) return;
  NoteForbiddenCharacters(*report, content, line);
  NoteUnpairedElements(*report, content, line);
}

}  // namespace

UnitConverter::UnitConverter(const ExportRequest& request)
    : m_inline(request.utf16Output), m_choice(m_resolver, request), m_fields(request.utf16Output) {}

int UnitConverter::TextCodePage(int languageCodePage) const {
  return m_unicode ? static_cast<int>(kCodePageUtf8) : languageCodePage;
}

bool UnitConverter::Convert(const TxtUnit& unit, TmxWriter& writer, SkipCounts& skipped,
                            ExportReport* report) {
  const SegmentChoice::Skip skip = m_choice.Choose(unit);
  AccountSegments(unit, m_choice, skip == SegmentChoice::Skip::kNone, skipped, report);
  if (skip != SegmentChoice::Skip::kNone) {
    NoteSkip(skip, unit, skipped, report);
    return false;
  }
  // Field values decode in the target's code page (with all languages: the first after the
  // source in the unit).
  const int fieldCodePage = TextCodePage(m_choice.Others().front().language->codePage);
  m_fields.Collect(unit, static_cast<unsigned>(fieldCodePage), report);
  ConvertSegments(unit, report);
  writer.BeginUnit(unit.number, m_fields);
  WriteContent(writer, m_choice.SourceLanguage().attribute, m_fields.EncodedAttributes(),
               m_contents[0]);
  for (size_t i = 0; i < m_choice.Others().size(); ++i) {
    WriteContent(writer, m_choice.Others()[i].language->attribute, m_fields.EncodedAttributes(),
                 m_contents[1 + i]);
  }
  writer.EndUnit();
  return true;
}

void UnitConverter::NoteSkip(SegmentChoice::Skip skip, const TxtUnit& unit, SkipCounts& skipped,
                             ExportReport* report) {
  ReportEntry entry;
  entry.line = unit.line;
  switch (skip) {
    case SegmentChoice::Skip::kNoSource:
      ++skipped.noSource;
      if (report) report->noSource.Add(entry);
      break;
    case SegmentChoice::Skip::kNoTarget:
      ++skipped.noTarget;
      if (report) report->noTarget.Add(entry);
      break;
    case SegmentChoice::Skip::kUnresolved:
      ++skipped.unresolved;
      if (report) report->unresolved.Add(entry);
      break;
    case SegmentChoice::Skip::kNone:
      break;
  }
}

void UnitConverter::WriteContent(TmxWriter& writer, std::u16string_view code,
                                 std::string_view attributes, InlineContent& content) {
  if (content.plain) {
    writer.WriteVariant(code, attributes, content.plainText);
    return;
  }
  writer.WriteEncodedVariant(code, attributes, content.encoded);
  // The bytes of a very long segment are not kept for the next unit.
  if (content.encoded.capacity() > tuning::kKeptTextUnits) std::string().swap(content.encoded);
}

// A report looks at the characters of each converted content before the writer's encoding
// leaves any out: the other segments' in order, then the source's.
void UnitConverter::ConvertSegments(const TxtUnit& unit, ExportReport* report) {
  const std::vector<ChosenSegment>& others = m_choice.Others();
  m_targets.resize(others.size());
  for (size_t i = 0; i < others.size(); ++i) {
    m_targets[i] = InlineSegment{others[i].segment->text, others[i].language->codePage};
  }
  const ChosenSegment& source = m_choice.Source();
  InlineUnit inlineUnit;
  inlineUnit.source = InlineSegment{source.segment->text, source.language->codePage};
  inlineUnit.targets = m_targets;
  inlineUnit.internalStyleCode = unit.internalStyleCode;
  inlineUnit.doNotTranslateStyleCode = unit.doNotTranslateStyleCode;
  // Segments of a Unicode file decode as UTF-8, their byte escapes in the language's code page.
  inlineUnit.unicodeText = m_unicode;
  inlineUnit.keepText = report != nullptr;
  m_contents = m_inline.ConvertUnit(inlineUnit);
  if (!report) return;
  // A segment without RTF holds nothing that a report notes.
  for (size_t i = 0; i < others.size(); ++i) {
    if (!m_contents[1 + i].plain)
      NoteContent(report, m_contents[1 + i].text, others[i].segment->line);
  }
  if (!m_contents[0].plain) NoteContent(report, m_contents[0].text, source.segment->line);
}
