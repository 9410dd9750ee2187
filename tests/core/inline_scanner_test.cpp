// SPDX-License-Identifier: MIT
// The RTF segment scanner: markup before clean-up, the records it makes, and target pairing.
#include <gtest/gtest.h>

#include <string>

#include "inline/byte_escapes.h"
#include "inline/inline_converter.h"
#include "tests/core/inline_test_support.h"
#include "text/code_page.h"

namespace {

using inlinetest::Record;
using inlinetest::Records;
using inlinetest::Scan;

struct MarkupCase {
  const char* name;
  std::string segment;
  std::string markup;  // UTF-8
  int codePage = 1252;
};

void PrintTo(const MarkupCase& c, std::ostream* os) {
  *os << c.name;
}

// A backslash, 260 letters and " x": too long for a control word.
std::string OverlongWord() {
  std::string word(261, 'a');
  word[0] = '\\';
  word.append(" x");
  return word;
}

class ScannerMarkup : public ::testing::TestWithParam<MarkupCase> {};

TEST_P(ScannerMarkup, GivesTheExpectedMarkup) {
  InlineState state;
  EXPECT_EQ(Scan(state, GetParam().segment, GetParam().codePage), GetParam().markup);
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, ScannerMarkup,
    ::testing::Values(MarkupCase{"plainText", "plain text", "plain text"},
                      MarkupCase{"formattingGroup", "a {\\b bold} c", "a <1>bold</1> c"},
                      MarkupCase{"tableWordEatsItsSpace", "x\\tab y", "x\ty"},
                      MarkupCase{"tableWordEndsAtBrace", "{\\b x\\tab}", "<1>x\t</1>"},
                      MarkupCase{"punctuationBelongsToTheWord", "a\\emdash, b", "ab"},
                      MarkupCase{"everyOtherTableWord",
                                 "\\lquote \\rquote \\ldblquote \\rdblquote \\bullet \\endash "
                                 "\\emdash \\line x",
                                 "\u2018\u2019\u201C\u201D\u2022\u2013\u2014\nx"},
                      MarkupCase{"wordsBeginningWithNAreText", "\\nobreak text", "\\nobreak text"},
                      MarkupCase{"byteEscapeIsTextAfterDecoding", "AT\\'26T", "AT&amp;T"},
                      MarkupCase{"byteEscapeZeroIsKept", "ab\\'00cd", std::string("ab\0cd", 5)},
                      MarkupCase{"byteEscapeWithOneHexDigit", "a\\'4gb",
                                 "a\x04"
                                 "b"},
                      MarkupCase{"byteEscapeInCodePage", "caf\\'e9", "caf\xC3\xA9"},
                      // Escapes become bytes first: lead byte and trail meet across them.
                      MarkupCase{"leadByteEscapeBeforeABadTrail", "\\'81 A",
                                 "\xE3\x83\xBB"
                                 "A",
                                 932},
                      MarkupCase{"leadByteEscapeAtTheEnd", "x\\'81", "x\xE3\x83\xBB", 932},
                      MarkupCase{"deleteEscapeStaysInCodePage932", "a\\'7fb",
                                 "a\x7F"
                                 "b",
                                 932},
                      MarkupCase{"hiddenGroup", "x {\\v hidden} y", "x <1/> y"},
                      MarkupCase{"onlyHidden", "{\\v hidden}", "<1/>"},
                      MarkupCase{"doNotTranslateUsesANumber", "{\\cs8 code}{\\b x}", "<2>x</2>"},
                      MarkupCase{"hiddenInsideGroup", "{\\b {\\v x} y}", "<1><2/> y</1>"},
                      MarkupCase{"textIsEscaped", "a < b & c", "a &lt; b &amp; c"},
                      MarkupCase{"literalNoBreakSpace",
                                 "a\xA0"
                                 "b",
                                 "a&nbsp;b"},
                      MarkupCase{"unterminatedGroup", "{\\b unterminated", "unterminated"},
                      MarkupCase{"adjacentUnmatchedBraces", "}{x", "x"},
                      MarkupCase{"escapedBracesAndBackslash", "a\\{b\\}c\\\\d", "a{b}c\\d"},
                      MarkupCase{"escapedNoBreakSpaceIsACharacter", "a\\~b",
                                 "a\xC2\xA0"
                                 "b"},
                      MarkupCase{"optionalHyphen", "co\\-op", "coop"},
                      MarkupCase{"nonBreakingHyphen", "x\\_y", "x-y"},
                      MarkupCase{"wordAtTheEndIsText", "text\\bold", "text\\bold"},
                      MarkupCase{"overlongWordIsText", OverlongWord(), OverlongWord()},
                      MarkupCase{"headWithoutSpace", "{\\b}x", "<1></1>x"},
                      MarkupCase{"tableWordsAreWrittenWhenHidden", "{\\v a\\tab b}", "<1/>\t"},
                      MarkupCase{"unmatchedBracesInTheMiddle", "{\\b a}}{\\i b", "<1>a</1>b"},
                      // The head runs to the first space, over the braces; the group is still open
                      // at the end and gets its closing placeholder there.
                      MarkupCase{"groupStillOpenAtTheEnd", "{\\b}{\\i x", "<1>x</1>"},
                      MarkupCase{"internalStyleIsAWholeWord", "{\\cs61 text}", "<1>text</1>"}));

// RTF Unicode escapes keep their character; the fallback after them is counted in bytes of
// the segment's code page.
INSTANTIATE_TEST_SUITE_P(
    UnicodeEscapes, ScannerMarkup,
    ::testing::Values(MarkupCase{"emDash", "a \\u8212? b", "a \xE2\x80\x94 b"},
                      MarkupCase{"fallbackSkipped", "caf\\u233?s", "caf\xC3\xA9s"},
                      MarkupCase{"atTheEnd", "x\\u8212", "x\xE2\x80\x94"},
                      MarkupCase{"negative", "a\\u-4064?", "a\xEF\x80\xA0"},
                      MarkupCase{"lowSixteenBits", "\\u65601?", "A"},
                      MarkupCase{"escapedLikeText", "\\u60?\\u38?", "&lt;&amp;"},
                      MarkupCase{"noFallback", "\\uc0\\u233 x", "\xC3\xA9x"},
                      MarkupCase{"threeFallbackBytes", "\\uc3\\u8364 abcd",
                                 "\xE2\x82\xAC"
                                 "d"},
                      MarkupCase{"fallbackIsNeverABrace", "\\u233{\\b x}", "\xC3\xA9<1>x</1>"},
                      MarkupCase{"fallbackIsNeverABackslash", "\\u233\\tab x", "\xC3\xA9\tx"},
                      MarkupCase{"underlineIsNoEscape", "\\ul under\\ulnone  x", "under x"},
                      MarkupCase{"hiddenEscapeWritesNothing", "{\\v \\u233?}x", "<1/>x"},
                      MarkupCase{"countFromAGroupHead", "{\\uc2 \\u233 ab}", "<1>\xC3\xA9</1>"},
                      MarkupCase{"doubleByteFallback", "\\uc2\\u26085\\'93\\'fa!", "\xE6\x97\xA5!",
                                 932},
                      MarkupCase{"utf8Fallback", "\\uc2\\u233 \xC3\xA9x", "\xC3\xA9x", 65001}));

TEST(ScannerRecords, FormattingGroupHasHeadAndBrace) {
  InlineState state;
  EXPECT_EQ(Scan(state, "a {\\b bold} c"), "a <1>bold</1> c");
  EXPECT_EQ(Records(state.sourceTags),
            (std::vector<Record>{{1, true, "{\\b ", 1, false}, {1, false, "}", 0, false}}));
  EXPECT_TRUE(state.targetTags.empty());
}

TEST(ScannerRecords, HiddenGroupRecordIsTheWholeGroup) {
  InlineState state;
  Scan(state, "x {\\v hidden} y");
  EXPECT_EQ(Records(state.sourceTags), (std::vector<Record>{{1, true, "{\\v hidden}", 1, false}}));
}

TEST(ScannerRecords, HiddenGroupInsideGroup) {
  InlineState state;
  Scan(state, "{\\b {\\v x} y}");
  EXPECT_EQ(Records(state.sourceTags), (std::vector<Record>{{1, true, "{\\b ", 1, false},
                                                            {2, true, "{\\v x}", 2, false},
                                                            {1, false, "}", 0, false}}));
}

TEST(ScannerRecords, DoNotTranslateGroupHasNone) {
  InlineState state;
  EXPECT_EQ(Scan(state, "a{\\cs8 code}b"), "ab");
  EXPECT_TRUE(state.sourceTags.empty());
}

TEST(ScannerRecords, PlainTextAndEmptyTextHaveNone) {
  InlineState state;
  EXPECT_EQ(Scan(state, "plain text"), "plain text");
  EXPECT_EQ(Scan(state, ""), "");
  EXPECT_EQ(Scan(state, "\\'00abc"), std::string("\0abc", 4));
  EXPECT_TRUE(state.sourceTags.empty());
}

TEST(ScannerRecords, StyleCodesComeFromTheCaller) {
  InlineState state;
  // "\cs6" is an ordinary style when the style sheet names others.
  EXPECT_EQ(
      inlinetest::Scan(state, "{\\cs12 <b>}x{\\cs6 y}{\\cs9 z}", 1252, true, u"\\cs12", u"\\cs9"),
      "<1>x<2>y</2>");
  // Empty codes match nothing.
  EXPECT_EQ(inlinetest::Scan(state, "{\\cs6 <b>}", 1252, true, u"", u""), "<1>&lt;b&gt;</1>");
}

TEST(TargetPairing, IdenticalCodePairsInOrderAndOnlyOnce) {
  InlineState state;
  Scan(state, "{\\b a} {\\b b}", 1252, true);
  EXPECT_EQ(Scan(state, "{\\b x} {\\b y} {\\b z}", 1252, false), "<1>x</1> <2>y</2> <3>z</3>");
  EXPECT_EQ(Records(state.targetTags), (std::vector<Record>{{1, true, "{\\b ", 1, true},
                                                            {1, false, "}", 0, false},
                                                            {2, true, "{\\b ", 2, true},
                                                            {2, false, "}", 0, false},
                                                            {3, true, "{\\b ", 0, false},
                                                            {3, false, "}", 0, false}}));
  EXPECT_EQ(Records(state.sourceTags), (std::vector<Record>{{1, true, "{\\b ", 1, true},
                                                            {1, false, "}", 0, false},
                                                            {2, true, "{\\b ", 2, true},
                                                            {2, false, "}", 0, false}}));
}

TEST(TargetPairing, DifferentCodeOrOrderStillFindsTheFirstUnpaired) {
  InlineState state;
  Scan(state, "{\\i a} {\\b b} {\\v c}", 1252, true);
  Scan(state, "{\\v c} {\\b b} {\\ul d}", 1252, false);
  const std::vector<Record> target = Records(state.targetTags);
  ASSERT_EQ(target.size(), 5u);
  EXPECT_EQ(target[0], (Record{1, true, "{\\v c}", 3, true}));
  EXPECT_EQ(target[1], (Record{2, true, "{\\b ", 2, true}));
  EXPECT_EQ(target[3], (Record{3, true, "{\\ul ", 0, false}));
  EXPECT_EQ(state.sourceTags[0].paired, 0);  // "{\i " found no partner
}

TEST(TargetPairing, OpenTagsAreForgottenBetweenSegments) {
  InlineState state;
  EXPECT_EQ(Scan(state, "{\\cs6 <b>}x"), "<1>x");
  EXPECT_EQ(Scan(state, "y{\\cs6 </b>}"), "y</1>");  // a new number, not the other segment's
  EXPECT_TRUE(state.openTags.IsEmpty());
}

TEST(ConvertSegment, CleansTheScannerMarkupUp) {
  InlineState state;
  const auto cleaned = [&](std::string_view segment) {
    return ToUtf8(CleanUpMarkup(ScanSegment(state, u"\\cs6", u"\\cs8", segment, 1252, true)).str());
  };
  EXPECT_EQ(cleaned("{\\v hidden}"), "");
  EXPECT_EQ(cleaned("{\\b Hello}"), "Hello");
  // A run of white space after the group is text: the pair encloses only part of it.
  EXPECT_EQ(cleaned("{\\b Hello} "), "<1>Hello</1>");
  EXPECT_EQ(cleaned(" a {\\b b} c\\~"), "a <1>b</1> c");
  EXPECT_EQ(state.sourceTags.size(), 7u);  // the records stay for the pairing
}

struct ByteCase {
  const char* name;
  std::string in;
  std::string out;
};

void PrintTo(const ByteCase& c, std::ostream* os) {
  *os << c.name;
}

class ByteEscapes : public ::testing::TestWithParam<ByteCase> {};

TEST_P(ByteEscapes, Decode) {
  EXPECT_EQ(DecodeByteEscapes(GetParam().in), GetParam().out);
}

// Decoding a segment with its escapes in one pass gives what decoding the escapes' bytes gives,
// in single-byte code pages (the pass of their own, blocks of sixteen bytes among them) and in a
// double-byte one (escapes may form a lead and a trail byte).
TEST_P(ByteEscapes, DecodedWithTheCodePageAsTheirBytes) {
  for (const unsigned codePage : {1252u, 1251u, 874u, 932u}) {
    std::u16string out = u"kept";
    std::string scratch;
    DecodeWithByteEscapes(GetParam().in, codePage, out, scratch);
    EXPECT_EQ(out, u"kept" + Decode(codePage, DecodeByteEscapes(GetParam().in))) << codePage;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Segments, ByteEscapes,
    ::testing::Values(ByteCase{"none", "abc\\b x", "abc\\b x"},
                      ByteCase{"two", "\\'e9t\\'E9", "\xE9t\xE9"},
                      ByteCase{"nonHexStays", "a\\'zz\\'41", "a\\'zzA"},
                      ByteCase{"secondNotHexIsTaken", "\\'4gb",
                               "\x04"
                               "b"},
                      ByteCase{"cutShortAtTheEnd", "a\\'4", "a\\'4"},
                      ByteCase{"apostropheLast", "a\\'", "a\\'"},
                      ByteCase{"textual", "\\\\'41", "\\A"},
                      ByteCase{"zeroIsKept", "a\\'00b", std::string("a\0b", 3)},
                      ByteCase{"nulByteIsKept", std::string("a\0\\'41", 6), std::string("a\0A", 3)},
                      ByteCase{"escapeTakesTheNextBackslash", "\\'4\\'41", "\x04'41"},
                      // Escapes where blocks of sixteen bytes meet, and
                      // bytes above 0x7F among them.
                      ByteCase{"acrossBlocks",
                               std::string(15, 'a') + "\\'e9" + std::string(13, '\xFC') +
                                   "\\'82\\'a0" + std::string(14, 'b') + "\\'zz\\'4",
                               std::string(15, 'a') + "\xE9" + std::string(13, '\xFC') +
                                   "\x82\xA0" + std::string(14, 'b') + "\\'zz\\'4"},
                      ByteCase{"apostrophesAndANonHexEscape",
                               std::string(16, '\'') + "x\\" + std::string(16, '\''),
                               std::string(16, '\'') + "x\\" + std::string(16, '\'')}));

}  // namespace
