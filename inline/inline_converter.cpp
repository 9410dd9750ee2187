// SPDX-License-Identifier: MIT
#include "inline/inline_converter.h"

#include <utility>

#include "inline/segment_scanner.h"
#include "text/tuning.h"
#include "text/xml_chars.h"

std::span<InlineContent> InlineConverter::ConvertUnit(const InlineUnit& unit) {
  // Whatever an earlier unit left (one that ended in an exception) is forgotten.
  m_state.ClearTagLists();
  m_state.unicodeText = unit.unicodeText;
  m_internalStyleCode = unit.internalStyleCode;
  m_doNotTranslateStyleCode = unit.doNotTranslateStyleCode;
  m_contents.resize(1 + unit.targets.size());
  for (InlineContent& content : m_contents) {
    // The text of a very long segment is not kept for the next unit.
    if (content.text.capacity() > tuning::kKeptTextUnits) std::u16string().swap(content.text);
  }
  InlineContent& source = m_contents.front();
  // A segment without RTF makes no tag records, so leaving out its inline conversion changes
  // nothing for the others.
  WideString sourceMarkup;
  const bool sourcePlain = FindPlain(unit, unit.source, source);
  if (!sourcePlain) sourceMarkup = ConvertSegment(unit.source.text, unit.source.codePage, true);
  ConvertTargets(unit);
  // The source is written last: its x values come from the pairing with the targets.
  if (!sourcePlain) PairContent(sourceMarkup, true, unit.keepText, source);
  m_state.ClearTagLists();
  return m_contents;
}

// Each target is paired with the source as if it were the only one; a source element is linked
// (x) when any of them took it.
void InlineConverter::ConvertTargets(const InlineUnit& unit) {
  const size_t count = unit.targets.size();
  const bool several = count > 1;
  m_takenByAny.assign(several ? m_state.sourceTags.size() : 0, 0);
  TagList& sourceTags = m_state.sourceTags;
  for (size_t i = 0; i < count; ++i) {
    const InlineSegment& target = unit.targets[i];
    InlineContent& content = m_contents[1 + i];
    if (FindPlain(unit, target, content)) continue;
    ResetTargetSide();
    const WideString markup = ConvertSegment(target.text, target.codePage, false);
    PairContent(markup, false, unit.keepText, content);
    if (!several) continue;
    for (size_t k = 0; k < sourceTags.size(); ++k) m_takenByAny[k] |= sourceTags[k].paired;
  }
  if (!several) return;
  for (size_t k = 0; k < sourceTags.size(); ++k) sourceTags[k].paired = m_takenByAny[k];
}

bool InlineConverter::FindPlain(const InlineUnit& unit, const InlineSegment& segment,
                                InlineContent& content) {
  content.plain = unit.findPlain &&
                  m_plain.Find(segment.text, segment.codePage, unit.unicodeText, content.plainText);
  return content.plain;
}

WideString InlineConverter::ConvertSegment(std::string_view segment, int codePage, bool source) {
  const std::u16string& markup = ScanSegmentMarkup(
      m_state, m_internalStyleCode, m_doNotTranslateStyleCode, segment, codePage, source);
  InlineState::ScanBuffers& buffers = m_state.buffers;
  buffers.ReleaseTextIfLarge();  // the scanner is done with the segment's text
  // Unless a "<" was copied with an entity, the scanner's list of placeholders is complete. The
  // content of a markup that would be given back anyway is written over it.
  WideString result = buffers.strayLess ? m_cleanup.CleanUp(markup)
                      : buffers.markup.capacity() > InlineState::ScanBuffers::kLarge
                          ? m_cleanup.CleanUpOver(buffers.markup, buffers.placeholders)
                          : m_cleanup.CleanUp(markup, buffers.placeholders);
  buffers.ReleaseIfLarge();
  return result;
}

// Without keepText, the content goes straight into the document's encoding; otherwise it is
// made as UTF-16 first, and encoded from that.
void InlineConverter::PairContent(const WideString& markup, bool source, bool keepText,
                                  InlineContent& content) {
  const TagList& records = source ? m_state.sourceTags : m_state.targetTags;
  content.encoded.clear();
  content.text.clear();
  if (!keepText) {
    m_pairing.PairEncoded(markup, records, m_utf16Output, content.encoded);
    return;
  }
  WideString paired = m_pairing.Pair(markup, records);
  content.text = std::move(paired.str());
  AppendXmlSafe(content.encoded, content.text, m_utf16Output);
}

void InlineConverter::ResetTargetSide() {
  m_state.targetTags.clear();
  for (TagRecord& record : m_state.sourceTags) record.paired = 0;
}
