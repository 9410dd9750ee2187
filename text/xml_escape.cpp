// SPDX-License-Identifier: MIT
#include "text/xml_escape.h"

namespace {

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

void EscapeQuotes(WideString& markup) {
  if (markup.IsEmpty()) return;
  const std::u16string_view text = markup;
  std::u16string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    switch (c) {
      case u'\'':
        out.append(u"&apos;");
        break;
      case u'"':
        out.append(u"&quot;");
        break;
      case u'&':
        // The quote entities never form "&nbsp;", so the two rewritings can share one walk.
        if (StartsWithNbsp(text.substr(i))) {
          out.push_back(u'\u00A0');
          i += kNbsp.size() - 1;
        } else {
          out.push_back(c);
        }
        break;
      default:
        out.push_back(c);
    }
  }
  markup = WideString(std::move(out));
}

std::u16string EscapeNativeCode(std::u16string_view native) {
  std::u16string out;
  out.reserve(native.size() + 8);
  for (size_t i = 0; i < native.size(); ++i) {
    const char16_t c = native[i];
    switch (c) {
      case u'<':
        out.append(u"&lt;");
        break;
      case u'>':
        out.append(u"&gt;");
        break;
      case u'&':
        out.append(u"&amp;");
        break;
      case u'\\':
        if (i + 1 < native.size() && (native[i + 1] == u'{' || native[i + 1] == u'}')) break;
        out.push_back(c);
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}
