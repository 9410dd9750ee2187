// SPDX-License-Identifier: MIT
#include "inline/inline_converter.h"

#include "inline/segment_scanner.h"

WideString InlineConverter::ConvertSegment(std::string_view segment, int codePage, bool source) {
  const std::u16string& markup = ScanSegmentMarkup(
      m_state, m_internalStyleCode, m_doNotTranslateStyleCode, segment, codePage, source);
  m_state.buffers.ReleaseTextIfLarge();  // the scanner is done with the segment's text
  // Unless a "<" was copied with an entity, the scanner's list of placeholders is complete.
  WideString result = m_state.buffers.strayLess
                          ? m_cleanup.CleanUp(markup)
                          : m_cleanup.CleanUp(markup, m_state.buffers.placeholders);
  m_state.buffers.ReleaseIfLarge();
  return result;
}

WideString InlineConverter::PairInlineTags(const WideString& markup, bool source) {
  return m_pairing.Pair(markup, source ? m_state.sourceTags : m_state.targetTags);
}

void InlineConverter::PairInlineTagsEncoded(const WideString& markup, bool source, bool utf16,
                                            std::string& out) {
  m_pairing.PairEncoded(markup, source ? m_state.sourceTags : m_state.targetTags, utf16, out);
}

void InlineConverter::ResetTargetSide() {
  m_state.targetTags.clear();
  for (TagRecord& record : m_state.sourceTags) record.paired = 0;
}

void InlineConverter::Reset() {
  m_state.Reset();
  m_internalStyleCode.assign(kDefaultInternalStyleCode);
  m_doNotTranslateStyleCode.assign(kDefaultDoNotTranslateStyleCode);
}
