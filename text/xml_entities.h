// SPDX-License-Identifier: MIT
// The entity references the program writes and reads: XML's five predefined ones, and "&nbsp;",
// which stands for U+00A0 in the segment markup before the clean-up (a TMX file declares no
// such entity, so it never reaches the document).
#pragma once

#include <string_view>

namespace xml_entity {

inline constexpr std::u16string_view kLt = u"&lt;";
inline constexpr std::u16string_view kGt = u"&gt;";
inline constexpr std::u16string_view kAmp = u"&amp;";
inline constexpr std::u16string_view kApos = u"&apos;";
inline constexpr std::u16string_view kQuot = u"&quot;";
inline constexpr std::u16string_view kNbsp = u"&nbsp;";

// The predefined entity that stands for c ("<" ">" "&" "'" '"'), or an empty view.
constexpr std::u16string_view Predefined(char16_t c) {
  switch (c) {
    case u'<':
      return kLt;
    case u'>':
      return kGt;
    case u'&':
      return kAmp;
    case u'\'':
      return kApos;
    case u'"':
      return kQuot;
    default:
      return {};
  }
}

}  // namespace xml_entity
