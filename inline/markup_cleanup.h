// SPDX-License-Identifier: MIT
// Clean-up of a segment's placeholder markup: placeholders that stand before the first or after
// the last text run are dropped unless they enclose only part of the text, white space at the
// two ends of the text goes, and the text runs are escaped afresh.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "text/wide_string.h"

// Kind and form bits of a MarkupItem.
inline constexpr uint32_t kMarkupText = 0x00000020;         // a text run
inline constexpr uint32_t kMarkupPlaceholder = 0x00800000;  // a numbered placeholder
inline constexpr uint32_t kMarkupLetterB = 0x00000400;      // letter tag "b" or "B"
inline constexpr uint32_t kMarkupLetterI = 0x00001000;      // letter tag "i" or "I"
inline constexpr uint32_t kMarkupLetterU = 0x00004000;      // letter tag "u" or "U"
inline constexpr uint32_t kMarkupClosing = 0x80000000;      // the markup begins with "</"
inline constexpr uint32_t kMarkupStandalone = 0x40000000;   // ends with "/>", not closing

// A placeholder as the scanner wrote it into its markup: where it begins, its number and its
// kind and form bits (kMarkupPlaceholder with kMarkupClosing, kMarkupStandalone or neither).
struct MarkupPlaceholder {
  size_t begin;
  int number;
  uint32_t flags;
};

struct MarkupItem {
  uint32_t flags = 0;
  int number = 0;   // the placeholder number; 0 for text runs and letter tags
  WideString text;  // text run: unescaped; placeholder: its markup as found, such as "<12>"
};

enum class EscapeDirection { kEscape, kUnescape };

// escape: "&" "<" ">" (and U+00A0 when nbsp is on) become entities, U+2028 becomes U+000A;
// unescape: the reverse for "&lt;" "&gt;" ("&nbsp;") "&amp;", and U+000A becomes U+2028.
WideString EscapeText(std::u16string_view text, EscapeDirection direction, bool nbsp);
// The same, appended to out.
void AppendEscapedText(std::u16string& out, std::u16string_view text, EscapeDirection direction,
                       bool nbsp);

// Appends the items of the markup to the list; returns the number of placeholders found.
int TokenizeMarkup(std::u16string_view markup, std::vector<MarkupItem>& items);

// The clean-up with working lists of its own, kept from call to call: one per converter, so that
// several converters can run at once.
class MarkupCleanup {
 public:
  MarkupCleanup();
  ~MarkupCleanup();
  MarkupCleanup(const MarkupCleanup&) = delete;
  MarkupCleanup& operator=(const MarkupCleanup&) = delete;

  WideString CleanUp(std::u16string_view markup);
  // The same for markup whose placeholders are all listed, in order, and which holds no other
  // "<" (so it need not be read again to find them). A very long list becomes the clean-up's
  // own working list (the list is left empty, its memory given back after the clean-up).
  WideString CleanUp(std::u16string_view markup, std::vector<MarkupPlaceholder>& placeholders) {
    return CleanUpListed(markup, placeholders, nullptr);
  }
  // The same written over the markup's own text, which becomes the result without a copy (for a
  // long segment, whose markup and content need not both be held); markup is left unspecified.
  WideString CleanUpOver(std::u16string& markup, std::vector<MarkupPlaceholder>& placeholders);

 private:
  struct Buffers;
  WideString CleanUpListed(std::u16string_view markup, std::vector<MarkupPlaceholder>& placeholders,
                           std::u16string* owner);
  WideString CleanUpItems(std::u16string_view markup, size_t firstText, size_t lastText,
                          std::u16string* owner);
  std::unique_ptr<Buffers> m_buffers;
};

// The same with working lists for this call only.
WideString CleanUpMarkup(std::u16string_view markup);
