// SPDX-License-Identifier: MIT
#include "text/wide_string.h"

#include <gtest/gtest.h>

TEST(WideString, CopiesAreIndependent) {
  WideString a(u"abc");
  WideString b = a;
  b += u'd';
  EXPECT_EQ(a, u"abc");
  EXPECT_EQ(b, u"abcd");
}

TEST(WideString, PositionsAreClamped) {
  const WideString s(u"abcdef");
  EXPECT_EQ(s.Mid(-3, 2), u"ab");
  EXPECT_EQ(s.Mid(4, 10), u"ef");
  EXPECT_EQ(s.Mid(7), u"");
  EXPECT_EQ(s.Mid(2, -1), u"");
  EXPECT_EQ(s.Left(-1), u"");
  EXPECT_EQ(s.Left(3), u"abc");
  EXPECT_EQ(s.Right(10), u"abcdef");
  EXPECT_EQ(s.Right(2), u"ef");
  EXPECT_EQ(s.Right(-2), u"");
}

TEST(WideString, FindWithoutStartIsCaseSensitive) {
  const WideString s(u"a &NBSP; b &nbsp;");
  EXPECT_EQ(s.Find(u"&nbsp;"), 11);
  EXPECT_EQ(WideString().Find(u"<"), -1);
  EXPECT_EQ(s.Find(u"zz"), -1);
}

TEST(WideString, FindWithStartIgnoresCase) {
  const WideString s(u"a &NBSP; b &nbsp;");
  EXPECT_EQ(s.Find(u"&nbsp;", 0), 2);
  EXPECT_EQ(s.Find(u"&nbsp;", 3), 11);
  EXPECT_EQ(WideString().Find(u"<", 0), -1);
  EXPECT_EQ(s.Find(u"a", s.GetLength()), -1);
  // Only complete occurrences count, also at the very end.
  EXPECT_EQ(WideString(u"x &nb").Find(u"&nbsp;", 0), -1);
  EXPECT_EQ(WideString(u"\u00C9t\u00E9").Find(u"\u00E9T", 0), 0);
}

TEST(WideString, ReplaceDoesNotRescanInsertedText) {
  WideString s(u"a & b & c");
  EXPECT_EQ(s.Replace(u"&", u"&amp;"), 2);
  EXPECT_EQ(s, u"a &amp; b &amp; c");
  EXPECT_EQ(s.Replace(u"", u"x"), 0);
  WideString overlap(u"aaa");
  EXPECT_EQ(overlap.Replace(u"aa", u"b"), 1);
  EXPECT_EQ(overlap, u"ba");
}

TEST(WideString, RemoveAndLower) {
  WideString s(u"A\tB\tC");
  EXPECT_EQ(s.Remove(u'\t'), 2);
  s.MakeLower();
  EXPECT_EQ(s, u"abc");
}

TEST(WideString, ConstructionForms) {
  EXPECT_EQ(WideString(u'x', 3), u"xxx");
  EXPECT_EQ(WideString(u'x', 0), u"");
  EXPECT_EQ(WideString(u'x', -2), u"");
  // 8-bit text is read in the ANSI code page (Windows-1252): 0x80 is the euro sign.
  EXPECT_EQ(WideString(std::string_view("\x80 \xE9")), u"\u20AC \u00E9");
}

TEST(WideString, FormatIntegersAndStrings) {
  WideString s;
  s.Format(u"<tu tuid=\"%ld\" srclang=\"%s\">%d%%", 12L, u"EN-US", -3);
  EXPECT_EQ(s, u"<tu tuid=\"12\" srclang=\"EN-US\">-3%");
  s.Format(u"<%i/>", 7);
  EXPECT_EQ(s, u"<7/>");
}
