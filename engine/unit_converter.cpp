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
    : m_choice(m_resolver, request),
      m_fields(request.utf16Output),
      m_plain(request.utf16Output),
      m_utf16Output(request.utf16Output) {}

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
               m_sourceContent);
  for (size_t i = 0; i < m_choice.Others().size(); ++i) {
    WriteContent(writer, m_choice.Others()[i].language->attribute, m_fields.EncodedAttributes(),
                 m_otherContents[i]);
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
                                 std::string_view attributes, Content& content) {
  if (content.plain) {
    writer.WriteVariant(code, attributes, content.plainText);
    return;
  }
  writer.WriteEncodedVariant(code, attributes, content.encoded);
  // The bytes of a very long segment are not kept for the next unit.
  if (content.encoded.capacity() > tuning::kKeptTextUnits) std::string().swap(content.encoded);
}

// Without a report, the content goes straight into the document's encoding; a report looks at
// the characters of the UTF-16 content.
void UnitConverter::PairContent(const WideString& markup, bool source, Content& content,
                                ExportReport* report, int64_t line) {
  InlineConverter& inline_ = m_inline;
  content.encoded.clear();
  if (!report) {
    inline_.PairInlineTagsEncoded(markup, source, m_utf16Output, content.encoded);
    return;
  }
  // A report looks at the characters before the writer's encoding leaves any out.
  const WideString converted = inline_.PairInlineTags(markup, source);
  NoteContent(report, converted.str(), line);
  AppendXmlSafe(content.encoded, converted.str(), m_utf16Output);
}

bool UnitConverter::FindPlain(const ChosenSegment& segment, Content& content) {
  content.plain =
      m_plain.Find(segment.segment->text, segment.language->codePage, m_unicode, content.plainText);
  return content.plain;
}

// A segment without RTF makes no tag records, so leaving out its inline conversion changes
// nothing for the others; its content holds nothing that a report notes.
void UnitConverter::ConvertSegments(const TxtUnit& unit, ExportReport* report) {
  InlineConverter& inline_ = m_inline;
  // Segments of a Unicode file decode as UTF-8, their byte escapes in the language's code page.
  inline_.SetUnicodeText(m_unicode);
  inline_.SetInternalStyleCode(unit.internalStyleCode);
  inline_.SetDoNotTranslateStyleCode(unit.doNotTranslateStyleCode);
  const ChosenSegment& source = m_choice.Source();
  WideString sourceMarkup;
  if (!FindPlain(source, m_sourceContent)) {
    sourceMarkup = inline_.ConvertSegment(source.segment->text, source.language->codePage, true);
  }
  ConvertOthers(report);
  if (!m_sourceContent.plain) {
    PairContent(sourceMarkup, true, m_sourceContent, report, source.segment->line);
  }
  inline_.ClearTagLists();
}

// Each other segment is paired with the source as if it were the only target; a source element
// is linked (x) when any of them took it.
void UnitConverter::ConvertOthers(ExportReport* report) {
  InlineConverter& inline_ = m_inline;
  const bool several = m_choice.Others().size() > 1;
  m_takenByAny.assign(several ? inline_.SourceTags().size() : 0, 0);
  m_otherContents.resize(m_choice.Others().size());
  for (size_t i = 0; i < m_choice.Others().size(); ++i) {
    const ChosenSegment& other = m_choice.Others()[i];
    Content& content = m_otherContents[i];
    if (FindPlain(other, content)) continue;
    if (i > 0) inline_.ResetTargetSide();
    const WideString markup =
        inline_.ConvertSegment(other.segment->text, other.language->codePage, false);
    PairContent(markup, false, content, report, other.segment->line);
    if (several) NoteTaken();
  }
  if (several) RestoreTaken();
}

void UnitConverter::NoteTaken() {
  const TagList& sourceTags = m_inline.SourceTags();
  for (size_t k = 0; k < sourceTags.size(); ++k) m_takenByAny[k] |= sourceTags[k].paired;
}

void UnitConverter::RestoreTaken() {
  TagList& sourceTags = m_inline.SourceTags();
  for (size_t k = 0; k < sourceTags.size(); ++k) sourceTags[k].paired = m_takenByAny[k];
}
