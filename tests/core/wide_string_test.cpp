// SPDX-License-Identifier: MIT
#include "text/wide_string.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <utility>

TEST(WideString, CopiesAreIndependent) {
  WideString a(u"abc");
  WideString b = a;
  b += u'd';
  EXPECT_EQ(a, u"abc");
  EXPECT_EQ(b, u"abcd");
}

TEST(WideString, LowerCharFollowsTheLatinGreekAndCyrillicLetters) {
  const std::pair<char16_t, char16_t> cases[] = {{u'A', u'a'},
                                                 {u'z', u'z'},
                                                 {u'@', u'@'},
                                                 {u'\u00C9', u'\u00E9'},
                                                 {u'\u0391', u'\u03B1'},
                                                 {u'\u0416', u'\u0436'},
                                                 {u'\u0130', u'i'},
                                                 {u'\u212A', u'k'},
                                                 {u'\u0178', u'\u00FF'},
                                                 {u'\u0100', u'\u0101'},
                                                 {u'\u0101', u'\u0101'},
                                                 {u'\uFF21', u'\uFF41'},
                                                 {char16_t{0xD800}, char16_t{0xD800}},
                                                 {u'\u4E2D', u'\u4E2D'}};
  for (const auto& [upper, lower] : cases) EXPECT_EQ(LowerChar(upper), lower) << int(upper);
}

// The compiled-in mapping is ICU's simple lower-case mapping, unit by unit.
TEST(WideString, LowerCharAsIcuLowersEveryUnit) {
  int differences = 0;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    const auto unit = static_cast<char16_t>(c);
    const UChar32 icu = u_tolower(static_cast<UChar32>(c));
    const bool kept = (c >= 0xD800 && c <= 0xDFFF) || icu > 0xFFFF;
    const char16_t expected = kept ? unit : static_cast<char16_t>(icu);
    if (LowerChar(unit) != expected && ++differences <= 8)
      ADD_FAILURE() << "U+" << std::hex << unsigned(c);
  }
  EXPECT_EQ(differences, 0);
}

TEST(WideString, ConstructionForms) {
  // 8-bit text is read in the ANSI code page (Windows-1252): 0x80 is the euro sign.
  EXPECT_EQ(WideString(std::string_view("\x80 \xE9")), u"\u20AC \u00E9");
}
