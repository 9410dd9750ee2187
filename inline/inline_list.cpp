// SPDX-License-Identifier: MIT
#include "inline/inline_list.h"

#include <algorithm>
#include <string_view>

#include "inline/markup_cleanup.h"
#include "text/wide_to_int.h"
#include "text/xml_escape.h"

void AppendPlaceholderMarkup(std::u16string& out, int number, uint32_t flags) {
  // Built backwards from its ">" in a buffer with room for "</", 11 digits and "/>".
  char16_t buffer[16];
  char16_t* const end = buffer + sizeof(buffer) / sizeof(buffer[0]);
  char16_t* first = end;
  *--first = u'>';
  if (flags & kMarkupStandalone) *--first = u'/';
  first = WriteDecimalBefore(first, number);
  if (flags & kMarkupClosing) *--first = u'/';
  *--first = u'<';
  out.append(first, static_cast<size_t>(end - first));
}

namespace {

// Appends text[from, to) as the scanner's markup held it (next: the first entity and the first
// no-break space of the list's notes not yet passed).
class ScannerText {
 public:
  explicit ScannerText(const InlineList& list) : m_list(list) {}
  void Append(std::u16string& out, size_t from, size_t to) {
    const std::u16string_view text = m_list.text;
    for (size_t i = from; i < to;) {
      if (m_entity < m_list.entities.size() && m_list.entities[m_entity].begin == i) {
        const InlineList::Entity& e = m_list.entities[m_entity++];
        out.append(std::u16string_view(m_list.written).substr(e.writtenBegin, e.writtenLength));
        i += e.length;
        continue;
      }
      if (m_space < m_list.noBreakSpaces.size() && m_list.noBreakSpaces[m_space] == i) {
        ++m_space;
        out.push_back(text[i]);
      } else {
        AppendTextEntity(out, text[i]);
      }
      ++i;
    }
  }

 private:
  const InlineList& m_list;
  size_t m_entity = 0, m_space = 0;
};

}  // namespace

std::u16string MarkupOf(const InlineList& list) {
  std::u16string out;
  ScannerText text(list);
  size_t from = 0;
  for (const MarkupPlaceholder& p : list.placeholders) {
    text.Append(out, from, p.begin);
    AppendPlaceholderMarkup(out, p.number, p.flags);
    from = p.begin;
  }
  text.Append(out, from, list.text.size());
  return out;
}

std::u16string CleanedMarkupOf(const CleanedContent& content) {
  std::u16string out;
  const std::u16string_view text = content.text;
  size_t from = 0;
  content.ForEachPlaceholder([&](size_t at, int number, uint32_t flags) {
    AppendEscapedText(out, text.substr(from, at - from), EscapeDirection::kEscape, true);
    AppendPlaceholderMarkup(out, number, flags);
    from = at;
  });
  AppendEscapedText(out, text.substr(from), EscapeDirection::kEscape, true);
  return out;
}
