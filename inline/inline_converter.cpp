// SPDX-License-Identifier: MIT
#include "inline/inline_converter.h"

#include "inline/segment_scanner.h"

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
