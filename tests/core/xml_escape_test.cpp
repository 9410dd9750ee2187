// SPDX-License-Identifier: MIT
// Escaping of quotes in segment markup and of native code inside inline elements.
#include "text/xml_escape.h"

#include <gtest/gtest.h>

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

TEST_P(Quotes, AreEscapedInPlace) {
  WideString markup(GetParam().in);
  EscapeQuotes(markup);
  EXPECT_EQ(markup, WideString(GetParam().out));
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

class NativeCode : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(NativeCode, IsEscaped) {
  EXPECT_EQ(EscapeNativeCode(GetParam().in), std::u16string(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Rtf, NativeCode,
    ::testing::Values(EscapeCase{"empty", u"", u""},
                      EscapeCase{"escapedBracesBecomeBraces", u"\\{x\\}", u"{x}"},
                      EscapeCase{"markupCharacters", u"a<b>c&d", u"a&lt;b&gt;c&amp;d"},
                      // TMX declares no "&nbsp;" entity: the character stays a character.
                      EscapeCase{"noBreakSpaceStaysACharacter", u"{\\f1\u00A0}", u"{\\f1\u00A0}"},
                      EscapeCase{"quotesUnchanged", u"\"x\" 'y'", u"\"x\" 'y'"},
                      EscapeCase{"otherBackslashesStay", u"{\\b\\\\{ \\", u"{\\b\\{ \\"},
                      EscapeCase{"controlCharactersCopied", u"\u0001\xD800", u"\u0001\xD800"}));

}  // namespace
