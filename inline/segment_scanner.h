// SPDX-License-Identifier: MIT
// The RTF segment scanner: one segment's RTF becomes a typed list (its text and numbered
// placeholders <N>, </N>, <N/> in between) and a TagRecord per placeholder that keeps its native
// code. Groups in the internal tag style and fields have their own sub-scanners
// (tag_group_scanner.cpp, field_scanner.cpp).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "inline/forward_search.h"
#include "inline/inline_state.h"
#include "text/unit_set.h"

// RTF syntax: the units that the scan of text stops at.
inline constexpr UnitSet kBraceOrBackslash(u"\\{}");

// The scanner's list of one segment, in the state's buffer (valid until the next scan); records go
// to the side's tag list (target records are paired with the source records of identical code).
InlineList& ScanSegmentList(InlineState& state, std::u16string_view internalStyleCode,
                            std::u16string_view doNotTranslateStyleCode, std::string_view segment,
                            int codePage, bool source);
// The markup the list stands for (MarkupOf), before clean-up.
std::u16string ScanSegment(InlineState& state, std::u16string_view internalStyleCode,
                           std::u16string_view doNotTranslateStyleCode, std::string_view segment,
                           int codePage, bool source);

class SegmentScanner {
 public:
  SegmentScanner(InlineState& state, std::u16string_view internalStyleCode,
                 std::u16string_view doNotTranslateStyleCode, int codePage, bool source);
  // The list, in the state's buffer (valid until the next scan).
  InlineList& Scan(std::string_view segment);

 private:
  // The native code collected for the next record: the text from a start position to the end of
  // the segment until it is first cut, then text of its own (in a buffer kept from segment to
  // segment).
  struct PendingNative {
    explicit PendingNative(std::u16string& buffer) : text(buffer) { text.clear(); }
    size_t start = 0;
    bool cut = true;
    std::u16string& text;
    void Restart(size_t pos) {
      start = pos;
      cut = false;
      text.clear();
    }
    void Cut(std::u16string_view whole, size_t count);
    void SetTo(char16_t c) {
      text.clear();
      text.push_back(c);
      cut = true;
    }
    void Append(std::u16string_view whole, char16_t c);
    void Append(std::u16string_view whole, std::u16string_view units);
  };
  enum class Form { kOpening, kClosing, kStandalone };

  // Lists the unmatched braces and the group-head markers; gives the number of groups opened.
  size_t FindUnmatchedBraces();
  // Room in the markup, the placeholder list and the tag list for that many groups.
  void Reset();
  void ScanText();
  void ReserveForGroups(size_t groups);
  void ReadBackslash();
  bool ReadUnicodeEscapeAt(bool write);
  void StartGroup();
  void CloseGroup();
  void NoteFallbackCountWords(size_t from, size_t end);
  // Notes the group-head markers starting at the backslash at i (the brace pass calls it only
  // where the unit after the backslash may start one).
  void NoteHeadMarker(size_t i);

  // Tag group sub-scanner (tag_group_scanner.cpp).
  struct TagName {
    size_t start;  // the first character of the name; the end of the text when none started
    bool closing;  // the tag began with "</"
  };
  void ScanTagGroup();
  bool TagGroupEndsHere(char16_t c, bool inQuote);
  void ReadTagGroupControlWord();
  void ReadTagGroupEntity();
  void AppendEntity(std::u16string_view entity);
  void StartTagName(TagName& tag);
  void EndTagName(TagName& tag);
  void EndTagGroup();
  void RecordPendingTag(size_t count);

  // Field sub-scanner (field_scanner.cpp).
  struct FieldState {
    int depth = 0;
    bool inResult = false;
    bool collecting = false;  // the result's first character has been read
    std::u16string& output;   // the field's markup
    std::u16string& result;   // the result text, escaped like any text of the segment
  };
  void ScanField();
  bool FieldCloseBrace(FieldState& field);
  size_t FieldOpenBrace(FieldState& field, size_t q);
  size_t FieldResultControlWord(FieldState& field, size_t q);
  // The text from q up to the next brace or backslash (the unit at q is text whatever it is);
  // gives the position after it.
  size_t FieldText(FieldState& field, size_t q);
  void StartFieldResult(FieldState& field, size_t at);
  void EndField(const FieldState& field, size_t q);

  void MakeRecord(std::u16string_view text, int number, bool opening, int sourcePairedNumber);
  int PairWithSource(std::u16string_view text);
  void WriteText(char16_t c) {
    if (m_visible) m_out.push_back(c);
  }
  // Lists a placeholder at the end of the text, or of a field's text.
  void WritePlaceholder(int number, Form form) {
    WritePlaceholderTo(m_out, m_list.placeholders, number, form);
  }
  static void WritePlaceholderTo(std::u16string& out, std::vector<MarkupPlaceholder>& list,
                                 int number, Form form);
  char16_t At(size_t i) const { return i < m_text.size() ? m_text[i] : u'\0'; }
  bool StartsWith(size_t i, std::u16string_view s) const {
    return i <= m_text.size() && m_text.size() - i >= s.size() &&
           SameUnits(std::u16string_view(m_text).substr(i, s.size()), s);
  }
  size_t End() const { return m_text.size(); }

  InlineState& m_state;
  std::u16string_view m_internalCode;
  std::u16string_view m_doNotTranslateCode;
  unsigned m_codePage;
  bool m_source;
  TagList& m_tags;

  std::u16string& m_text;  // the segment in UTF-16
  size_t m_p = 0;          // the scanning position
  InlineList& m_list;      // the list being built
  std::u16string& m_out;   // its text
  int m_counter = 0;       // the last placeholder number issued
  int m_written = 0;       // placeholders written by groups and Vovuzaduz tags
  int m_writtenAtGroupStart = 0;
  PendingNative m_pending;
  int m_lastNumber = 0;
  bool m_lastOpening = false;
  bool m_visible = true;
  bool m_groupOpened = false;
  bool m_doNotTranslateGroup = false;
  int m_fallbackCount = 1;  // bytes of fallback after each \uN escape
  std::vector<int>& m_groupStack;
  std::vector<size_t>& m_unmatchedOpen;
  std::vector<size_t>& m_unmatchedClose;
  size_t m_openCursor = 0, m_closeCursor = 0;

  ForwardSearch m_nextSpace, m_nextEntityEnd;
  std::vector<size_t>& m_hiddenAt;
  std::vector<size_t>& m_doNotTranslateAt;
  std::vector<size_t>& m_internalAt;
  std::vector<size_t>& m_fallbackWordAt;
  std::vector<int>& m_fallbackWordCount;
  std::vector<int>& m_lastValidFallbackWord;

  // Unpaired opening source records by text, in list order (built at the first pairing).
  struct SourceQueue {
    std::vector<size_t> records;
    size_t next = 0;
  };
  std::unordered_map<std::u16string_view, SourceQueue> m_sourceIndex;
  bool m_sourceIndexBuilt = false;
};
