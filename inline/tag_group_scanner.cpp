// SPDX-License-Identifier: MIT
// Tag groups: groups in the internal character style hold Vovuzaduz tags ("<b>", "</b>",
// "<:hs>"), which become placeholders (symbol tags become their character); the tag text is
// kept as native code. The native text of a tag runs from the group's brace (first tag) or from
// its own "<" (later tags) up to the next "<" of the group, or through the group's closing brace.
#include "inline/rtf_tables.h"
#include "inline/segment_scanner.h"

using namespace std::string_view_literals;

namespace {

constexpr size_t kMaxWordLength = 254;  // control words, tag names and entities
constexpr size_t kMaxEntityLength = 254;

}  // namespace

void SegmentScanner::ScanTagGroup() {
  const size_t end = End();
  if (m_p < end && m_text[m_p] == u' ') ++m_p;
  size_t nameStart = end;  // none
  bool inQuote = false;
  bool closing = false;
  while (m_p < end) {
    const char16_t c = m_text[m_p];
    if (!inQuote && c == u'}') {
      EndTagGroup();
      return;
    }
    if (c == u'A' && StartsWith(m_p, u"ALT=\"}"sv)) {
      // The tag stays open; the attribute value after the group is read as ordinary text.
      m_p += 5;
      EndTagGroup();
      return;
    }
    if (c == u'"' && StartsWith(m_p, u"\">}"sv)) {
      m_p += 2;
      EndTagGroup();
      return;
    }
    if (c == u'"') {
      inQuote = !inQuote;
      ++m_p;
      continue;
    }
    if (inQuote) {
      ++m_p;
      continue;
    }
    if (c == u'\\') {
      size_t wordEnd = m_p + 1;
      while (wordEnd < end && wordEnd - m_p <= kMaxWordLength && m_text[wordEnd] != u'}' &&
             m_text[wordEnd] != u'\\' && m_text[wordEnd] != u' ') {
        ++wordEnd;
      }
      if (wordEnd >= end || wordEnd - m_p > kMaxWordLength) {
        ++m_p;
        continue;
      }
      m_out.append(ControlWordReplacement(std::u16string_view(m_text).substr(m_p, wordEnd - m_p)));
      m_p = wordEnd;
      if (m_text[wordEnd] == u' ') ++m_p;
      continue;
    }
    if (c == u'&') {
      const std::u16string_view text = m_text;
      const size_t stop = m_nextEntityEnd.Next(
          m_p + 1, end, [&](size_t i) { return text[i] == u';' || text[i] == u'}'; });
      if (stop < end && text[stop] == u';') {
        if (stop - m_p + 1 <= kMaxEntityLength) m_out.append(text.substr(m_p, stop - m_p + 1));
        m_p = stop + 1;
      } else {
        ++m_p;
      }
      continue;
    }
    if (c == u'<') {
      if (m_written != m_writtenAtGroupStart) {
        // The previous tag's record; the next one's native text starts at this "<".
        RecordPendingTag(m_p - m_pending.start);
        m_writtenAtGroupStart = m_written;
        m_pending.Restart(m_p);
      }
      ++m_p;
      m_lastOpening = true;
      closing = false;
      if (At(m_p) == u':') ++m_p;
      if (At(m_p) == u'/') {
        closing = true;
        m_lastOpening = false;
        ++m_p;
      }
      nameStart = m_p;
      // A name has at least one character: the first is taken whatever it is.
      if (m_p < end) ++m_p;
      continue;
    }
    if ((c == u' ' || c == u'>') && nameStart < end) {
      const size_t length = m_p - nameStart;
      if (length >= 1 && length <= kMaxWordLength) {
        const std::u16string_view name = std::u16string_view(m_text).substr(nameStart, length);
        if (closing) {
          int number = m_state.openTags.PopNewest(name);
          if (number == 0) number = ++m_counter;
          AppendPlaceholder(m_out, number, Form::kClosing);
          ++m_written;
          m_lastNumber = number;
        } else if (const std::u16string_view symbol = SymbolTagReplacement(name); !symbol.empty()) {
          m_out.append(symbol);
        } else {
          const int number = ++m_counter;
          m_state.openTags.Push(name, number);
          AppendPlaceholder(m_out, number, Form::kOpening);
          ++m_written;
          m_lastNumber = number;
        }
        nameStart = end;
      }
    }
    ++m_p;
  }
  // Cut off by the end of the text: no record for a tag still pending.
}

void SegmentScanner::EndTagGroup() {
  if (m_written != m_writtenAtGroupStart) RecordPendingTag(m_p - m_pending.start + 1);
}

void SegmentScanner::RecordPendingTag(size_t count) {
  m_pending.Cut(m_text, count);
  MakeRecord(m_pending.text, m_lastNumber, m_lastOpening, m_lastOpening ? m_counter : 0);
}
