// SPDX-License-Identifier: MIT
// Segment content without inline formatting: the text decoded and escaped for XML.
#include "engine/tmx_exporter.h"
#include "text/code_page.h"

WideString CTmxExporter::ConvertSegment(std::string_view segment, int codePage, bool source) {
  (void)source;
  std::u16string text = Decode(static_cast<unsigned>(codePage), segment);
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      default: out.push_back(c);
    }
  }
  return WideString(std::move(out));
}

WideString CTmxExporter::PairInlineTags(const WideString& markup, bool source) {
  (void)source;
  std::u16string out;
  out.reserve(static_cast<size_t>(markup.GetLength()));
  for (char16_t c : markup.str()) {
    if (c == u'"') out += u"&quot;";
    else if (c == u'\'') out += u"&apos;";
    else out.push_back(c);
  }
  return WideString(std::move(out));
}
