// SPDX-License-Identifier: MIT
// Clean-up of a segment's placeholder markup: placeholders that stand before the first or after
// the last text run are dropped unless they enclose only part of the text, white space at the
// two ends of the text goes, and the text runs are escaped afresh.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "inline/inline_list.h"
#include "text/wide_string.h"

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
  // The same for the scanner's typed list (which holds no "<" copied with an entity): what
  // CleanUp(MarkupOf(list)) gives (the list within CleanedContent's limits). The list's
  // placeholders are marked as the clean-up goes, and its text is used up.
  WideString CleanUp(InlineList& list);
  // The same content as a list of its own in out (CleanedMarkupOf(out) is what CleanUp gives): the
  // text runs trimmed, the placeholders kept. The list's text moves into out: the list holds
  // other text afterwards.
  // The list must fit the compact form (its numbers and text within CleanedContent's limits).
  void CleanUp(InlineList& list, CleanedContent& out);

 private:
  struct Buffers;
  WideString CleanUpItems(std::u16string_view markup, size_t firstText, size_t lastText);
  std::unique_ptr<Buffers> m_buffers;
};

// The same with working lists for this call only.
WideString CleanUpMarkup(std::u16string_view markup);
