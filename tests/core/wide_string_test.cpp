// SPDX-License-Identifier: MIT
#include "text/wide_string.h"

#include <gtest/gtest.h>

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
                                                 {char16_t{0xD800}, char16_t{0xD800}},
                                                 {u'\u4E2D', u'\u4E2D'}};
  for (const auto& [upper, lower] : cases) EXPECT_EQ(LowerChar(upper), lower) << int(upper);
}

TEST(WideString, ConstructionForms) {
  // 8-bit text is read in the ANSI code page (Windows-1252): 0x80 is the euro sign.
  EXPECT_EQ(WideString(std::string_view("\x80 \xE9")), u"\u20AC \u00E9");
}
