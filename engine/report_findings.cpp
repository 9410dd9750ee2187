// SPDX-License-Identifier: MIT
#include "engine/report_findings.h"

#include "text/xml_chars.h"

namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

void NoteForbiddenCharacters(ExportReport& report, std::u16string_view text, int64_t line) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
      continue;
    }
    if (IsXmlForbiddenUnit(c) || IsHighSurrogate(c) || IsLowSurrogate(c)) {
      ReportEntry entry;
      entry.line = line;
      entry.codePoint = c;
      report.forbiddenCharacters.Add(entry);
    }
  }
}

void NoteUnpairedElements(ExportReport& report, std::u16string_view content, int64_t line) {
  for (size_t at = content.find(u"<it "); at != std::u16string_view::npos;
       at = content.find(u"<it ", at + 4)) {
    ReportEntry entry;
    entry.line = line;
    report.unpairedInline.Add(entry);
  }
}

void AppendFindings(ExportReport& report, const ExportReport& later) {
  report.noSource.Append(later.noSource);
  report.noTarget.Append(later.noTarget);
  report.unresolved.Append(later.unresolved);
  report.forbiddenCharacters.Append(later.forbiddenCharacters);
  report.invalidDates.Append(later.invalidDates);
  report.repeatedFields.Append(later.repeatedFields);
  report.unpairedInline.Append(later.unpairedInline);
}

void ClearFindings(ExportReport& report) {
  for (ReportList* list :
       {&report.noSource, &report.noTarget, &report.unresolved, &report.forbiddenCharacters,
        &report.invalidDates, &report.repeatedFields, &report.unpairedInline}) {
    list->Clear();
  }
}
