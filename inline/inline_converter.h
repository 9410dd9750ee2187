// SPDX-License-Identifier: MIT
// InlineConverter: the inline content of a unit's segments, in one call (ConvertUnit). A
// segment's RTF becomes cleaned-up placeholder markup, whose placeholders then become TMX inline
// elements; a segment without RTF takes a fast path of its own (plain_segment.h). The converter
// owns every buffer it works in, so several converters can run at once; each call converts one
// unit and leaves nothing of it behind for the next.
//
// How the x attributes come about: converting the source makes a record per placeholder; an
// opening source record keeps the x it will show when paired (its own number; for a Vovuzaduz
// tag, the last number issued when its record was made). Converting a target pairs each opening
// target record with the first opening source record of identical native code that no target
// record has taken yet: the target record gets the source record's number as its x, and the
// source record is marked taken. Writing a side's content then puts x on an element only when
// its record was paired.
//
// Each target of a unit is paired with the source exactly as a two-language file pairs its one
// target (the target side is emptied and every source record given back before each). The
// single source content shows x on every element that any target took; with one target the
// bytes are those of the two-language file.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "inline/inline_state.h"
#include "inline/inline_tag_pairing.h"
#include "inline/markup_cleanup.h"
#include "inline/plain_segment.h"
#include "text/wide_string.h"

// The character style codes used until the style sheet names others.
inline constexpr std::u16string_view kDefaultInternalStyleCode = u"\\cs6";
inline constexpr std::u16string_view kDefaultDoNotTranslateStyleCode = u"\\cs8";

// One segment of a unit: its RTF and the code page of its language.
struct InlineSegment {
  std::string_view text;
  int codePage = 0;
};

// A unit's segments and what the conversion needs to know about them.
struct InlineUnit {
  InlineSegment source;
  std::span<const InlineSegment> targets;
  // The style codes of the internal tag style and of the do-not-translate style, as the style
  // sheet of the TXT file names them.
  std::u16string_view internalStyleCode = kDefaultInternalStyleCode;
  std::u16string_view doNotTranslateStyleCode = kDefaultDoNotTranslateStyleCode;
  // Segments of a Unicode file (a byte-order mark): their characters are UTF-8, and only their
  // byte escapes are bytes in the segment's code page.
  bool unicodeText = false;
  // Also keep each converted content as UTF-16, before the encoding leaves out the characters
  // XML forbids (a report looks at them).
  bool keepText = false;
  // Segments without RTF take the fast path; off, every segment takes the whole conversion
  // (which gives the same content).
  bool findPlain = true;
};

// The inline content of one segment.
struct InlineContent {
  bool plain = false;   // a segment without RTF: its content is plainText
  PlainText plainText;  // (valid while the segment's text is)
  std::string encoded;  // otherwise: the content in the document's encoding
  std::u16string text;  // and with keepText, the same as UTF-16 (unencoded)
};

class InlineConverter {
 public:
  // utf16Output: contents are encoded as UTF-16LE, otherwise as UTF-8.
  explicit InlineConverter(bool utf16Output = false)
      : m_utf16Output(utf16Output), m_plain(utf16Output) {}
  InlineConverter(const InlineConverter&) = delete;
  InlineConverter& operator=(const InlineConverter&) = delete;

  // The contents of the unit's segments: the source's first, then each target's in order. They
  // stay valid until the next call (which may reuse their memory; the caller may too).
  std::span<InlineContent> ConvertUnit(const InlineUnit& unit);

 private:
  // A side's cleaned-up content: a typed list, or markup when the list is read back as markup
  // (StrayLessMakesMarkup).
  struct Cleaned {
    CleanedContent list;
    WideString markup;
    bool isMarkup = false;
  };
  // One segment's RTF as cleaned-up content; the records of its placeholders go to the side's
  // tag list (a target's are paired with the source's, see above).
  void ConvertSegment(std::string_view segment, int codePage, bool source, Cleaned& cleaned);
  WideString StrayLessMakesMarkup(const InlineList& list);
  // The placeholders of one side's content become TMX inline elements: content's bytes (and
  // with keepText, its UTF-16 text).
  void PairContent(Cleaned& cleaned, bool source, bool keepText, InlineContent& content);
  bool FindPlain(const InlineUnit& unit, const InlineSegment& segment, InlineContent& content);
  void ConvertTargets(const InlineUnit& unit);
  // Empties the target's tag list and takes back the pairing of every source record, so that
  // another target of the same unit is paired with the source as the first one was.
  void ResetTargetSide();

  bool m_utf16Output;
  InlineState m_state;
  MarkupCleanup m_cleanup;
  TagPairing m_pairing;
  PlainSegmentEncoder m_plain;
  std::u16string_view m_internalStyleCode;
  std::u16string_view m_doNotTranslateStyleCode;
  Cleaned m_sourceCleaned, m_targetCleaned;
  std::vector<InlineContent> m_contents;
  std::vector<uint8_t> m_takenByAny;  // with several targets: the source records any one took
};
