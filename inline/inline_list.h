// SPDX-License-Identifier: MIT
// InlineList: a segment's inline content as the scanner hands it to the clean-up, typed: the
// text as characters (no entities) and the numbered placeholders, each standing at a position of
// the text. The clean-up serialises it once into the markup that the pairing reads.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Kind and form bits of a placeholder (and of the items the clean-up reads from markup).
inline constexpr uint32_t kMarkupText = 0x00000020;         // a text run
inline constexpr uint32_t kMarkupPlaceholder = 0x00800000;  // a numbered placeholder
inline constexpr uint32_t kMarkupLetterB = 0x00000400;      // letter tag "b" or "B"
inline constexpr uint32_t kMarkupLetterI = 0x00001000;      // letter tag "i" or "I"
inline constexpr uint32_t kMarkupLetterU = 0x00004000;      // letter tag "u" or "U"
inline constexpr uint32_t kMarkupClosing = 0x80000000;      // the markup begins with "</"
inline constexpr uint32_t kMarkupStandalone = 0x40000000;   // ends with "/>", not closing

// A placeholder: where it stands (in a list: the position in the list's text, before the
// character there; in markup: where its "<" is), its number and its kind and form bits
// (kMarkupPlaceholder with kMarkupClosing, kMarkupStandalone or neither).
struct MarkupPlaceholder {
  size_t begin;
  int number;
  uint32_t flags;
};

struct InlineList {
  std::u16string text;
  std::vector<MarkupPlaceholder> placeholders;  // in order

  // What the markup of the list (MarkupOf) writes otherwise than as escaped text: entities of
  // tag groups other than "&lt;" "&gt;" "&amp;" "&nbsp;" (their characters in the text, as the
  // clean-up reads them; the markup holds them as written, in `written`), and no-break spaces
  // written as the character (after "\~" and "<:hs>"; the markup holds other ones as "&nbsp;").
  struct Entity {
    size_t begin, length;                // in text
    size_t writtenBegin, writtenLength;  // in written
  };
  std::vector<Entity> entities;
  std::u16string written;
  std::vector<size_t> noBreakSpaces;  // where in text
  // An entity holds a "<": with what follows it, markup may read it as a placeholder, so the
  // list must be read back as markup (StrayLessMakesMarkup in the converter).
  bool strayLess = false;

  void Clear() {
    text.clear();
    placeholders.clear();
    entities.clear();
    written.clear();
    noBreakSpaces.clear();
    strayLess = false;
  }
};

// A segment's content after the clean-up: its text and the placeholders kept, each in 8 bytes (a
// long segment's content holds millions of them, all held while the content is written): the
// text units since the placeholder before (or since the start), and the number with the form.
class CleanedContent {
 public:
  // The largest placeholder number and text the compact form holds.
  static constexpr int kMaxNumber = (1 << 30) - 1;
  static constexpr size_t kMaxText = UINT32_MAX;

  std::u16string text;

  size_t Placeholders() const { return m_placeholders.size(); }
  // Appends a placeholder that stands at this position of the text, at or after the last one
  // (number at most kMaxNumber, text at most kMaxText units).
  void AddPlaceholder(size_t at, int number, uint32_t flags) {
    const uint32_t form = (flags & kMarkupClosing) ? 1 : (flags & kMarkupStandalone) ? 2 : 0;
    m_placeholders.push_back(
        {static_cast<uint32_t>(at - m_end), static_cast<uint32_t>(number) << 2 | form});
    m_end = at;
  }
  // Hands each placeholder to visit in order, as (where it stands in the text, number, flags).
  template <typename Visit>
  void ForEachPlaceholder(Visit&& visit) const {
    size_t at = 0;
    for (const Entry& e : m_placeholders) {
      at += e.gap;
      const uint32_t form = e.code & 3;
      visit(at, static_cast<int>(e.code >> 2),
            kMarkupPlaceholder | (form == 1   ? kMarkupClosing
                                  : form == 2 ? kMarkupStandalone
                                              : 0));
    }
  }
  void Reserve(size_t units, size_t placeholders) {
    text.reserve(units);
    m_placeholders.reserve(placeholders);
  }
  void Clear() {
    text.clear();
    m_placeholders.clear();
    m_end = 0;
  }
  // Gives the memory of a very long segment's content back.
  void ReleaseIfLarger(size_t units, size_t placeholders) {
    if (text.capacity() > units) std::u16string().swap(text);
    if (m_placeholders.capacity() > placeholders) std::vector<Entry>().swap(m_placeholders);
  }

 private:
  struct Entry {
    uint32_t gap;
    uint32_t code;  // number << 2 | form (0 opening, 1 closing, 2 standalone)
  };
  static_assert(sizeof(Entry) == 8);
  std::vector<Entry> m_placeholders;
  size_t m_end = 0;  // where the last placeholder stands
};

// Appends a placeholder's markup: "<N>", "</N>" or "<N/>" by its form bits.
void AppendPlaceholderMarkup(std::u16string& out, int number, uint32_t flags);
// The markup a scanner's list stands for: text characters "<" ">" "&" and U+00A0 as entities
// (but the entities and no-break spaces the list notes as written), and the placeholders in
// between. The clean-up of this markup gives what the clean-up of the list gives.
std::u16string MarkupOf(const InlineList& list);
// The markup of a cleaned-up list, as the clean-up writes markup (EscapeText: "<" ">" "&" and
// U+00A0 as entities, U+2028 as a line feed) and the pairing reads it.
std::u16string CleanedMarkupOf(const CleanedContent& content);
