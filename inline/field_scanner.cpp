// SPDX-License-Identifier: MIT
// Fields: "{\field{\*\fldinst ...}{\fldrslt result}}". A field with a result becomes an opening
// and a closing placeholder around the result text, the code before and after the result being
// their native code; a field without a result becomes one standalone placeholder.
#include "inline/rtf_tables.h"
#include "inline/segment_scanner.h"
#include "inline/unicode_escape.h"

using namespace std::string_view_literals;

namespace {

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

}  // namespace

void SegmentScanner::ScanField() {
  const size_t end = End();
  const size_t brace = m_p;
  m_pending.Restart(brace);
  int depth = 0;
  bool inResult = false;
  bool collecting = false;
  std::u16string fieldOutput;
  std::u16string result;  // the result text, escaped like any text of the segment

  // The first character of the result: the native code of the opening placeholder ends here.
  auto startResult = [&](size_t at) {
    collecting = true;
    m_pending.Cut(m_text, at - m_pending.start);
  };

  size_t q = brace + 7;
  while (q < end) {
    const char16_t c = m_text[q];
    if (c == u'}') {
      if (inResult && collecting) {
        const int number = ++m_counter;
        AppendPlaceholder(fieldOutput, number, Form::kOpening);
        fieldOutput += result;
        AppendPlaceholder(fieldOutput, number, Form::kClosing);
        m_lastNumber = number;
        m_lastOpening = true;
        MakeRecord(m_pending.text, number, true, number);
        m_pending.SetTo(u'}');
        result.push_back(u'}');  // a second result runs on from where the first began
      } else if (!inResult && collecting) {
        m_pending.Append(m_text, u'}');
        result.push_back(u'}');
      }
      if (depth == 0) break;
      --depth;
      inResult = false;
      ++q;
      continue;
    }
    if (c == u'{') {
      ++depth;
      if (StartsWith(q + 1, u"\\fldrslt "sv)) {
        if (collecting) result.append(u"{\\fldrslt "sv);
        inResult = true;
        q += 10;
        continue;
      }
      if (collecting) {
        m_pending.Append(m_text, u'{');
        result.push_back(u'{');
      }
      ++q;
      continue;
    }
    if (inResult && c == u'\\' && IsAsciiLetter(At(q + 1))) {
      // A control word inside the result is formatting, not result text. Before the result's
      // first character it stays in the native code of the opening placeholder.
      UnicodeEscape escape;
      if (ReadUnicodeEscape(m_text, q, escape)) {
        if (!collecting) startResult(q);
        AppendEscapedChar(result, escape.unit);
        q = SkipUnicodeFallback(m_text, escape.end, m_fallbackCount, m_codePage);
        continue;
      }
      size_t wordEnd = q + 1;
      while (wordEnd < end && m_text[wordEnd] != u' ' && m_text[wordEnd] != u'\\' &&
             m_text[wordEnd] != u'{' && m_text[wordEnd] != u'}') {
        ++wordEnd;
      }
      const std::u16string_view word = std::u16string_view(m_text).substr(q, wordEnd - q);
      const std::u16string_view replacement = ControlWordReplacement(word);
      if (!replacement.empty()) {
        if (!collecting) startResult(q);
        result.append(replacement);
      } else {
        ReadFallbackCountWord(word, m_fallbackCount);
      }
      q = wordEnd;
      if (q < end && m_text[q] == u' ') ++q;
      continue;
    }
    if (inResult) {
      if (!collecting) startResult(q);
      AppendEscapedChar(result, c);
    } else if (collecting) {
      m_pending.Append(m_text, c);
      AppendEscapedChar(result, c);
    }
    ++q;
  }

  if (collecting) {
    m_out += fieldOutput;
    MakeRecord(m_pending.text, m_counter, false, 0);
  } else {
    const int number = ++m_counter;
    m_pending.Cut(m_text, q - m_pending.start + 1);
    m_lastNumber = number;
    m_lastOpening = true;
    MakeRecord(m_pending.text, number, true, number);
    AppendPlaceholder(m_out, number, Form::kStandalone);
  }
  m_p = q;
}
