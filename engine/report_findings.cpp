// SPDX-License-Identifier: MIT
#include "engine/report_findings.h"

#include "text/simd.h"
#include "text/surrogates.h"
#include "text/unit_set.h"
#include "text/xml_chars.h"

namespace {

using utf16::IsHighSurrogate;
using utf16::IsLowSurrogate;

// The first position at or after from whose unit is below U+0020 or from U+D800 on (the only
// ones that may be left out), or text.size(). Eight units at a time where the processor allows.
size_t FindSuspect(std::u16string_view text, size_t from) {
  const size_t n = text.size();
  size_t i = from;
#if VELMAR_SSE2
  // Units outside [0x0020, 0xD800) have (unit - 0x20) >= 0xD7E0 unsigned; compared signed after
  // flipping the top bit.
  const __m128i offset = _mm_set1_epi16(0x20);
  const __m128i flip = _mm_set1_epi16(static_cast<short>(0x8000));
  const __m128i limit = _mm_set1_epi16(static_cast<short>(0xD7E0 ^ 0x8000));
  for (; i + 8 <= n; i += 8) {
    const __m128i v = simd::Load(text.data() + i);
    const __m128i shifted = _mm_xor_si128(_mm_sub_epi16(v, offset), flip);
    const __m128i inside = _mm_cmplt_epi16(shifted, limit);
    const int mask = _mm_movemask_epi8(inside);
    if (mask != 0xFFFF) break;
  }
#endif
  while (i < n && text[i] >= 0x20 && text[i] < 0xD800) ++i;
  return i;
}

}  // namespace

void NoteForbiddenCharacters(ExportReport& report, std::u16string_view text, int64_t line) {
  for (size_t i = FindSuspect(text, 0); i < text.size(); i = FindSuspect(text, i + 1)) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
      continue;
    }
    if (IsXmlForbiddenUnit(c) || utf16::IsSurrogate(c)) {
      ReportEntry entry;
      entry.line = line;
      entry.codePoint = c;
      report.forbiddenCharacters.Add(entry);
    }
  }
}

void NoteUnpairedElements(ExportReport& report, std::u16string_view content, int64_t line) {
  static constexpr UnitSet kLess(u"<");
  constexpr std::u16string_view kIt = u"<it ";
  for (size_t at = kLess.FindFirst(content, 0); at < content.size();
       at = kLess.FindFirst(content, at + 1)) {
    if (content.substr(at, kIt.size()) != kIt) continue;
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
  report.unknownCodeSegments.Append(later.unknownCodeSegments);
  report.repeatedSegments.Append(later.repeatedSegments);
  for (const auto& [language, counts] : later.segments) report.segments[language].Add(counts);
}

void ClearFindings(ExportReport& report) {
  for (ReportList* list :
       {&report.noSource, &report.noTarget, &report.unresolved, &report.forbiddenCharacters,
        &report.invalidDates, &report.repeatedFields, &report.unpairedInline,
        &report.unknownCodeSegments, &report.repeatedSegments}) {
    list->Clear();
  }
  report.segments.clear();
}
