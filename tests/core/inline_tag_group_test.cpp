// SPDX-License-Identifier: MIT
// Tag groups (Vovuzaduz tags in the internal style) and fields: markup before clean-up and the
// records they make.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/inline_test_support.h"

namespace {

using inlinetest::Record;
using inlinetest::Records;
using inlinetest::Scan;

struct GroupCase {
  const char* name;
  std::string segment;
  std::string markup;           // UTF-8, before clean-up
  std::vector<Record> records;  // source records
};

void PrintTo(const GroupCase& c, std::ostream* os) {
  *os << c.name;
}

class SubScanners : public ::testing::TestWithParam<GroupCase> {};

TEST_P(SubScanners, GiveMarkupAndRecords) {
  InlineState state;
  EXPECT_EQ(Scan(state, GetParam().segment), GetParam().markup);
  EXPECT_EQ(Records(state.sourceTags), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    TagGroups, SubScanners,
    ::testing::Values(
        GroupCase{"pairOfTags",
                  "a {\\cs6 <b>}bold{\\cs6 </b>} c",
                  "a <1>bold</1> c",
                  {{1, true, "{\\cs6 <b>}", 1, false}, {1, false, "{\\cs6 </b>}", 0, false}}},
        GroupCase{"symbolNoBreakSpace", "{\\cs6 <:hs>}", "\xC2\xA0", {}},
        GroupCase{"symbolTab", "{\\cs6 <t>}", "\t", {}},
        GroupCase{"symbolsLessAndGreater", "{\\cs6 <:lt><:gt>}", "&lt;&gt;", {}},
        GroupCase{
            "everyOtherSymbol",
            "{\\cs6 <:ems><:ens><:flq><:frq><:glq><:grq><:hh><:lq><:ldq><:r1><:rq><:rdq><:sh>}",
            "  \u00AB\u00BB\u201E\u201C-\u2018\u201C\x7F\u2019\u201D-",
            {}},
        // Entities stand in the markup as written, known or not, and a no-break space of the
        // text as an entity beside one of "<:hs>" as the character.
        GroupCase{"entitiesAsWritten",
                  "\\u160?{\\cs6 &lt;&nbsp;&quot;&am&amp;;&x<1>;<:hs>}",
                  "&nbsp;&lt;&nbsp;&quot;&am&amp;&x<1>;\xC2\xA0",
                  {}},
        GroupCase{"quotedAttributeWritesNothing",
                  "{\\cs6 <x title=\"a>b c\">}",
                  "<1>",
                  {{1, true, "{\\cs6 <x title=\"a>b c\">}", 1, false}}},
        GroupCase{"closingWithNothingOpen",
                  "{\\cs6 </x>}",
                  "</1>",
                  {{1, false, "{\\cs6 </x>}", 0, false}}},
        GroupCase{"closingTakesTheNewestOpen",
                  "{\\cs6 <a>}x{\\cs6 <a>}y{\\cs6 </a>}",
                  "<1>x<2>y</2>",
                  {{1, true, "{\\cs6 <a>}", 1, false},
                   {2, true, "{\\cs6 <a>}", 2, false},
                   {2, false, "{\\cs6 </a>}", 0, false}}},
        GroupCase{"entityPassesUnchanged", "{\\cs6 &lt;}", "&lt;", {}},
        GroupCase{"ampersandWithoutSemicolon",
                  "{\\cs6 &amp <b>}",
                  "<1>",
                  {{1, true, "{\\cs6 &amp <b>}", 1, false}}},
        GroupCase{"tableWordInTagGroup",
                  "{\\cs6 \\tab <b>}",
                  "\t<1>",
                  {{1, true, "{\\cs6 \\tab <b>}", 1, false}}},
        GroupCase{"unicodeEscapeIsNotReadInTagGroups",
                  "{\\cs6 <b>\\u233?}",
                  "<1>",
                  {{1, true, "{\\cs6 <b>\\u233?}", 1, false}}},
        // The second tag's native text starts at its own "<".
        GroupCase{"twoTagsInOneGroup",
                  "{\\cs6 <b><i>}",
                  "<1><2>",
                  {{1, true, "{\\cs6 <b>", 1, false}, {2, true, "<i>}", 2, false}}},
        GroupCase{"symbolAfterTag",
                  "{\\cs6 <b><:hs>}",
                  "<1>\xC2\xA0",
                  {{1, true, "{\\cs6 <b>", 1, false}}},
        GroupCase{"openAndCloseInOneGroup",
                  "{\\cs6 <b></b>}",
                  "<1></1>",
                  {{1, true, "{\\cs6 <b>", 1, false}, {1, false, "</b>}", 0, false}}},
        // ALT=" closes the group; the attribute value that follows is ordinary text.
        GroupCase{"altAttribute",
                  "{\\cs6 <img ALT=\"}caption{\\cs6 \">}",
                  "<1>caption",
                  {{1, true, "{\\cs6 <img ALT=\"}", 1, false}}},
        // The hidden flag of the head outlives the group until the main loop's next brace.
        GroupCase{"hiddenTagGroupHidesWhatFollows",
                  "{\\b {\\cs6\\v <x>}gone} shown",
                  "<1><2> shown",
                  {{1, true, "{\\b ", 1, false},
                   {2, true, "{\\cs6\\v <x>}", 2, false},
                   {2, true, "{\\cs6\\v <x>}", 2, false}}},
        // The hidden group's closing brace makes its record from the native text the tag group
        // left behind, under the tag's number.
        GroupCase{"tagGroupsAreWrittenInsideHiddenText",
                  "{\\v a{\\cs6 <b>}}",
                  "<1/><2>",
                  {{2, true, "{\\cs6 <b>}", 2, false}, {2, true, "{\\cs6 <b>}", 2, false}}}));

INSTANTIATE_TEST_SUITE_P(
    Fields, SubScanners,
    ::testing::Values(
        GroupCase{"withoutResult",
                  "{\\field{\\*\\fldinst PAGE}}",
                  "<1/>",
                  {{1, true, "{\\field{\\*\\fldinst PAGE}}", 1, false}}},
        GroupCase{"hyperlink",
                  "{\\field{\\*\\fldinst HYPERLINK page.htm}{\\fldrslt here}}",
                  "<1>here</1>",
                  {{1, true, "{\\field{\\*\\fldinst HYPERLINK page.htm}{\\fldrslt ", 1, false},
                   {1, false, "}}", 0, false}}},
        // The field's final brace does not close the formatting group around it.
        GroupCase{"insideAFormattingGroup",
                  "{\\b {\\field{\\*\\fldinst X}{\\fldrslt y}} z}",
                  "<1><2>y</2> z</1>",
                  {{1, true, "{\\b ", 1, false},
                   {2, true, "{\\field{\\*\\fldinst X}{\\fldrslt ", 2, false},
                   {2, false, "}}", 0, false},
                   {1, false, "}", 0, false}}},
        // Control words in the result are formatting: they stay in the native code before the
        // result's first character and are left out of the result text.
        GroupCase{
            "formattedHyperlinkResult",
            "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt {\\cs15\\ul\\cf2 click here}}}",
            "<1>click here</1>",
            {{1, true, "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt {\\cs15\\ul\\cf2 ", 1, false},
             {1, false, "}}}", 0, false}}},
        GroupCase{"unicodeEscapesStartTheResult",
                  "{\\field{\\*\\fldinst X}{\\fldrslt {\\b \\u1057?\\u1080?}}}",
                  "<1>\xD0\xA1\xD0\xB8</1>",
                  {{1, true, "{\\field{\\*\\fldinst X}{\\fldrslt {\\b ", 1, false},
                   {1, false, "}}}", 0, false}}},
        GroupCase{"wordsInsideTheResult",
                  "{\\field{\\*\\fldinst X}{\\fldrslt a\\tab b\\b c\\nobreak d\\uc0\\u233 e}}",
                  "<1>a\tbcd\xC3\xA9"
                  "e</1>",
                  {{1, true, "{\\field{\\*\\fldinst X}{\\fldrslt ", 1, false},
                   {1, false, "}}", 0, false}}},
        GroupCase{"resultTextIsEscaped",
                  "{\\field{\\*\\fldinst X}{\\fldrslt <b> & \\u60?}}",
                  "<1>&lt;b&gt; &amp; &lt;</1>",
                  {{1, true, "{\\field{\\*\\fldinst X}{\\fldrslt ", 1, false},
                   {1, false, "}}", 0, false}}},
        GroupCase{"textAfterTheResultIsNativeCode",
                  "{\\field{\\*\\fldinst X}{\\fldrslt {\\b bold} rest}}",
                  "<1>bold</1>",
                  {{1, true, "{\\field{\\*\\fldinst X}{\\fldrslt {\\b ", 1, false},
                   {1, false, "} rest}}", 0, false}}},
        // A second result runs on from where the first began.
        GroupCase{"twoResults",
                  "{\\field{\\*\\fldinst X}{\\fldrslt a}{\\fldrslt b}}",
                  "<1>a</1><2>a}{\\fldrslt b</2>",
                  {{1, true, "{\\field{\\*\\fldinst X}{\\fldrslt ", 1, false},
                   {2, true, "}", 2, false},
                   {2, false, "}}", 0, false}}},
        GroupCase{"fieldInsideHiddenText",
                  "{\\v {\\field{\\*\\fldinst X}}}x",
                  "<1/><2/>x",
                  {{2, true, "{\\field{\\*\\fldinst X}}", 2, false},
                   {2, true, "{\\field{\\*\\fldinst X}}", 2, false}}}));

TEST(Fields, ResultsOfAnyLengthAreKept) {
  InlineState state;
  const std::string result(300, 'r');
  EXPECT_EQ(Scan(state, "a {\\field{\\*\\fldinst X}{\\fldrslt " + result + "}} b"),
            "a <1>" + result + "</1> b");
  ASSERT_EQ(state.sourceTags.size(), 2u);
}

TEST(TagGroups, TargetTagsPairWithSourceTags) {
  InlineState state;
  Scan(state, "{\\cs6 <b>}x{\\cs6 </b>} {\\cs6 <i>}y{\\cs6 </i>}", 1252, true);
  EXPECT_EQ(Scan(state, "{\\cs6 <i>}Y{\\cs6 </i>} {\\cs6 <b>}X{\\cs6 </b>}", 1252, false),
            "<1>Y</1> <2>X</2>");
  EXPECT_EQ(Records(state.targetTags), (std::vector<Record>{{1, true, "{\\cs6 <i>}", 2, true},
                                                            {1, false, "{\\cs6 </i>}", 0, false},
                                                            {2, true, "{\\cs6 <b>}", 1, true},
                                                            {2, false, "{\\cs6 </b>}", 0, false}}));
}

TEST(TagGroups, FieldsPairWithSourceFields) {
  InlineState state;
  const std::string field = "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt ";
  Scan(state, "See " + field + "this}}.", 1252, true);
  Scan(state, "Siehe " + field + "dies}}.", 1252, false);
  ASSERT_EQ(state.targetTags.size(), 2u);
  EXPECT_EQ(state.targetTags.PairedNumber(state.targetTags[0]), 1);
  EXPECT_EQ(state.targetTags[0].paired, 1);
  EXPECT_EQ(state.targetTags[1].paired, 0);  // closing records are never paired
}

}  // namespace
