// SPDX-License-Identifier: MIT
// How characters reach a TMX segment: the quotes of the segment markup and the native code
// written inside the inline elements.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/wide_string.h"

// Where an escaped text stands in the document.
enum class XmlContext {
  kText,       // element content: & < > become references
  kAttribute,  // an attribute value in quotation marks: " as well
};
// Appends text with the characters that its context reserves as references.
void AppendXmlEscaped(std::u16string& out, std::u16string_view text, XmlContext context);

// Rewrites the segment markup in place: apostrophes and quotation marks become "&apos;" and
// "&quot;", and every "&nbsp;" (in any letter case) becomes the character U+00A0. Ampersands
// and angle brackets are left alone, so the placeholders stay intact.
void EscapeQuotes(WideString& markup);

// A character of a text run in the intermediate markup: "<", ">", "&" and U+00A0 as the
// references "&lt;", "&gt;", "&amp;" and "&nbsp;", every other character as itself.
inline void AppendTextEntity(std::u16string& out, char16_t c) {
  using namespace std::string_view_literals;
  switch (c) {
    case u'<':
      out.append(u"&lt;"sv);
      break;
    case u'>':
      out.append(u"&gt;"sv);
      break;
    case u'&':
      out.append(u"&amp;"sv);
      break;
    case u'\u00A0':
      out.append(u"&nbsp;"sv);
      break;
    default:
      out.push_back(c);
  }
}
// The same rewriting of text, appended to out.
void AppendQuotesEscaped(std::u16string& out, std::u16string_view text);
// The first position of text that this rewriting may change (a quote or an ampersand), or the
// size of text.
size_t FindQuoteOrAmpersand(std::u16string_view text);

// The native code of an inline element, escaped: "<" ">" "&" become entities, a backslash that
// escapes a brace is dropped, and everything else (U+00A0 included: TMX declares no "&nbsp;"
// entity) is copied unchanged.
std::u16string EscapeNativeCode(std::u16string_view native);
// The same, appended to out.
void AppendEscapedNativeCode(std::u16string& out, std::u16string_view native);
