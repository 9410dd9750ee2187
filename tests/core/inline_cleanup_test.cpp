// SPDX-License-Identifier: MIT
// Clean-up of the placeholder markup: edge placeholders, white space, escaping of text runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inline/markup_cleanup.h"
#include "inline/segment_scanner.h"

namespace {

struct CleanUpCase {
  const char* name;
  const char16_t* markup;
  const char16_t* result;
};

void PrintTo(const CleanUpCase& c, std::ostream* os) {
  *os << c.name;
}

class CleanUp : public ::testing::TestWithParam<CleanUpCase> {};

TEST_P(CleanUp, GivesTheExpectedMarkup) {
  EXPECT_EQ(CleanUpMarkup(GetParam().markup), WideString(GetParam().result));
}

INSTANTIATE_TEST_SUITE_P(
    Markup, CleanUp,
    ::testing::Values(
        CleanUpCase{"pairAroundAllText", u"<1>Hello</1>", u"Hello"},
        CleanUpCase{"closingAfterTheLastTextKeepsItsPartner", u"Hello <1>world</1>",
                    u"Hello <1>world</1>"},
        CleanUpCase{"pairAtTheStart", u"<1>Hello</1> world", u"<1>Hello</1> world"},
        CleanUpCase{"standaloneAtTheEdges", u"<1/>Hello<2/>", u"Hello"},
        CleanUpCase{"standaloneInside", u"x<2/>y", u"x<2/>y"},
        CleanUpCase{"blanksAtTheEnds", u" Hello ", u"Hello"},
        CleanUpCase{"noBreakSpaceAtTheEnd", u"a&nbsp;", u"a"},
        CleanUpCase{"noBreakSpaceAtTheStart", u"&nbsp;a", u"a"},
        CleanUpCase{"tabsAtTheEnds", u"\ta b\t", u"a b"}, CleanUpCase{"noText", u"<1></1>", u""},
        CleanUpCase{"emptyMarkup", u"", u""},
        CleanUpCase{"openingAfterTheLastTextStaysInTheList", u"text<1></1>", u"text</1>"},
        CleanUpCase{"knownEntityUnchanged", u"salt &amp; pepper", u"salt &amp; pepper"},
        CleanUpCase{"otherEntityLosesItsAmpersand", u"a &quot; b", u"a &amp;quot; b"},
        CleanUpCase{"zeroIsNoPlaceholder", u"a<0>b", u"a&lt;0&gt;b"},
        CleanUpCase{"nameIsNoPlaceholder", u"a<x>b", u"a&lt;x&gt;b"},
        CleanUpCase{"twoRunsKeepInnerBlanks", u" a <1/> b ", u"a <1/> b"},
        CleanUpCase{"lessThanWithoutGreaterThan", u"a < b", u"a &lt; b"},
        CleanUpCase{"laterLessThanInsideACandidate", u"a<b<1>c</1>d", u"a&lt;b<1>c</1>d"},
        CleanUpCase{"numbersReadLikeWtoi", u"a< 2>b</2>c<+3/>d", u"a< 2>b</2>c<+3/>d"},
        CleanUpCase{"lineSeparatorBecomesLineFeed",
                    u"a\u2028"
                    u"b\nc",
                    u"a\nb\nc"},
        CleanUpCase{"closingBeforeTheFirstTextIsNotWritten", u"</1>a<1>b", u"a<1>b"},
        CleanUpCase{"letterTagsPair", u"<b>Hello</b> world", u"<b>Hello</b> world"},
        // Text runs count as partners of letter tags (both have number 0): the closing letter
        // tag after the last text finds one and stays.
        CleanUpCase{"letterTagAroundAllText", u"<i>Hello</i>", u"Hello</i>"},
        CleanUpCase{"nestedPairsAroundAllText", u"<1><2>a</2></1>", u"a"},
        CleanUpCase{"pairAroundTheStartOnly", u"<1><2>a</2> b</1>", u"<2>a</2> b"},
        CleanUpCase{"unpairedOpeningBeforeText", u"<1>a b", u"a b"},
        CleanUpCase{"unpairedClosingAfterText", u"a b</1>", u"a b"}));

TEST(CleanUp, OverlongCandidateIsText) {
  std::u16string markup = u"a<";
  markup.append(300, u'7');
  markup.append(u">b");
  std::u16string expected = u"a&lt;";
  expected.append(300, u'7');
  expected.append(u"&gt;b");
  EXPECT_EQ(CleanUpMarkup(markup), WideString(expected));
}

TEST(CleanUp, ManyPlaceholdersKeepTheirOrder) {
  std::u16string markup;
  for (int i = 1; i <= 2000; ++i) {
    const std::u16string n = WideString(std::to_string(i)).str();
    markup += u"<" + n + u">w</" + n + u"> ";
  }
  // Every pair encloses part of the text; only the last blank goes.
  EXPECT_EQ(CleanUpMarkup(markup), WideString(markup.substr(0, markup.size() - 1)));
}

TEST(TokenizeMarkup, SplitsRunsAndPlaceholders) {
  std::vector<MarkupItem> items;
  EXPECT_EQ(TokenizeMarkup(u"x &amp;<1>y</1><2/><B>", items), 4);
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[0].flags, kMarkupText);
  EXPECT_EQ(items[0].text, u"x &");  // text runs are held unescaped
  EXPECT_EQ(items[1].flags, kMarkupPlaceholder);
  EXPECT_EQ(items[1].number, 1);
  EXPECT_EQ(items[1].text, u"<1>");
  EXPECT_EQ(items[2].text, u"y");
  EXPECT_EQ(items[3].flags, kMarkupPlaceholder | kMarkupClosing);
  EXPECT_EQ(items[4].flags, kMarkupPlaceholder | kMarkupStandalone);
  EXPECT_EQ(items[4].number, 2);
  EXPECT_EQ(items[5].flags, kMarkupLetterB);
  EXPECT_EQ(items[5].number, 0);
}

TEST(TokenizeMarkup, AppendsToTheList) {
  std::vector<MarkupItem> items(1);
  EXPECT_EQ(TokenizeMarkup(u"<i/>", items), 1);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].flags, kMarkupLetterI | kMarkupStandalone);
}

struct CleanupEscapeCase {
  const char* name;
  EscapeDirection direction;
  bool nbsp;
  const char16_t* in;
  const char16_t* out;
};

void PrintTo(const CleanupEscapeCase& c, std::ostream* os) {
  *os << c.name;
}

class EscapeTexts : public ::testing::TestWithParam<CleanupEscapeCase> {};

TEST_P(EscapeTexts, Convert) {
  EXPECT_EQ(EscapeText(GetParam().in, GetParam().direction, GetParam().nbsp),
            WideString(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Directions, EscapeTexts,
    ::testing::Values(CleanupEscapeCase{"escape", EscapeDirection::kEscape, true,
                                        u"a<b>&c\u00A0d\u2028", u"a&lt;b&gt;&amp;c&nbsp;d\n"},
                      CleanupEscapeCase{"escapeWithoutNbsp", EscapeDirection::kEscape, false,
                                        u"\u00A0&", u"\u00A0&amp;"},
                      CleanupEscapeCase{"unescape", EscapeDirection::kUnescape, true,
                                        u"&lt;&gt;&nbsp;&amp;\n", u"<>\u00A0&\u2028"},
                      CleanupEscapeCase{"unescapeOneLevelOnly", EscapeDirection::kUnescape, true,
                                        u"&amp;lt;", u"&lt;"},
                      CleanupEscapeCase{"unescapeKeepsOtherEntities", EscapeDirection::kUnescape,
                                        true, u"&quot;&NBSP;&", u"&quot;&NBSP;&"},
                      CleanupEscapeCase{"unescapeWithoutNbsp", EscapeDirection::kUnescape, false,
                                        u"&nbsp;", u"&nbsp;"}));

}  // namespace

// The scanner's typed list: the clean-up of the list gives what reading the markup it stands for
// gives, and a "<" copied with an entity of a tag group is noticed.
TEST(MarkupCleanup, ScannerListGivesWhatReadingGives) {
  const struct {
    const char* segment;
    bool strayLess;
  } cases[] = {
      {" a {\\b b} c\\~ ", false},
      {"{\\b x}{\\i y}{\\v h} z {\\cs8 n}", false},
      {"{\\cs6 <b>}a &amp; b{\\cs6 </b>} {\\cs6 <:hs>}", false},
      {"x {\\field{\\*\\fldinst HYPERLINK}{\\fldrslt link}} {\\field{\\*\\fldinst PAGE}} y", false},
      {"{\\b  }t{\\i \\tab }", false},
      {"x\\~y {\\field{\\*\\fldinst HYPERLINK}{\\fldrslt li\\~nk}} z", false},
      {"a{\\cs6 &x<7;}b</3>c", true},
      {"a{\\cs6 &x<b>;}b", true},
      // Entities of tag groups: known ones become their characters, others stay as written
      // (one with ">" too), and text that looks like an entity is text.
      {"a{\\cs6 &lt;&gt;&amp;&nbsp;&quot;&x>y;<:gt><:lt><:hs>}b &lt; {\\b c}", false},
      {"\\u8232?x\\line y{\\cs6 &a\nb;}{\\b z}", false},
      // Runs that the entities make longer, and white space at the ends.
      {"{\\b x}\\~\\~\\~\\~ y{\\i z}", false},
      {"{\\b {\\i  }}\\~a\\~{\\b b}\\~", false},
      {"  {\\v h}{\\b }\\~x{\\b y}\\~", false},
  };
  for (const auto& c : cases) {
    InlineState state;
    InlineList& list = ScanSegmentList(state, u"\\cs6", u"\\cs8", c.segment, 1252, true);
    EXPECT_EQ(list.strayLess, c.strayLess) << c.segment;
    if (list.strayLess) continue;
    const std::u16string markup = MarkupOf(list);
    MarkupCleanup cleanup;
    EXPECT_FALSE(list.placeholders.empty()) << c.segment;
    EXPECT_EQ(cleanup.CleanUp(list), CleanUpMarkup(markup)) << c.segment;
  }
}

// A very long list gives what reading its markup gives.
TEST(MarkupCleanup, VeryLongListGivesWhatReadingGives) {
  std::string groups;
  for (int i = 0; i < (1 << 19); ++i) groups += "{\\b x}";
  for (const std::string& segment :
       {"\\~ " + groups + " \\~{\\i y}", groups + "\\~\\~ &", "{\\b  }" + groups + "{\\b\\~}"}) {
    InlineState state;
    InlineList& list = ScanSegmentList(state, u"\\cs6", u"\\cs8", segment, 1252, true);
    ASSERT_FALSE(list.strayLess);
    const WideString expected = CleanUpMarkup(MarkupOf(list));
    MarkupCleanup cleanup;
    EXPECT_EQ(cleanup.CleanUp(list), expected);
  }
}
