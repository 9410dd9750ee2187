// SPDX-License-Identifier: MIT
// UnitConverter: turns one unit into its <tu> element. It chooses the unit's segments, reads its
// fields and converts its segments to TMX inline content, with state of its own (the inline
// converter's buffers and records, the language-code cache), so that several converters can
// work on different units at the same time.
#pragma once

#include <cstdint>
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
#include "inline/plain_segment.h"
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
  // A segment's inline content: found without the inline conversion for a segment without RTF;
  // otherwise encoded for the document, or as UTF-16 when a report notes what it holds.
  struct Content {
    bool plain = false;
    PlainText plainText;
    std::string encoded;  // otherwise: the content in the document's encoding
  };

  void NoteSkip(SegmentChoice::Skip skip, const TxtUnit& unit, SkipCounts& skipped,
                ExportReport* report);
  // The inline content of the source and of every other chosen segment.
  void ConvertSegments(const TxtUnit& unit, ExportReport* report);
  void ConvertOthers(ExportReport* report);
  // True when the segment needs no inline conversion (its content is then in content).
  bool FindPlain(const ChosenSegment& segment, Content& content);
  // The content of a segment with RTF from its markup (the converter's records of that side).
  void PairContent(const WideString& markup, bool source, Content& content, ExportReport* report,
                   int64_t line);
  static void WriteContent(TmxWriter& writer, std::u16string_view code, std::string_view attributes,
                           Content& content);
  int TextCodePage(int languageCodePage) const;
  // With several targets: which source records any target took, kept across the resets.
  void NoteTaken();
  void RestoreTaken();

  InlineConverter m_inline;
  LanguageResolver m_resolver;
  SegmentChoice m_choice;
  UnitFields m_fields;
  PlainSegmentEncoder m_plain;
  bool m_unicode = false;
  bool m_utf16Output;
  Content m_sourceContent;
  std::vector<Content> m_otherContents;
  std::vector<uint8_t> m_takenByAny;
};
