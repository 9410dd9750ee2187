// SPDX-License-Identifier: MIT
#include "inline/inline_converter.h"

#include <utility>

#include "inline/segment_scanner.h"
#include "text/tuning.h"
#include "text/xml_chars.h"

namespace {

// A content beyond the compact form's limits (a billion placeholders, or four billion
// characters) is cleaned up and paired from its markup, as a list read back as markup is.
bool FitsCleanedContent(const InlineList& list) {
  if (list.text.size() > CleanedContent::kMaxText) return false;
  for (const MarkupPlaceholder& p : list.placeholders) {
    if (p.number > CleanedContent::kMaxNumber) return false;
  }
  return true;
}

}  // namespace

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
  const bool sourcePlain = FindPlain(unit, unit.source, source);
  if (!sourcePlain) {
    ConvertSegment(unit.source.text, unit.source.codePage, true, m_sourceCleaned);
  }
  ConvertTargets(unit);
  // The source is written last: its x values come from the pairing with the targets.
  if (!sourcePlain) PairContent(m_sourceCleaned, true, unit.keepText, source);
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
    ConvertSegment(target.text, target.codePage, false, m_targetCleaned);
    PairContent(m_targetCleaned, false, unit.keepText, content);
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

void InlineConverter::ConvertSegment(std::string_view segment, int codePage, bool source,
                                     Cleaned& cleaned) {
  InlineList& list = ScanSegmentList(m_state, m_internalStyleCode, m_doNotTranslateStyleCode,
                                     segment, codePage, source);
  InlineState::ScanBuffers& buffers = m_state.buffers;
  buffers.ReleaseTextIfLarge();  // the scanner is done with the segment's text
  cleaned.isMarkup = list.strayLess || !FitsCleanedContent(list);
  if (cleaned.isMarkup) {
    cleaned.markup = StrayLessMakesMarkup(list);
  } else {
    m_cleanup.CleanUp(list, cleaned.list);
  }
  buffers.ReleaseIfLarge();
}

// A "<" that an entity of a tag group copied reads, with what follows it, as markup would: it
// may start a placeholder (even a letter tag such as "<b>") where the list has text. Such a list
// is cleaned up from the markup it stands for, read back.
WideString InlineConverter::StrayLessMakesMarkup(const InlineList& list) {
  return m_cleanup.CleanUp(MarkupOf(list));
}

// Without keepText, the content goes straight into the document's encoding; otherwise it is
// made as UTF-16 first, and encoded from that.
void InlineConverter::PairContent(Cleaned& cleaned, bool source, bool keepText,
                                  InlineContent& content) {
  const TagList& records = source ? m_state.sourceTags : m_state.targetTags;
  content.encoded.clear();
  content.text.clear();
  if (!keepText) {
    if (cleaned.isMarkup) {
      m_pairing.PairEncoded(cleaned.markup, records, m_utf16Output, content.encoded);
    } else {
      m_pairing.PairEncoded(cleaned.list, records, m_utf16Output, content.encoded);
    }
  } else {
    WideString paired = cleaned.isMarkup ? m_pairing.Pair(cleaned.markup, records)
                                         : m_pairing.Pair(cleaned.list, records);
    content.text = std::move(paired.str());
    AppendXmlSafe(content.encoded, content.text, m_utf16Output);
  }
  // The content of a very long segment is not kept for the next one.
  cleaned.markup = WideString();
  cleaned.list.ReleaseIfLarger(tuning::kKeptTextUnits, tuning::kKeptListEntries);
}

void InlineConverter::ResetTargetSide() {
  m_state.targetTags.clear();
  for (TagRecord& record : m_state.sourceTags) record.paired = 0;
}
