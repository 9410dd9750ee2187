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
  m_pending.Restart(m_p);
  std::u16string& output = m_state.buffers.fieldOutput;
  std::u16string& result = m_state.buffers.fieldResult;
  output.clear();
  result.clear();
  m_state.buffers.fieldPlaceholders.clear();
  FieldState field{0, false, false, output, result};

  size_t q = m_p + 7;  // after "{\field"
  while (q < end) {
    const char16_t c = m_text[q];
    if (c == u'}') {
      if (FieldCloseBrace(field)) break;
      ++q;
    } else if (c == u'{') {
      q = FieldOpenBrace(field, q);
    } else if (field.inResult && c == u'\\' && IsAsciiLetter(At(q + 1))) {
      q = FieldResultControlWord(field, q);
    } else {
      q = FieldText(field, q);
    }
  }
  EndField(field, q);
}

// The first character of the result: the native code of the opening placeholder ends here.
void SegmentScanner::StartFieldResult(FieldState& field, size_t at) {
  field.collecting = true;
  m_pending.Cut(m_text, at - m_pending.start);
}

// A closing brace; true when it closes the field.
bool SegmentScanner::FieldCloseBrace(FieldState& field) {
  if (field.inResult && field.collecting) {
    const int number = ++m_counter;
    std::vector<MarkupPlaceholder>& listed = m_state.buffers.fieldPlaceholders;
    WritePlaceholderTo(field.output, listed, number, Form::kOpening);
    field.output += field.result;
    WritePlaceholderTo(field.output, listed, number, Form::kClosing);
    m_lastNumber = number;
    m_lastOpening = true;
    MakeRecord(m_pending.text, number, true, number);
    m_pending.SetTo(u'}');
    field.result.push_back(u'}');  // a second result runs on from where the first began
  } else if (!field.inResult && field.collecting) {
    m_pending.Append(m_text, u'}');
    field.result.push_back(u'}');
  }
  if (field.depth == 0) return true;
  --field.depth;
  field.inResult = false;
  return false;
}

size_t SegmentScanner::FieldOpenBrace(FieldState& field, size_t q) {
  ++field.depth;
  if (StartsWith(q + 1, u"\\fldrslt "sv)) {
    if (field.collecting) field.result.append(u"{\\fldrslt "sv);
    field.inResult = true;
    return q + 10;
  }
  if (field.collecting) {
    m_pending.Append(m_text, u'{');
    field.result.push_back(u'{');
  }
  return q + 1;
}

// A control word inside the result is formatting, not result text. Before the result's first
// character it stays in the native code of the opening placeholder.
size_t SegmentScanner::FieldResultControlWord(FieldState& field, size_t q) {
  UnicodeEscape escape;
  if (ReadUnicodeEscape(m_text, q, escape)) {
    if (!field.collecting) StartFieldResult(field, q);
    field.result.push_back(escape.unit);
    return SkipUnicodeFallback(m_text, escape.end, m_fallbackCount, m_codePage);
  }
  const size_t end = End();
  size_t wordEnd = q + 1;
  while (wordEnd < end && m_text[wordEnd] != u' ' && m_text[wordEnd] != u'\\' &&
         m_text[wordEnd] != u'{' && m_text[wordEnd] != u'}') {
    ++wordEnd;
  }
  const std::u16string_view word = std::u16string_view(m_text).substr(q, wordEnd - q);
  const std::u16string_view replacement = ControlWordReplacement(word);
  if (!replacement.empty()) {
    if (!field.collecting) StartFieldResult(field, q);
    field.result.append(replacement);
  } else {
    ReadFallbackCountWord(word, m_fallbackCount);
  }
  q = wordEnd;
  if (q < end && m_text[q] == u' ') ++q;
  return q;
}

size_t SegmentScanner::FieldText(FieldState& field, size_t q) {
  const size_t runEnd = kBraceOrBackslash.FindFirst(m_text, q + 1);
  const std::u16string_view run = std::u16string_view(m_text).substr(q, runEnd - q);
  if (field.inResult) {
    if (!field.collecting) StartFieldResult(field, q);
    field.result.append(run);
  } else if (field.collecting) {
    m_pending.Append(m_text, run);
    field.result.append(run);
  }
  return runEnd;
}

void SegmentScanner::EndField(const FieldState& field, size_t q) {
  if (field.collecting) {
    for (const MarkupPlaceholder& p : m_state.buffers.fieldPlaceholders) {
      m_list.placeholders.push_back({m_out.size() + p.begin, p.number, p.flags});
    }
    m_out += field.output;
    MakeRecord(m_pending.text, m_counter, false, 0);
  } else {
    const int number = ++m_counter;
    m_pending.Cut(m_text, q - m_pending.start + 1);
    m_lastNumber = number;
    m_lastOpening = true;
    MakeRecord(m_pending.text, number, true, number);
    WritePlaceholder(number, Form::kStandalone);
  }
  m_p = q;
}
