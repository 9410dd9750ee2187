// SPDX-License-Identifier: MIT
// XML escaping. The family for text outside the segments (field names and values, header
// values): AppendXmlText and AppendXmlAttribute. The other functions serve the segment content
// and follow its own rules, each said beside it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/wide_string.h"
#include "text/xml_entities.h"

// Text content: "&" "<" ">" become "&amp;" "&lt;" "&gt;"; everything else is copied.
void AppendXmlText(std::u16string& out, std::u16string_view text);
// An attribute value between quotation marks: the same, and '"' becomes "&quot;".
void AppendXmlAttribute(std::u16string& out, std::u16string_view text);

// Segment markup, not plain text: only the quotes are escaped (the placeholders must stay).
// Appends the segment markup to out with apostrophes and quotation marks as "&apos;" and
// "&quot;", and every "&nbsp;" (in any letter case) as the character U+00A0. Ampersands and
// angle brackets are left alone, so the placeholders stay intact.
void AppendQuotesEscaped(std::u16string& out, std::u16string_view text);
// The first position of text that this rewriting may change (a quote or an ampersand), or the
// size of text.
size_t FindQuoteOrAmpersand(std::u16string_view text);

// Intermediate markup, not XML yet: also writes U+00A0 as "&nbsp;" for the later clean-up.
// A character of a text run in the intermediate markup: "<", ">", "&" and U+00A0 as the
// references "&lt;", "&gt;", "&amp;" and "&nbsp;", every other character as itself.
inline void AppendTextEntity(std::u16string& out, char16_t c) {
  switch (c) {
    case u'<':
      out.append(xml_entity::kLt);
      break;
    case u'>':
      out.append(xml_entity::kGt);
      break;
    case u'&':
      out.append(xml_entity::kAmp);
      break;
    case u'\u00A0':
      out.append(xml_entity::kNbsp);
      break;
    default:
      out.push_back(c);
  }
}

// RTF native code, not plain text: also drops the backslash of an escaped brace.
// Appends the native code of an inline element, escaped: "<" ">" "&" become entities, a
// backslash that escapes a brace is dropped, and everything else (U+00A0 included: TMX declares
// no "&nbsp;" entity) is copied unchanged.
void AppendEscapedNativeCode(std::u16string& out, std::u16string_view native);
// The same written as XML-safe UTF-8 into dst, which has room for kNativeBytesPerUnit bytes a
// unit ("&amp;"); returns the bytes written.
inline constexpr size_t kNativeBytesPerUnit = xml_entity::kAmp.size();
size_t EncodeEscapedNativeCodeUtf8(std::u16string_view native, char* dst);
// Whether cutting the native code before i (0 < i < size) parts neither a surrogate pair nor a
// backslash from the brace it escapes, so that its two parts escape into what the whole does.
// Where it does not, a cut one unit earlier does.
bool NativeCodeCutsBetween(std::u16string_view native, size_t i);
