// SPDX-License-Identifier: MIT
// XML escaping of text and attribute values, of quotes in segment markup and of native code
// inside inline elements.
#include "text/xml_escape.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "text/xml_chars.h"

namespace {

struct EscapeCase {
  const char* name;
  const char16_t* in;
  const char16_t* out;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
  *os << c.name;
}

class Quotes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(Quotes, AreEscaped) {
  std::u16string out = u"kept|";
  AppendQuotesEscaped(out, GetParam().in);
  EXPECT_EQ(out, u"kept|" + std::u16string(GetParam().out));
  // The first position the rewriting may change: everything before it is copied as it is.
  const std::u16string_view in = GetParam().in;
  const size_t first = FindQuoteOrAmpersand(in);
  EXPECT_EQ(std::u16string_view(GetParam().out).substr(0, first), in.substr(0, first));
  EXPECT_EQ(first, std::min(in.find_first_of(u"'\"&"), in.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Markup, Quotes,
    ::testing::Values(EscapeCase{"empty", u"", u""},
                      EscapeCase{"apostropheAndQuotes", u"it's \"x\"", u"it&apos;s &quot;x&quot;"},
                      EscapeCase{"noBreakSpaceReference", u"a&nbsp;b", u"a\u00A0b"},
                      EscapeCase{"upperAndMixedCase", u"a&NBSP;b&NbSp;c", u"a\u00A0b\u00A0c"},
                      EscapeCase{"twoInARow", u"&nbsp;&nbsp;", u"\u00A0\u00A0"},
                      EscapeCase{"escapedAmpersandStays", u"&amp;nbsp;", u"&amp;nbsp;"},
                      EscapeCase{"cutShortStays", u"a&nbs", u"a&nbs"},
                      EscapeCase{"onceOnly", u"&nbsp;nbsp;", u"\u00A0nbsp;"},
                      EscapeCase{"placeholdersAndEntitiesUntouched", u"<1>&lt;&amp;</1><2/>",
                                 u"<1>&lt;&amp;</1><2/>"}));

struct TextCase {
  const char* name;
  const char16_t* in;
  const char16_t* text;       // as element content
  const char16_t* attribute;  // as an attribute value
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.name;
}

class XmlText : public ::testing::TestWithParam<TextCase> {};

TEST_P(XmlText, IsEscapedForContentAndAttributes) {
  const TextCase& c = GetParam();
  std::u16string out = u"kept|";
  AppendXmlText(out, c.in);
  EXPECT_EQ(out, u"kept|" + std::u16string(c.text));
  out = u"kept|";
  AppendXmlAttribute(out, c.in);
  EXPECT_EQ(out, u"kept|" + std::u16string(c.attribute));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, XmlText,
    ::testing::Values(TextCase{"empty", u"", u"", u""},
                      TextCase{"plain", u"Harbour Lines", u"Harbour Lines", u"Harbour Lines"},
                      TextCase{"markupCharacters", u"A & <b> x>y", u"A &amp; &lt;b&gt; x&gt;y",
                               u"A &amp; &lt;b&gt; x&gt;y"},
                      TextCase{"quotesOnlyInAttributes", u"say \"hi\" it's", u"say \"hi\" it's",
                               u"say &quot;hi&quot; it's"},
                      TextCase{"entitiesAreEscapedAgain", u"&amp;&quot;", u"&amp;amp;&amp;quot;",
                               u"&amp;amp;&amp;quot;"},
                      TextCase{"specialsAtBothEnds", u"\"&x<", u"\"&amp;x&lt;",
                               u"&quot;&amp;x&lt;"},
                      TextCase{"otherCharactersCopied", u"\u00E9\u00A0\U0001F600\t",
                               u"\u00E9\u00A0\U0001F600\t", u"\u00E9\u00A0\U0001F600\t"}));

class NativeCode : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(NativeCode, IsEscaped) {
  std::u16string out = u"kept|";
  AppendEscapedNativeCode(out, GetParam().in);
  EXPECT_EQ(out, u"kept|" + std::u16string(GetParam().out));
}

// Written straight into UTF-8, it gives the bytes of its escaped units, encoded XML-safe.
TEST_P(NativeCode, EncodedAsItsEscapedUnits) {
  const std::u16string_view in = GetParam().in;
  std::string bytes(kNativeBytesPerUnit * in.size(), '\0');
  bytes.resize(EncodeEscapedNativeCodeUtf8(in, bytes.data()));
  const std::u16string_view escaped = GetParam().out;
  std::string expected(3 * escaped.size(), '\0');
  expected.resize(EncodeXmlSafeUtf8(escaped, expected.data()));
  EXPECT_EQ(bytes, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, NativeCode,
    ::testing::Values(
        EscapeCase{"empty", u"", u""}, EscapeCase{"escapedBracesBecomeBraces", u"\\{x\\}", u"{x}"},
        EscapeCase{"markupCharacters", u"a<b>c&d", u"a&lt;b&gt;c&amp;d"},
        // TMX declares no "&nbsp;" entity: the character stays a character.
        EscapeCase{"noBreakSpaceStaysACharacter", u"{\\f1\u00A0}", u"{\\f1\u00A0}"},
        EscapeCase{"quotesUnchanged", u"\"x\" 'y'", u"\"x\" 'y'"},
        EscapeCase{"otherBackslashesStay", u"{\\b\\\\{ \\", u"{\\b\\{ \\"},
        EscapeCase{"controlCharactersCopied", u"\u0001\xD800", u"\u0001\xD800"},
        // Long enough for blocks of eight units, with stops where blocks meet.
        EscapeCase{"groupHead", u"{\\cs6\\f1\\cf6\\lang1024 <b>&x\\{\\}}",
                   u"{\\cs6\\f1\\cf6\\lang1024 &lt;b&gt;&amp;x{}}"},
        EscapeCase{"escapedBraceAcrossBlocks", u"abcdefg\\{hijklmn\\}\\", u"abcdefg{hijklmn}\\"},
        EscapeCase{"surrogatesAndForbidden", u"\U0001F600abcdefgh\xD83D<\uFFFF\u00E9\u4E2D\u0002\t",
                   u"\U0001F600abcdefgh\xD83D&lt;\uFFFF\u00E9\u4E2D\u0002\t"}));

}  // namespace
