// SPDX-License-Identifier: MIT
// Inline tag pairing: placeholders become bpt/ept, it and ph elements with escaped native code.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "inline/inline_converter.h"
#include "inline/inline_tag_pairing.h"
#include "inline/markup_cleanup.h"
#include "inline/segment_scanner.h"
#include "text/xml_chars.h"

namespace {

// The contents (as UTF-16, before the encoding) of one unit as a converter writes them: the
// source's, then each target's. Every segment takes the whole conversion.
std::vector<WideString> UnitTexts(InlineConverter& converter, const std::string& source,
                                  const std::vector<std::string>& targets) {
  std::vector<InlineSegment> segments;
  for (const std::string& target : targets) segments.push_back({target, 1252});
  InlineUnit unit;
  unit.source = {source, 1252};
  unit.targets = segments;
  unit.keepText = true;
  unit.findPlain = false;
  std::vector<WideString> texts;
  for (const InlineContent& content : converter.ConvertUnit(unit)) texts.emplace_back(content.text);
  return texts;
}

std::vector<WideString> UnitTexts(const std::string& source,
                                  const std::vector<std::string>& targets) {
  InlineConverter converter;
  return UnitTexts(converter, source, targets);
}

TagList BoldPair(bool paired) {
  TagList list;
  AppendTagRecord(list, u"{\\b ", 1, 1, true, paired);
  AppendTagRecord(list, u"}", 1, 0, false, false);
  return list;
}

TEST(PairInlineTags, PairedOpeningAndClosing) {
  EXPECT_EQ(PairInlineTags(u"a <1>word</1> b", BoldPair(true)),
            u"a <bpt i=\"1\" x=\"1\">{\\b </bpt>word<ept i=\"1\">}</ept> b");
}

TEST(PairInlineTags, NoXWithoutAPartnerOnTheOtherSide) {
  EXPECT_EQ(PairInlineTags(u"a <1>word</1> b", BoldPair(false)),
            u"a <bpt i=\"1\">{\\b </bpt>word<ept i=\"1\">}</ept> b");
}

TEST(PairInlineTags, NestedPairsNumberInOpeningOrder) {
  TagList list;
  AppendTagRecord(list, u"{\\b ", 1, 1, true, false);
  AppendTagRecord(list, u"{\\i ", 2, 2, true, false);
  AppendTagRecord(list, u"}", 2, 0, false, false);
  AppendTagRecord(list, u"}", 1, 0, false, false);
  EXPECT_EQ(PairInlineTags(u"<1>a<2>b</2>c</1>", list),
            u"<bpt i=\"1\">{\\b </bpt>a<bpt i=\"2\">{\\i </bpt>b<ept i=\"2\">}</ept>c"
            u"<ept i=\"1\">}</ept>");
  EXPECT_EQ(PairInlineTags(u"<2>a</2><1>b</1>", list),
            u"<bpt i=\"1\">{\\i </bpt>a<ept i=\"1\">}</ept><bpt i=\"2\">{\\b </bpt>b"
            u"<ept i=\"2\">}</ept>");
}

TEST(PairInlineTags, LonePlaceholdersBecomeIt) {
  const TagList list = BoldPair(true);
  EXPECT_EQ(PairInlineTags(u"<1>a", list), u"<it pos=\"begin\" x=\"1\">{\\b </it>a");
  EXPECT_EQ(PairInlineTags(u"a</1>", list), u"a<it pos=\"end\">}</it>");
  // A closing placeholder before its opening one: both stay alone.
  EXPECT_EQ(PairInlineTags(u"</1>a<1>", list),
            u"<it pos=\"end\">}</it>a<it pos=\"begin\" x=\"1\">{\\b </it>");
}

TEST(PairInlineTags, StandaloneBecomesPh) {
  TagList list;
  AppendTagRecord(list, u"{\\v x<y>}", 1, 1, true, true);
  AppendTagRecord(list, u"{\\v z}", 2, 2, true, false);
  EXPECT_EQ(PairInlineTags(u"a<1/>b<2/>", list),
            u"a<ph x=\"1\">{\\v x&lt;y&gt;}</ph>b<ph>{\\v z}</ph>");
}

TEST(PairInlineTags, PlaceholderWithoutRecordIsEmpty) {
  EXPECT_EQ(PairInlineTags(u"<1>a</1><2/>", TagList()),
            u"<bpt i=\"1\"></bpt>a<ept i=\"1\"></ept><ph></ph>");
}

TEST(PairInlineTags, FirstRecordOfANumberCounts) {
  TagList list;
  AppendTagRecord(list, u"first", 1, 1, true, false);
  AppendTagRecord(list, u"second", 1, 1, true, true);
  EXPECT_EQ(PairInlineTags(u"a<1/>", list), u"a<ph>first</ph>");
}

TEST(PairInlineTags, NativeCodeIsEscaped) {
  TagList list;
  AppendTagRecord(list, u"{\\cs6 <a href=\"x\" t='y'> & \u00A0\\{\\}}", 1, 1, true, false);
  // The no-break space stays a character: TMX declares no "&nbsp;" entity.
  EXPECT_EQ(PairInlineTags(u"x<1/>", list),
            u"x<ph>{\\cs6 &lt;a href=\"x\" t='y'&gt; &amp; \u00A0{}}</ph>");
}

TEST(PairInlineTags, QuotesOfTheTextBecomeEntities) {
  EXPECT_EQ(PairInlineTags(u"it's \"so\"&nbsp;&amp; &lt;", TagList()),
            u"it&apos;s &quot;so&quot;\u00A0&amp; &lt;");
}

TEST(PairInlineTags, LetterPlaceholdersGetAType) {
  EXPECT_EQ(PairInlineTags(u"<b>x</b><I>y</I><u>z", TagList()),
            u"<bpt i=\"1\" type=\"bold\"></bpt>x<ept i=\"1\"></ept>"
            u"<bpt i=\"2\" type=\"italic\"></bpt>y<ept i=\"2\"></ept>"
            u"<it pos=\"begin\" type=\"ulined\"></it>z");
}

TEST(PairInlineTags, LessThanWithoutGreaterThanStaysText) {
  EXPECT_EQ(PairInlineTags(u"<1/>a<b", TagList()), u"<ph></ph>a<b");
}

TEST(PairInlineTags, ManyPairsStayInOrder) {
  TagList list;
  std::u16string markup, expected;
  for (int i = 1; i <= 3000; ++i) {
    AppendTagRecord(list, u"{\\b ", i, i, true, i % 2 == 0);
    AppendTagRecord(list, u"}", i, 0, false, false);
    const std::u16string n = WideString(std::to_string(i)).str();
    markup += u"<" + n + u">w</" + n + u">";
    expected += u"<bpt i=\"" + n + u"\"" + (i % 2 == 0 ? u" x=\"" + n + u"\"" : u"") +
                u">{\\b </bpt>w<ept i=\"" + n + u"\">}</ept>";
  }
  EXPECT_EQ(PairInlineTags(WideString(markup), list), WideString(std::move(expected)));
}

// A long list whose records come in order is looked up without tables as long as the
// placeholders come in order too; where they do not, the tables take over. Either way the
// content is that of a list that is not in order (the same records and one more that no
// placeholder reaches: a second closing record of number 1).
TEST(PairInlineTags, LongListInOrderGivesWhatTablesGive) {
  const auto groups = [](int from, int to) {
    std::u16string markup;
    for (int i = from; i <= to; ++i) {
      const std::u16string n = WideString(std::to_string(i)).str();
      markup += u"<" + n + u">w</" + n + u">";
    }
    return markup;
  };
  const struct {
    const char* name;
    std::u16string markup;
  } cases[] = {
      {"in order", groups(1, 3000)},
      {"letters and a closing first", u"<b>a</b></7>" + groups(1, 3000)},
      {"numbers go back", groups(1, 3000) + u"<1>y</1><2/>"},
      {"closing texts twice", groups(1, 3) + u"</5></5>" + groups(4, 3000) + u"<5>z"},
      {"gaps and unknown numbers", groups(1, 9) + groups(21, 3000) + u"<9999999>q</9999999>"},
      {"openings ahead of closings", u"<1><2><3>" + groups(4, 3000) + u"</3></2></1>"},
  };
  TagList inOrder;
  for (int i = 1; i <= 3000; ++i) {
    AppendTagRecord(inOrder, u"{\\b ", i, i, true, i % 2 == 0);
    AppendTagRecord(inOrder, u"}", i, 0, false, false);
  }
  TagList notInOrder = inOrder;
  AppendTagRecord(notInOrder, u"}", 1, 0, false, false);
  for (const auto& c : cases) {
    const WideString markup(c.markup);
    EXPECT_EQ(PairInlineTags(markup, inOrder), PairInlineTags(markup, notInOrder)) << c.name;
  }
}

// Each side's elements hold the native code of that side's own records.
TEST(PairInlineTags, ExporterUsesTheSidesList) {
  const std::vector<WideString> texts = UnitTexts("a{\\b x}", {"a{\\i x}"});
  EXPECT_EQ(texts[0], u"a<bpt i=\"1\">{\\b </bpt>x<ept i=\"1\">}</ept>");
  EXPECT_EQ(texts[1], u"a<bpt i=\"1\">{\\i </bpt>x<ept i=\"1\">}</ept>");
}

// Records keep their own texts whether a text is shared with recent records or the list holds
// more texts than a record's short index names (then the first ones must stay readable too).
TEST(TagRecordIndex, EveryRecordKeepsItsText) {
  TagList list;
  const auto textOf = [](int i) {
    return i % 3 == 0 ? std::u16string(u"}") : WideString(std::to_string(i / 3 * 7)).str();
  };
  constexpr int kRecords = 3 * 70000;  // about 70000 distinct texts
  for (int i = 0; i < kRecords; ++i) AppendTagRecord(list, textOf(i), i + 1, 0, i % 3 != 0, false);
  ASSERT_EQ(list.size(), static_cast<size_t>(kRecords));
  for (const int i : {0, 1, 2, 3, 4, 65534, 65535, 98303, 98304, 98305, 150000, kRecords - 1}) {
    EXPECT_EQ(list.Text(list[static_cast<size_t>(i)]), textOf(i)) << i;
    EXPECT_EQ(list[static_cast<size_t>(i)].number, i + 1);
  }
  list.clear();
  AppendTagRecord(list, u"{\\b ", 1, 1, true, false);
  EXPECT_EQ(list.Text(list[0]), u"{\\b ");
}

// A record's paired number is N or 0 by its form until one differs (a target's, or a source
// group's counted apart): from then on the list keeps them all, the earlier ones too.
TEST(TagRecordIndex, EveryRecordKeepsItsPairedNumber) {
  constexpr int kRecords = 100000;
  // Each row: the record whose paired number first differs from N or 0 (kRecords: none).
  for (const int differsFrom : {kRecords, 0, 1, 5, 65536, kRecords - 1}) {
    const auto pairedOf = [differsFrom](int i) {
      const bool opening = i % 2 == 0;
      if (i < differsFrom) return opening ? i / 2 + 1 : 0;
      return opening ? (i % 6 == 0 ? 0 : 3 * i + 7) : i % 5;
    };
    TagList list;
    for (int i = 0; i < kRecords; ++i) {
      AppendTagRecord(list, i % 2 == 0 ? u"{\\b " : u"}", i / 2 + 1, pairedOf(i), i % 2 == 0,
                      pairedOf(i) != 0);
    }
    for (int i = 0; i < kRecords; ++i) {
      ASSERT_EQ(list.PairedNumber(list[static_cast<size_t>(i)]), pairedOf(i))
          << "record " << i << ", differing from " << differsFrom;
    }
    list.clear();
    AppendTagRecord(list, u"{\\b ", 4, 4, true, false);
    AppendTagRecord(list, u"}", 4, 0, false, false);
    EXPECT_EQ(list.PairedNumber(list[0]), 4);
    EXPECT_EQ(list.PairedNumber(list[1]), 0);
  }
}

TEST(TagRecordIndex, FindsTheFirstMatchByNumberAndForm) {
  TagList list;
  AppendTagRecord(list, u"a", 1, 1, true, false);
  AppendTagRecord(list, u"b", 1, 0, false, false);
  AppendTagRecord(list, u"c", 1, 1, true, false);
  const TagRecordIndex index(list);
  ASSERT_NE(index.FindTagRecord(1, true), nullptr);
  EXPECT_EQ(list.Text(*index.FindTagRecord(1, true)), u"a");
  EXPECT_EQ(list.Text(*index.FindTagRecord(1, false)), u"b");
  EXPECT_EQ(index.FindTagRecord(2, true), nullptr);
}

const std::string kSource = "a {\\b b} {\\i c} {\\b d} {\\cs6 <x>}e{\\cs6 </x>} f";
const std::string kTargets[] = {
    "{\\b B} a {\\b D} f",                         // takes both bold groups
    "{\\i C} {\\cs6 <x>}E{\\cs6 </x>} {\\u u} x",  // the italic group and the tag
    "nothing of the source {\\v hidden}",          // takes none
};

// Several targets of one unit: each is paired with the source as if it were the only target,
// and the source content shows x on every element that any target took.
TEST(InlineConverter, EachTargetPairsWithTheSourceAsIfAlone) {
  InlineConverter converter;
  const std::vector<std::string> targets(std::begin(kTargets), std::end(kTargets));
  const std::vector<WideString> texts = UnitTexts(converter, kSource, targets);
  ASSERT_EQ(texts.size(), 4u);
  for (size_t i = 0; i < targets.size(); ++i) {
    EXPECT_EQ(texts[1 + i], UnitTexts(kSource, {targets[i]})[1]) << targets[i];
  }
  // The first target takes the bold groups, the second the italic group and the tag: together
  // every element of the source is linked, as by one target that takes them all.
  const std::string takesAll = "{\\b B} {\\i C} {\\b D} {\\cs6 <x>}E{\\cs6 </x>}";
  EXPECT_EQ(texts[0], UnitTexts(kSource, {takesAll})[0]);
  EXPECT_NE(texts[0], UnitTexts(kSource, {kTargets[0]})[0]);
  EXPECT_NE(texts[0], UnitTexts(kSource, {kTargets[1]})[0]);
  // A target that takes none adds nothing.
  EXPECT_EQ(UnitTexts(kSource, {kTargets[0], kTargets[2]})[0],
            UnitTexts(kSource, {kTargets[0]})[0]);
}

// Converting a unit leaves nothing behind: the next unit, and the same unit again, come out as
// they do from a new converter.
TEST(InlineConverter, EachUnitStartsAfresh) {
  InlineConverter converter;
  const std::vector<std::string> targets(std::begin(kTargets), std::end(kTargets));
  const std::vector<WideString> first = UnitTexts(converter, kSource, targets);
  EXPECT_EQ(UnitTexts(converter, kSource, {kTargets[0]}), UnitTexts(kSource, {kTargets[0]}));
  EXPECT_EQ(UnitTexts(converter, kSource, targets), first);
  EXPECT_EQ(UnitTexts(converter, kTargets[1], {kSource}), UnitTexts(kTargets[1], {kSource}));
}

// Converters own their buffers: two of them in turn give what each gives alone.
TEST(InlineConverter, ConvertersDoNotShareState) {
  InlineConverter first, second;
  const std::vector<WideString> one = UnitTexts(first, kSource, {kTargets[0]});
  const std::vector<WideString> two = UnitTexts(second, kTargets[1], {kSource});
  const std::vector<WideString> oneAgain = UnitTexts(first, kSource, {kTargets[0]});
  EXPECT_EQ(one, UnitTexts(kSource, {kTargets[0]}));
  EXPECT_EQ(two, UnitTexts(kTargets[1], {kSource}));
  EXPECT_EQ(oneAgain, one);
  EXPECT_NE(one, two);
}

// The encoded form of the pairing gives the bytes that encoding the UTF-16 content gives, for
// both encodings, also when the content goes in several slices (a slice boundary may fall
// between the two halves of a surrogate pair, in text or in a long element).
std::string EncodedContent(std::u16string_view content, bool utf16) {
  std::string bytes(3 * content.size(), '\0');
  bytes.resize(utf16 ? EncodeXmlSafeUtf16le(content, bytes.data())
                     : EncodeXmlSafeUtf8(content, bytes.data()));
  return bytes;
}

struct EncodedCase {
  const char* name;
  std::u16string markup;
  TagList records;
};

std::u16string Repeated(std::u16string_view piece, size_t times) {
  std::u16string s;
  for (size_t i = 0; i < times; ++i) s += piece;
  return s;
}

EncodedCase ManyGroups(int count, std::u16string_view text) {
  EncodedCase c{"many groups", u"", TagList()};
  for (int i = 1; i <= count; ++i) {
    AppendTagRecord(c.records, u"{\\b \u00E9", i, i, true, i % 3 == 0);
    AppendTagRecord(c.records, u"}", i, 0, false, false);
    const std::u16string n = WideString(std::to_string(i)).str();
    c.markup += u"<" + n + u">" + std::u16string(text) + u"</" + n + u">";
  }
  return c;
}

std::vector<EncodedCase> EncodedCases() {
  std::vector<EncodedCase> cases;
  cases.push_back({"empty", u"", TagList()});
  cases.push_back({"pair", u"a <1>word</1> b", BoldPair(true)});
  cases.push_back({"forbidden", u"a\u0001b\u000Bc\uFFFE\uFFFFd\t\n\r<1/>\u001F", BoldPair(false)});
  cases.push_back({"surrogates", u"\U0001F600x\xD83D<1/>\xDE00y</1>\xDE00\xD83D", BoldPair(true)});
  cases.push_back({"high at the end", u"abc\xD83D", TagList()});
  cases.push_back({"quotes", u"it's \"so\" & <1>x</1>&lt;", BoldPair(false)});
  EncodedCase native{"native code", u"<1/>a<2/>", TagList()};
  AppendTagRecord(native.records, u"{\\v \u0001\xD83D}<&>", 1, 1, true, true);
  AppendTagRecord(native.records, u"\xDE00\U0001F600\uFFFF", 2, 2, true, false);
  cases.push_back(std::move(native));
  // Text of several slices whose high surrogates stand where slices end (unit 65535 is the
  // first of the text's high surrogates to end a slice).
  cases.push_back({"long text", u"abc" + Repeated(u"\U0001F600\u00E9\u0002", 40000) + u"<1>x</1>",
                   BoldPair(true)});
  cases.push_back(ManyGroups(20000, u"\u03B1\U0001F600"));
  // An element whose high surrogates stand where the parts of its encoding end (unit 65535 is
  // the first: the element's code starts at unit 15).
  EncodedCase element{"long element", u"xyzw<1/>y", TagList()};
  AppendTagRecord(element.records, u"{" + Repeated(u"\U0001F600<\u0003z", 50000) + u"}", 1, 1, true,
                  true);
  cases.push_back(std::move(element));
  // Long enough for the bytes to be reserved ahead (non-ASCII text takes more than the markup).
  cases.push_back({"reserved", Repeated(u"\u4E2D\u6587 <1>x</1>", 120000), BoldPair(true)});
  return cases;
}

class PairEncodedCases : public ::testing::TestWithParam<size_t> {};

TEST_P(PairEncodedCases, GiveTheEncodedContent) {
  static const std::vector<EncodedCase> cases = EncodedCases();
  const EncodedCase& c = cases[GetParam()];
  const WideString markup(c.markup);
  const WideString content = PairInlineTags(markup, c.records);
  for (const bool utf16 : {false, true}) {
    TagPairing pairing;
    std::string bytes = "kept";
    pairing.PairEncoded(markup, c.records, utf16, bytes);
    ASSERT_EQ(bytes, "kept" + EncodedContent(content.str(), utf16)) << c.name << " " << utf16;
    // A second segment on the same pairing, whose slice starts empty again.
    bytes.clear();
    pairing.PairEncoded(WideString(u"z\xD83D"), TagList(), utf16, bytes);
    EXPECT_EQ(bytes, EncodedContent(u"z", utf16)) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Contents, PairEncodedCases, ::testing::Range(size_t{0}, size_t{11}));

// Segments through the converter: escapes of forbidden characters and of surrogates.
class PairEncodedSegments : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(PairEncodedSegments, GiveTheEncodedContent) {
  const std::vector<WideString> texts = UnitTexts(GetParam().first, {GetParam().second});
  for (const bool utf16 : {false, true}) {
    InlineConverter converter(utf16);
    const InlineSegment target{GetParam().second, 1252};
    InlineUnit unit;
    unit.source = {GetParam().first, 1252};
    unit.targets = std::span(&target, 1);
    unit.findPlain = false;
    const std::span<InlineContent> contents = converter.ConvertUnit(unit);
    ASSERT_EQ(contents.size(), 2u);
    EXPECT_EQ(contents[0].encoded, EncodedContent(texts[0].str(), utf16));
    EXPECT_EQ(contents[1].encoded, EncodedContent(texts[1].str(), utf16));
    EXPECT_TRUE(contents[0].text.empty());  // kept only when asked for
  }
}

INSTANTIATE_TEST_SUITE_P(Segments, PairEncodedSegments,
                         ::testing::Values(std::pair{"a {\\b b\\u1?} c", "{\\b B\\u11?} \\u-2?"},
                                           std::pair{"\\u55357?\\u56832? {\\i x\\u55357?}",
                                                     "\\u56832?{\\i y}\\uc0\\u-1 "},
                                           std::pair{"{\\cs6 <x>}\\u8?{\\cs6 </x>} \\'e9\\'01",
                                                     "{\\cs6 <x>}\\u31?{\\cs6 </x>}"},
                                           std::pair{"it's \"q\" & {\\v \\u2?hidden}",
                                                     "{\\field{\\*\\fldinst x}{\\fldrslt y}}"},
                                           // Runs longer than a block of eight units, each
                                           // ended in the rest after it.
                                           std::pair{"abcdefghi&jklmnopqrst'uvwxyzabcdefgh\"",
                                                     "0123456789\\'e9{\\b abcdefghijklmno\\'01}"
                                                     "abcdefgh\\u8232?abcdefghijkl>"}));

// The pairing of a cleaned-up list gives what the pairing of its markup gives, UTF-16 and
// encoded: quotes, ampersands, no-break spaces and line separators in the text, lone and paired
// placeholders on both sides, many records (the lookups by tables), and a long text of
// surrogate pairs, forbidden characters and entities (written in pieces that never part a pair).
TEST(PairInlineTags, CleanedListGivesWhatItsMarkupGives) {
  std::string many, longText = "{\\b a}";
  for (int i = 0; i < 300; ++i) many += i % 3 ? "{\\b x}" : "{\\i y} ";
  // The run after the group: "x", then pairs (a high surrogate at every odd unit).
  longText += "x";
  for (int i = 0; i < 9000; ++i) longText += "\\u55357?\\u56832?";
  for (int i = 0; i < 9000; ++i) longText += "\\u55357?\\u56832?x\\u1?&\\'e9<'\\u8232?";
  // A hidden group whose record (the whole group) is written in pieces: a backslash before a
  // brace stands at each unit where a piece would end, and in a Unicode file a surrogate pair.
  std::string hiddenBraces = "a {\\v x", hiddenPairs = "a {\\v x";
  for (int i = 0; i < 40000; ++i) hiddenBraces += "\\{";
  for (int i = 0; i < 40000; ++i) hiddenPairs += "\xF0\x9F\x98\x80";
  hiddenBraces += "} b";
  hiddenPairs += "} b";
  struct Unit {
    std::string source, target;
    bool unicodeText = false;
  };
  const Unit units[] = {
      {"it's \"q\" & <a> {\\b b}\\~c\\u8232?d\\line e", "{\\b B} '\"&\\~"},
      {"{\\b x} {\\cs6 <b>}t{\\cs6 </b>} {\\cs6 <i>}u {\\v h}z}", "}{\\b x} a{\\cs6 </b>}"},
      {"x{\\field{\\*\\fldinst HYPERLINK}{\\fldrslt l}} {\\field{\\*\\fldinst PAGE}} y", "y"},
      {many, many},
      {longText, "\\u56832?" + longText + "\\u55357?"},
      {hiddenBraces, hiddenBraces},
      {hiddenPairs, hiddenPairs, true},
  };
  for (const auto& [sourceSegment, targetSegment, unicodeText] : units) {
    InlineState state;
    state.unicodeText = unicodeText;
    MarkupCleanup cleanup;
    CleanedContent source, target;
    cleanup.CleanUp(ScanSegmentList(state, u"\\cs6", u"\\cs8", sourceSegment, 1252, true), source);
    cleanup.CleanUp(ScanSegmentList(state, u"\\cs6", u"\\cs8", targetSegment, 1252, false), target);
    for (const auto& [list, records] :
         {std::pair{&source, &state.sourceTags}, std::pair{&target, &state.targetTags}}) {
      TagPairing pairing;
      const WideString markup(CleanedMarkupOf(*list));
      EXPECT_EQ(pairing.Pair(*list, *records), pairing.Pair(markup, *records)) << sourceSegment;
      for (const bool utf16 : {false, true}) {
        std::string fromList, fromMarkup;
        pairing.PairEncoded(*list, *records, utf16, fromList);
        pairing.PairEncoded(markup, *records, utf16, fromMarkup);
        EXPECT_EQ(fromList, fromMarkup) << sourceSegment;
      }
    }
  }
}

struct AttributeCase {
  const char16_t* name;
  int x;
  const char16_t* attributes;
};

class InlineAttributeTexts : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(InlineAttributeTexts, Match) {
  EXPECT_EQ(InlineAttributes(GetParam().name, GetParam().x), std::u16string(GetParam().attributes));
}

INSTANTIATE_TEST_SUITE_P(Names, InlineAttributeTexts,
                         ::testing::Values(AttributeCase{u"b", 0, u" type=\"bold\""},
                                           AttributeCase{u"B", 5, u" type=\"bold\""},
                                           AttributeCase{u"I", 0, u" type=\"italic\""},
                                           AttributeCase{u"u", 0, u" type=\"ulined\""},
                                           AttributeCase{u"12", 0, u""},
                                           AttributeCase{u"12", 7, u" x=\"7\""},
                                           AttributeCase{u"bb", 3, u" x=\"3\""}));

}  // namespace
