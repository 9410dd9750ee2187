// SPDX-License-Identifier: MIT
#include "inline/segment_scanner.h"

#include <algorithm>

#include "inline/byte_escapes.h"
#include "inline/rtf_tables.h"
#include "inline/unicode_escape.h"
#include "text/code_page.h"
#include "text/unit_set.h"
#include "text/wide_to_int.h"
#include "text/xml_escape.h"

using namespace std::string_view_literals;

namespace {

// Longest control word (backslash included) that is read as one; longer ones are text.
constexpr size_t kMaxWordLength = 254;

bool EndsControlWord(char16_t c) {
  return c == u' ' || c == u'\\' || c == u'{' || c == u'}';
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

InlineList& ScanSegmentList(InlineState& state, std::u16string_view internalStyleCode,
                            std::u16string_view doNotTranslateStyleCode, std::string_view segment,
                            int codePage, bool source) {
  SegmentScanner scanner(state, internalStyleCode, doNotTranslateStyleCode, codePage, source);
  return scanner.Scan(segment);
}

std::u16string ScanSegment(InlineState& state, std::u16string_view internalStyleCode,
                           std::u16string_view doNotTranslateStyleCode, std::string_view segment,
                           int codePage, bool source) {
  return MarkupOf(ScanSegmentList(state, internalStyleCode, doNotTranslateStyleCode, segment,
                                  codePage, source));
}

void SegmentScanner::PendingNative::Cut(std::u16string_view whole, size_t count) {
  if (!cut) {
    const std::u16string_view native = whole.substr(std::min(start, whole.size()), count);
    text.clear();  // the text is never part of whole, so an append does
    text.append(native.data(), native.size());
    cut = true;
  } else if (text.size() > count) {
    text.resize(count);
  }
}

void SegmentScanner::PendingNative::Append(std::u16string_view whole, char16_t c) {
  Append(whole, std::u16string_view(&c, 1));
}

void SegmentScanner::PendingNative::Append(std::u16string_view whole, std::u16string_view units) {
  if (!cut) Cut(whole, whole.size());
  text.append(units);
}

SegmentScanner::SegmentScanner(InlineState& state, std::u16string_view internalStyleCode,
                               std::u16string_view doNotTranslateStyleCode, int codePage,
                               bool source)
    : m_state(state),
      m_internalCode(internalStyleCode),
      m_doNotTranslateCode(doNotTranslateStyleCode),
      m_codePage(static_cast<unsigned>(codePage)),
      m_source(source),
      m_tags(source ? state.sourceTags : state.targetTags),
      m_text(state.buffers.text),
      m_list(state.buffers.list),
      m_out(state.buffers.list.text),
      m_pending(state.buffers.pendingNative),
      m_groupStack(state.buffers.groupStack),
      m_unmatchedOpen(state.buffers.unmatchedOpen),
      m_unmatchedClose(state.buffers.unmatchedClose),
      m_hiddenAt(state.buffers.hiddenAt),
      m_doNotTranslateAt(state.buffers.doNotTranslateAt),
      m_internalAt(state.buffers.internalAt),
      m_fallbackWordAt(state.buffers.fallbackWordAt),
      m_fallbackWordCount(state.buffers.fallbackWordCount),
      m_lastValidFallbackWord(state.buffers.lastValidFallbackWord) {}

InlineList& SegmentScanner::Scan(std::string_view segment) {
  Reset();
  if (m_state.unicodeText) {
    DecodeUnicodeWithByteEscapes(segment, m_codePage, m_text, m_state.buffers.bytes);
  } else {
    DecodeWithByteEscapes(segment, m_codePage, m_text, m_state.buffers.bytes);
  }
  // A U+0000 is text like any other character: the writer leaves it out.
  if (m_text.empty()) return m_list;
  m_out.reserve(m_text.size());
  // Many groups: their placeholders and records need more room than the text suggests.
  constexpr size_t kManyGroups = 1024;
  if (const size_t groups = FindUnmatchedBraces(); groups > kManyGroups) ReserveForGroups(groups);

  ScanText();

  // A group still open at the end gets one closing placeholder, without a record.
  if (m_groupOpened && !m_groupStack.empty()) {
    WritePlaceholder(m_groupStack.back(), Form::kClosing);
    m_groupStack.pop_back();
  }
  return m_list;
}

// Forgets what the previous segment left in the buffers.
void SegmentScanner::Reset() {
  m_state.openTags.Clear();
  m_list.Clear();
  m_groupStack.clear();
  m_unmatchedOpen.clear();
  m_unmatchedClose.clear();
  m_hiddenAt.clear();
  m_doNotTranslateAt.clear();
  m_internalAt.clear();
  m_fallbackWordAt.clear();
  m_fallbackWordCount.clear();
  m_lastValidFallbackWord.clear();
  m_text.clear();
}

// The main loop: text runs, control words, groups and fields up to the end of the text.
void SegmentScanner::ScanText() {
  while (m_p < End()) {
    // Braces without a partner are passed over; the cursors move only when the scan lands on
    // their entry.
    if (m_openCursor < m_unmatchedOpen.size() && m_unmatchedOpen[m_openCursor] == m_p) {
      ++m_openCursor;
      ++m_p;
      continue;
    }
    if (m_closeCursor < m_unmatchedClose.size() && m_unmatchedClose[m_closeCursor] == m_p) {
      ++m_closeCursor;
      ++m_p;
      continue;
    }
    const char16_t c = m_text[m_p];
    if (!kBraceOrBackslash.Contains(c)) {
      // A run of text: no brace in it, so no cursor stands in it either.
      const size_t end = kBraceOrBackslash.FindFirst(m_text, m_p);
      if (m_visible) m_out.append(m_text, m_p, end - m_p);
      m_p = end;
      continue;
    }
    if (c == u'\\') {
      ReadBackslash();
      continue;
    }
    if (c == u'{') {
      if (At(m_p + 1) == u'\\' && StartsWith(m_p + 2, u"field"sv)) {
        ScanField();
      } else {
        StartGroup();
      }
      if (m_p < End()) ++m_p;
      continue;
    }
    CloseGroup();
    ++m_p;
  }
}

void SegmentScanner::ReserveForGroups(size_t groups) {
  // A group mostly lists two placeholders, "<N>" and "</N>", and makes two records. Room for
  // that spares a long segment the copies of growing by doubling (room that is never written
  // costs no memory).
  m_list.placeholders.reserve(2 * groups + 1);
  m_tags.reserve(m_tags.size() + 2 * groups);
}

size_t SegmentScanner::FindUnmatchedBraces() {
  size_t groups = 0;  // opening braces that are no escaped text
  std::vector<size_t>& open = m_unmatchedOpen;
  // The text is read through locals: the lists the pass fills are no part of it.
  const char16_t* const text = m_text.data();
  const size_t size = m_text.size();
  const auto at = [text, size](size_t i) { return i < size ? text[i] : u'\0'; };
  // Most control words are none of the head markers: their second and third characters tell.
  struct CodeStart {
    bool any;  // a code of fewer than two characters: any control word may start it
    char16_t second, third;
    bool hasThird;
  };
  const auto startOf = [](std::u16string_view code) {
    return CodeStart{code.size() < 2, code.size() > 1 ? code[1] : u'\0',
                     code.size() > 2 ? code[2] : u'\0', code.size() > 2};
  };
  const CodeStart doNotTranslate = startOf(m_doNotTranslateCode);
  const CodeStart internal = startOf(m_internalCode);
  const auto mayStart = [&](const CodeStart& code, char16_t second, size_t i) {
    return code.any || (second == code.second && (!code.hasThird || at(i + 2) == code.third));
  };
  size_t escaped = 0;  // the position after a backslash's escaped brace or backslash
  kBraceOrBackslash.ForEach(m_text, [&](size_t i) {
    const char16_t c = text[i];
    if (c == u'\\') {
      // Group heads are tested at every backslash, escaped or not.
      const char16_t next = at(i + 1);
      if (next == u'v' || next == u'u' || mayStart(doNotTranslate, next, i) ||
          mayStart(internal, next, i)) {
        NoteHeadMarker(i);
      }
      if (i >= escaped && (next == u'{' || next == u'}' || next == u'\\')) escaped = i + 2;
    } else if (i < escaped) {
      // an escaped brace
    } else if (c == u'{') {
      ++groups;
      open.push_back(i);
    } else if (open.empty()) {
      m_unmatchedClose.push_back(i);
    } else {
      open.pop_back();
    }
  });
  // What is left on the stack are the unmatched opening braces, in text order.
  return groups;
}

bool SegmentScanner::ReadUnicodeEscapeAt(bool write) {
  UnicodeEscape escape;
  if (!ReadUnicodeEscape(m_text, m_p, escape)) return false;
  if (write) WriteText(escape.unit);
  m_p = SkipUnicodeFallback(m_text, escape.end, m_fallbackCount, m_codePage);
  return true;
}

void SegmentScanner::ReadBackslash() {
  const char16_t next = At(m_p + 1);
  switch (next) {
    case u'{':
    case u'}':
    case u'\\':
      if (m_visible) m_out.push_back(next);
      m_p += 2;
      return;
    case u'~':
      if (m_visible) {
        m_list.noBreakSpaces.push_back(m_out.size());  // the markup holds the character
        m_out.push_back(u'\u00A0');
      }
      m_p += 2;
      return;
    case u'-':
      m_p += 2;
      return;
    case u'_':
      if (m_visible) m_out.push_back(u'-');
      m_p += 2;
      return;
    default:
      break;
  }
  if (next == u'u' && ReadUnicodeEscapeAt(true)) return;

  size_t end = m_p + 1;
  while (end < End() && end - m_p <= kMaxWordLength && !EndsControlWord(m_text[end])) ++end;
  if (end >= End() || end - m_p > kMaxWordLength) {
    // Not a control word: the backslash is text and the letters after it follow as text.
    WriteText(u'\\');
    ++m_p;
    return;
  }
  const std::u16string_view word(m_text.data() + m_p, end - m_p);
  const std::u16string_view replacement = ControlWordReplacement(word);
  if (!replacement.empty()) {
    m_out.append(replacement);
  } else if (next == u'n') {
    // Words beginning with "n" are read as text.
    WriteText(u'\\');
    ++m_p;
    return;
  } else {
    ReadFallbackCountWord(word, m_fallbackCount);
  }
  m_p = end;
  if (m_text[end] == u' ') ++m_p;
}

void SegmentScanner::StartGroup() {
  const size_t brace = m_p;
  const size_t end = End();
  const std::u16string_view text = m_text;
  constexpr UnitSet kSpace(u" ");
  const size_t headEnd = m_nextSpace.NextFound(
      brace, end, [&](size_t pos) { return std::min(kSpace.FindFirst(text, pos), end); });

  // The head tests, each answered from the positions found in the brace pass: is there a
  // marker of the kind in [brace, headEnd)?
  auto inHead = [&](const std::vector<size_t>& at) {
    const auto it = std::lower_bound(at.begin(), at.end(), brace);
    return it != at.end() && *it < headEnd;
  };
  m_doNotTranslateGroup = false;
  if (inHead(m_hiddenAt)) m_visible = false;
  if (inHead(m_doNotTranslateAt)) {
    m_visible = false;
    m_doNotTranslateGroup = true;
  }
  const bool tagGroup = inHead(m_internalAt);

  m_pending.Restart(brace);
  m_writtenAtGroupStart = m_written;
  if (headEnd < end) {
    NoteFallbackCountWords(brace + 1, headEnd);
    m_p = headEnd;
  }
  if (tagGroup) {
    ScanTagGroup();
    return;
  }

  const int number = ++m_counter;
  ++m_written;
  m_lastNumber = number;
  if (m_visible) {
    WritePlaceholder(number, Form::kOpening);
    m_groupStack.push_back(number);
    m_groupOpened = true;
    m_pending.Cut(m_text, m_p - brace + 1);
    m_lastOpening = true;
    MakeRecord(m_pending.text, number, true, number);
  } else if (!m_doNotTranslateGroup) {
    WritePlaceholder(number, Form::kStandalone);
  }
}

void SegmentScanner::CloseGroup() {
  if (m_visible && !m_groupStack.empty()) {
    const int number = m_groupStack.back();
    m_groupStack.pop_back();
    WritePlaceholder(number, Form::kClosing);
    MakeRecord(u"}", number, false, 0);
  } else if (!m_doNotTranslateGroup) {
    // The record of a hidden group's <N/>: the whole group, braces included.
    m_pending.Cut(m_text, m_p - m_pending.start + 1);
    m_lastOpening = true;
    MakeRecord(m_pending.text, m_lastNumber, true, m_lastNumber);
  }
  m_visible = true;
  m_groupOpened = false;
}

void SegmentScanner::NoteHeadMarker(size_t i) {
  const char16_t next = At(i + 1);
  if (next == u'v' && (At(i + 2) == u'\\' || At(i + 2) == u' ')) m_hiddenAt.push_back(i);
  if (!m_doNotTranslateCode.empty() && StartsWith(i, m_doNotTranslateCode)) {
    const char16_t after = At(i + m_doNotTranslateCode.size());
    if (after == u'\\' || after == u' ') m_doNotTranslateAt.push_back(i);
  }
  // The internal style matches only as a whole control word: "\cs6" is not "\cs61".
  if (!m_internalCode.empty() && StartsWith(i, m_internalCode) &&
      !IsDigit(At(i + m_internalCode.size()))) {
    m_internalAt.push_back(i);
  }
  if (next == u'u' && At(i + 2) == u'c') {
    size_t wordEnd = i + 1;
    while (wordEnd < End() && !EndsControlWord(m_text[wordEnd])) ++wordEnd;
    int count = -1;
    if (!ReadFallbackCountWord(std::u16string_view(m_text).substr(i, wordEnd - i), count)) {
      count = -1;
    }
    const int index = static_cast<int>(m_fallbackWordAt.size());
    const int lastValid = m_lastValidFallbackWord.empty() ? -1 : m_lastValidFallbackWord.back();
    m_fallbackWordAt.push_back(i);
    m_fallbackWordCount.push_back(count);
    m_lastValidFallbackWord.push_back(count >= 0 ? index : lastValid);
  }
}

void SegmentScanner::NoteFallbackCountWords(size_t from, size_t end) {
  // The last "\ucN" word that starts in [from, end) with a character after its "\uc" sets the
  // count: found from the words of the brace pass, so heads that overlap cost no second walk.
  const auto& at = m_fallbackWordAt;
  const auto first = std::lower_bound(at.begin(), at.end(), from);
  if (end < 3) return;
  const auto last = std::lower_bound(first, at.end(), end - 3);  // starts with i + 3 < end
  if (first == last) return;
  const int valid = m_lastValidFallbackWord[static_cast<size_t>(last - at.begin() - 1)];
  if (valid >= static_cast<int>(first - at.begin())) {
    m_fallbackCount = m_fallbackWordCount[static_cast<size_t>(valid)];
  }
}

void SegmentScanner::MakeRecord(std::u16string_view text, int number, bool opening,
                                int sourcePairedNumber) {
  if (m_source) {
    AppendTagRecord(m_tags, text, number, opening ? sourcePairedNumber : 0, opening, false);
  } else if (opening) {
    const int paired = PairWithSource(text);
    AppendTagRecord(m_tags, text, number, paired, true, paired != 0);
  } else {
    AppendTagRecord(m_tags, text, number, 0, false, false);
  }
}

int SegmentScanner::PairWithSource(std::u16string_view text) {
  TagList& source = m_state.sourceTags;
  // A segment holds few records: walking them is quicker than an index, and stays cheap.
  constexpr size_t kWalkedRecords = 32;
  if (source.size() <= kWalkedRecords) {
    for (TagRecord& record : source) {
      if (record.paired == 0 && record.opening == 1 && SameUnits(source.Text(record), text)) {
        record.paired = 1;
        return record.number;
      }
    }
    return 0;
  }
  if (!m_sourceIndexBuilt) {
    m_sourceIndexBuilt = true;
    for (size_t i = 0; i < source.size(); ++i) {
      if (source[i].paired == 0 && source[i].opening == 1) {
        m_sourceIndex[source.Text(source[i])].records.push_back(i);
      }
    }
  }
  const auto it = m_sourceIndex.find(text);
  if (it == m_sourceIndex.end()) return 0;
  SourceQueue& queue = it->second;
  if (queue.next >= queue.records.size()) return 0;
  TagRecord& record = source[queue.records[queue.next++]];
  record.paired = 1;
  return record.number;
}

void SegmentScanner::WritePlaceholderTo(std::u16string& out, std::vector<MarkupPlaceholder>& list,
                                        int number, Form form) {
  const uint32_t flags = kMarkupPlaceholder | (form == Form::kClosing      ? kMarkupClosing
                                               : form == Form::kStandalone ? kMarkupStandalone
                                                                           : 0);
  list.push_back(MarkupPlaceholder{out.size(), number, flags});
}
