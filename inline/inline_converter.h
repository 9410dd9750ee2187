// SPDX-License-Identifier: MIT
// InlineConverter: the inline formatting of a unit's segments. A segment's RTF becomes
// cleaned-up placeholder markup (ConvertSegment), whose placeholders then become TMX inline
// elements (PairInlineTags). The converter owns every buffer it works in, so several converters
// can run at once; one converter converts one unit at a time.
//
// How the x attributes come about: converting the source makes a record per placeholder; an
// opening source record keeps the x it will show when paired (its own number; for a Vovuzaduz
// tag, the last number issued when its record was made). Converting a target pairs each opening
// target record with the first opening source record of identical native code that no target
// record has taken yet: the target record gets the source record's number as its x, and the
// source record is marked taken. Pairing a side's markup then writes x on an element only when
// its record was paired. So the source's x values depend on the target converted before the
// source is paired, and a two-language unit is done as: convert source, convert target, pair
// source, pair target, ClearTagLists.
//
// Several targets of one unit (each paired with the source exactly as a two-language file pairs
// its one target):
//   converter.ConvertSegment(source, sourceCodePage, true);
//   for each target T:
//     converter.ResetTargetSide();        // no target records; no source record taken
//     converter.ConvertSegment(T, codePage, false);
//     targetContent[T] = converter.PairInlineTags(targetMarkup, false);
//     (the source content as a pair conversion with T would write it:
//      converter.PairInlineTags(sourceMarkup, true), before the next ResetTargetSide)
//   converter.ClearTagLists();            // after the unit
// Which target's pairing the single source <tuv> shows is the caller's choice; with one target
// the bytes are those of the two-language file.
#pragma once

#include <string>
#include <string_view>

#include "inline/inline_state.h"
#include "inline/inline_tag_pairing.h"
#include "inline/markup_cleanup.h"
#include "text/wide_string.h"

// The character style codes used until the style sheet names others.
inline constexpr std::u16string_view kDefaultInternalStyleCode = u"\\cs6";
inline constexpr std::u16string_view kDefaultDoNotTranslateStyleCode = u"\\cs8";

class InlineConverter {
 public:
  InlineConverter() = default;
  InlineConverter(const InlineConverter&) = delete;
  InlineConverter& operator=(const InlineConverter&) = delete;

  // The style codes of the internal tag style and of the do-not-translate style, as the style
  // sheet of the TXT file names them (the defaults until it does).
  void SetInternalStyleCode(std::u16string_view code) { m_internalStyleCode.assign(code); }
  void SetDoNotTranslateStyleCode(std::u16string_view code) {
    m_doNotTranslateStyleCode.assign(code);
  }
  const std::u16string& InternalStyleCode() const { return m_internalStyleCode; }
  // Segments of a Unicode file (a byte-order mark): their characters are UTF-8, and only their
  // byte escapes are bytes in the segment's code page.
  void SetUnicodeText(bool unicode) { m_state.unicodeText = unicode; }
  const std::u16string& DoNotTranslateStyleCode() const { return m_doNotTranslateStyleCode; }

  // One segment's RTF as cleaned-up placeholder markup; the records of its placeholders go to
  // the side's tag list (a target's are paired with the source's, see above).
  WideString ConvertSegment(std::string_view segment, int codePage, bool source);
  // The placeholders of one side's markup become TMX inline elements (the <seg> content).
  WideString PairInlineTags(const WideString& markup, bool source);
  // The same content appended to out as the document holds it: UTF-16LE bytes when utf16, else
  // UTF-8, without the characters XML forbids (see TagPairing::PairEncoded).
  void PairInlineTagsEncoded(const WideString& markup, bool source, bool utf16, std::string& out);

  // Empties both tag lists (after each unit).
  void ClearTagLists() { m_state.ClearTagLists(); }
  // Empties the target's tag list and takes back the pairing of every source record, so that
  // another target of the same unit is paired with the source as the first one was.
  void ResetTargetSide();
  // Back to the state of a new converter, style codes included.
  void Reset();

  const TagList& SourceTags() const { return m_state.sourceTags; }
  const TagList& TargetTags() const { return m_state.targetTags; }
  TagList& SourceTags() { return m_state.sourceTags; }
  TagList& TargetTags() { return m_state.targetTags; }

 private:
  InlineState m_state;
  MarkupCleanup m_cleanup;
  TagPairing m_pairing;
  std::u16string m_internalStyleCode{kDefaultInternalStyleCode};
  std::u16string m_doNotTranslateStyleCode{kDefaultDoNotTranslateStyleCode};
};
