// SPDX-License-Identifier: MIT
// Tag groups: groups in the internal character style hold Vovuzaduz tags ("<b>", "</b>",
// "<:hs>"), which become placeholders (symbol tags become their character); the tag text is
// kept as native code. The native text of a tag runs from the group's brace (first tag) or from
// its own "<" (later tags) up to the next "<" of the group, or through the group's closing brace.
#include "inline/rtf_tables.h"
#include "inline/segment_scanner.h"
#include "text/xml_escape.h"

using namespace std::string_view_literals;

namespace {

constexpr size_t kMaxWordLength = 254;  // control words, tag names and entities
constexpr size_t kMaxEntityLength = 254;

}  // namespace

void SegmentScanner::ScanTagGroup() {
  const size_t end = End();
  if (m_p < end && m_text[m_p] == u' ') ++m_p;
  TagName tag{end, false};  // no name started
  bool inQuote = false;
  while (m_p < end) {
    const char16_t c = m_text[m_p];
    if (TagGroupEndsHere(c, inQuote)) return;
    if (c == u'"') {
      inQuote = !inQuote;
      ++m_p;
      continue;
    }
    if (inQuote) {
      ++m_p;
      continue;
    }
    switch (c) {
      case u'\\':
        ReadTagGroupControlWord();
        continue;
      case u'&':
        ReadTagGroupEntity();
        continue;
      case u'<':
        StartTagName(tag);
        continue;
      case u' ':
      case u'>':
        if (tag.start < end) EndTagName(tag);
        break;
      default:
        break;
    }
    ++m_p;
  }
  // Cut off by the end of the text: no record for a tag still pending.
}

bool SegmentScanner::TagGroupEndsHere(char16_t c, bool inQuote) {
  if (c != u'}' && c != u'A' && c != u'"') return false;
  if (!inQuote && c == u'}') {
    EndTagGroup();
    return true;
  }
  if (c == u'A' && StartsWith(m_p, u"ALT=\"}"sv)) {
    // The tag stays open; the attribute value after the group is read as ordinary text.
    m_p += 5;
    EndTagGroup();
    return true;
  }
  if (c == u'"' && StartsWith(m_p, u"\">}"sv)) {
    m_p += 2;
    EndTagGroup();
    return true;
  }
  return false;
}

void SegmentScanner::ReadTagGroupControlWord() {
  const size_t end = End();
  size_t wordEnd = m_p + 1;
  while (wordEnd < end && wordEnd - m_p <= kMaxWordLength && m_text[wordEnd] != u'}' &&
         m_text[wordEnd] != u'\\' && m_text[wordEnd] != u' ') {
    ++wordEnd;
  }
  if (wordEnd >= end || wordEnd - m_p > kMaxWordLength) {
    ++m_p;
    return;
  }
  m_out.append(ControlWordReplacement(std::u16string_view(m_text).substr(m_p, wordEnd - m_p)));
  m_p = wordEnd;
  if (m_text[wordEnd] == u' ') ++m_p;
}

void SegmentScanner::ReadTagGroupEntity() {
  // An entity up to its ";" is copied into the markup as it stands.
  const std::u16string_view text = m_text;
  const size_t stop = m_nextEntityEnd.Next(
      m_p + 1, End(), [&](size_t i) { return text[i] == u';' || text[i] == u'}'; });
  if (stop < End() && text[stop] == u';') {
    if (stop - m_p + 1 <= kMaxEntityLength) {
      AppendEntity(text.substr(m_p, stop - m_p + 1));
    }
    m_p = stop + 1;
  } else {
    ++m_p;
  }
}

// TagGroupEntityAsText: an entity of a tag group is copied into the segment's markup as it
// stands, where the clean-up reads it as text: "&lt;" "&gt;" "&nbsp;" "&amp;" (also inside a
// longer entity) as their characters, all else as written. The text holds what the clean-up
// reads; an entity that the markup would not write back from the text is noted as written
// (where a "<" of it may start a placeholder: see InlineList::strayLess).
void SegmentScanner::AppendEntity(std::u16string_view entity) {
  const size_t begin = m_out.size();
  AppendEscapedText(m_out, entity, EscapeDirection::kUnescape, true);
  if (m_out.size() == begin + 1) {
    std::u16string back;  // what the markup writes for the character
    AppendTextEntity(back, m_out.back());
    if (back == entity) return;
  }
  m_list.entities.push_back({begin, m_out.size() - begin, m_list.written.size(), entity.size()});
  m_list.written.append(entity);
  if (entity.find(u'<') != std::u16string_view::npos) m_list.strayLess = true;
}

void SegmentScanner::StartTagName(TagName& tag) {
  if (m_written != m_writtenAtGroupStart) {
    // The previous tag's record; the next one's native text starts at this "<".
    RecordPendingTag(m_p - m_pending.start);
    m_writtenAtGroupStart = m_written;
    m_pending.Restart(m_p);
  }
  ++m_p;
  m_lastOpening = true;
  tag.closing = false;
  if (At(m_p) == u':') ++m_p;
  if (At(m_p) == u'/') {
    tag.closing = true;
    m_lastOpening = false;
    ++m_p;
  }
  tag.start = m_p;
  // A name has at least one character: the first is taken whatever it is.
  if (m_p < End()) ++m_p;
}

void SegmentScanner::EndTagName(TagName& tag) {
  const size_t length = m_p - tag.start;
  if (length < 1 || length > kMaxWordLength) return;
  const std::u16string_view name = std::u16string_view(m_text).substr(tag.start, length);
  if (tag.closing) {
    int number = m_state.openTags.PopNewest(name);
    if (number == 0) number = ++m_counter;
    WritePlaceholder(number, Form::kClosing);
    ++m_written;
    m_lastNumber = number;
  } else if (const std::u16string_view symbol = SymbolTagReplacement(name); !symbol.empty()) {
    // "<:lt>" and "<:gt>" write entities, "<:hs>" the no-break space itself.
    if (symbol == u"\u00A0") m_list.noBreakSpaces.push_back(m_out.size());
    AppendEscapedText(m_out, symbol, EscapeDirection::kUnescape, true);
  } else {
    const int number = ++m_counter;
    m_state.openTags.Push(name, number);
    WritePlaceholder(number, Form::kOpening);
    ++m_written;
    m_lastNumber = number;
  }
  tag.start = End();
}

void SegmentScanner::EndTagGroup() {
  if (m_written != m_writtenAtGroupStart) RecordPendingTag(m_p - m_pending.start + 1);
}

void SegmentScanner::RecordPendingTag(size_t count) {
  m_pending.Cut(m_text, count);
  MakeRecord(m_pending.text, m_lastNumber, m_lastOpening, m_lastOpening ? m_counter : 0);
}
