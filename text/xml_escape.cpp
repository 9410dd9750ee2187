// SPDX-License-Identifier: MIT
#include "text/xml_escape.h"

#include "text/unit_set.h"

namespace {

constexpr UnitSet kQuotesAndAmpersand(u"'\"&");
constexpr UnitSet kNativeEscaped(u"<>&\\");

constexpr std::u16string_view kNbsp = u"&nbsp;";

// "&nbsp;" at the start of text, letters compared in lower case.
bool StartsWithNbsp(std::u16string_view text) {
  if (text.size() < kNbsp.size()) return false;
  for (size_t i = 0; i < kNbsp.size(); ++i) {
    if (LowerChar(text[i]) != kNbsp[i]) return false;
  }
  return true;
}

}  // namespace

void AppendQuotesEscaped(std::u16string& out, std::u16string_view text) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const size_t j = kQuotesAndAmpersand.FindFirst(text, i);
    out.append(text.data() + i, j - i);
    if (j == n) break;
    i = j + 1;
    switch (text[j]) {
      case u'\'':
        out.append(u"&apos;");
        break;
      case u'"':
        out.append(u"&quot;");
        break;
      default:
        // The quote entities never form "&nbsp;", so the two rewritings can share one walk.
        if (StartsWithNbsp(text.substr(j))) {
          out.push_back(u'\u00A0');
          i = j + kNbsp.size();
        } else {
          out.push_back(u'&');
        }
    }
  }
}

void EscapeQuotes(WideString& markup) {
  if (markup.IsEmpty()) return;
  std::u16string out;
  out.reserve(static_cast<size_t>(markup.GetLength()) + 16);
  AppendQuotesEscaped(out, markup);
  markup = WideString(std::move(out));
}

void AppendEscapedNativeCode(std::u16string& out, std::u16string_view native) {
  const size_t n = native.size();
  size_t i = 0;
  while (i < n) {
    const size_t j = kNativeEscaped.FindFirst(native, i);
    out.append(native.data() + i, j - i);
    if (j == n) break;
    i = j + 1;
    switch (native[j]) {
      case u'<':
        out.append(u"&lt;");
        break;
      case u'>':
        out.append(u"&gt;");
        break;
      case u'&':
        out.append(u"&amp;");
        break;
      default:
        // A backslash before a brace goes: the RTF escapes of the braces become plain braces.
        if (j + 1 < n && (native[j + 1] == u'{' || native[j + 1] == u'}')) break;
        out.push_back(u'\\');
    }
  }
}

std::u16string EscapeNativeCode(std::u16string_view native) {
  std::u16string out;
  out.reserve(native.size() + 8);
  AppendEscapedNativeCode(out, native);
  return out;
}
