// SPDX-License-Identifier: MIT
// UnitConverter: turns one unit into its <tu> element. It chooses the unit's segments, reads its
// fields and converts its segments to TMX inline content, with state of its own (the inline
// converter's buffers and records, the language-code cache), so that several converters can
// work on different units at the same time.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/export_report.h"
#include "engine/export_request.h"
#include "engine/language_resolver.h"
#include "engine/segment_choice.h"
#include "engine/tmx_writer.h"
#include "engine/txt_unit.h"
#include "engine/unit_fields.h"
#include "inline/inline_converter.h"
#include "text/wide_string.h"

class UnitConverter {
 public:
  explicit UnitConverter(const ExportRequest& request);
  UnitConverter(const UnitConverter&) = delete;
  UnitConverter& operator=(const UnitConverter&) = delete;

  // Text of the file is Unicode (a byte-order mark was found): segments and field names decode
  // as UTF-8.
  void SetUnicodeText(bool unicode) {
    m_unicode = unicode;
    m_fields.SetUnicodeText(unicode);
  }
  // Writes the unit's <tu> when it has its segments and returns true; otherwise counts the
  // reason in skipped (and notes the unit in report, when given).
  bool Convert(const TxtUnit& unit, TmxWriter& writer, SkipCounts& skipped, ExportReport* report);
  // Every language after the source met so far, in the order first met.
  const std::vector<const OutputLanguage*>& LanguagesMet() const { return m_choice.LanguagesMet(); }

 private:
  void NoteSkip(SegmentChoice::Skip skip, const TxtUnit& unit, SkipCounts& skipped,
                ExportReport* report);
  // The inline content of the source and of every other chosen segment (notes of a report
  // included).
  void ConvertSegments(const TxtUnit& unit, ExportReport* report);
  static void WriteContent(TmxWriter& writer, std::u16string_view code, std::string_view attributes,
                           InlineContent& content);
  int TextCodePage(int languageCodePage) const;

  InlineConverter m_inline;
  LanguageResolver m_resolver;
  SegmentChoice m_choice;
  UnitFields m_fields;
  bool m_unicode = false;
  std::vector<InlineSegment> m_targets;  // the other chosen segments of the unit
  std::span<InlineContent> m_contents;   // the source's content, then the others'
};
