// SPDX-License-Identifier: MIT
#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Wide(unsigned cp, const std::string& bytes, unsigned flags = 0) {
  std::u16string out(bytes.size() * 2 + 4, u'\0');
  const int n = ToWide(cp, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                       static_cast<int>(out.size()));
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string Narrow(unsigned cp, const std::u16string& text) {
  std::string out(text.size() * 4 + 4, '\0');
  const int n = ToNarrow(cp, 0, text.data(), static_cast<int>(text.size()), out.data(),
                         static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<size_t>(n));
  return out;
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::u16string expected;
};

class Utf8Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decode, GivesUnits) { EXPECT_EQ(Wide(65001, GetParam().bytes), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Decode,
    ::testing::Values(DecodeCase{"euro", "\xE2\x82\xAC", u"\u20AC"},
                      DecodeCase{"fourByteBecomesPair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
                      DecodeCase{"loneContinuation", "\x80", u"?"},
                      DecodeCase{"brokenSequenceKeepsNext", "\xC3\x41", u"\x0003"
                                                                         u"A"},
                      DecodeCase{"overlongNul", std::string("\xC0\x80", 2), std::u16string(1, u'\0')},
                      DecodeCase{"invalidLeads", "\xFE\xFF", u"??"},
                      DecodeCase{"truncatedAtEnd", "a\xE2\x82", u"a\x0082"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Utf8, StrictFlagRejectsInvalidInput) {
  EXPECT_EQ(ToWide(65001, kFlagErrInvalidChars, "\x80", 1, nullptr, 0), 0);
  EXPECT_EQ(ToWide(65001, kFlagErrInvalidChars, "\xE2\x82", 2, nullptr, 0), 0);
  EXPECT_EQ(ToWide(65001, kFlagErrInvalidChars, "ok", 2, nullptr, 0), 2);
}

TEST(Utf8, EncodesPairsAsOneSequenceAndLoneSurrogatesAsReplacement) {
  EXPECT_EQ(Narrow(65001, u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(Narrow(65001, u"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(Narrow(65001, u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Narrow(65001, u"a\xD83D"
                          u"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Narrow(65001, u"\xDE00"), "\xEF\xBF\xBD");
}

TEST(Utf8, MeasuringCountsTheTerminator) {
  EXPECT_EQ(ToWide(65001, 0, "ab", -1, nullptr, 0), 3);
  EXPECT_EQ(ToNarrow(65001, 0, u"\u20AC", -1, nullptr, 0, nullptr, nullptr), 4);
}

TEST(Utf8, FullDestinationStopsWithoutError) {
  char out[3];
  EXPECT_EQ(ToNarrow(65001, 0, u"\u20AC", -1, out, 3, nullptr, nullptr), 3);
  EXPECT_EQ(std::string(out, 3), "\xE2\x82\xAC");
  char16_t wide[2];
  EXPECT_EQ(ToWide(65001, 0, "abcd", 4, wide, 2), 2);
}

TEST(CodePages, WindowsCodePagesDecode) {
  EXPECT_EQ(Wide(1252, "caf\xE9 \x80"), u"caf\u00E9 \u20AC");
  EXPECT_EQ(Wide(0, "\x80"), u"\u20AC");  // 0 is the ANSI code page, Windows-1252
  EXPECT_EQ(Wide(1251, "\xC4\xE0"), u"\u0414\u0430");
  EXPECT_EQ(Wide(1250, "\x8A"), u"\u0160");
  EXPECT_EQ(Wide(932, "\x93\xfa\x96\x7b"), u"\u65E5\u672C");
  EXPECT_EQ(Wide(949, "\xC7\xD1"), u"\uD55C");
  EXPECT_EQ(Wide(950, "\xA4\xA4"), u"\u4E2D");
  EXPECT_EQ(Wide(936, "\xD6\xD0"), u"\u4E2D");
}

TEST(CodePages, RoundTripThroughNarrow) {
  EXPECT_EQ(Narrow(1252, u"caf\u00E9"), "caf\xE9");
  EXPECT_EQ(Narrow(932, u"\u65E5"), "\x93\xfa");
}

TEST(CodePages, UnknownCodePageConvertsToNothing) {
  EXPECT_FALSE(IsSupportedCodePage(4242));
  EXPECT_EQ(ToWide(4242, 0, "abc", 3, nullptr, 0), 0);
  EXPECT_TRUE(Decode(4242, "abc").empty());
}

TEST(CodePages, SupportedCodePages) {
  for (unsigned cp : {0u, 65001u, 437u, 850u, 874u, 932u, 936u, 949u, 950u, 1250u, 1251u, 1252u,
                      1253u, 1254u, 1255u, 1256u, 1257u, 1258u, 28591u, 28595u, 20866u, 54936u}) {
    EXPECT_TRUE(IsSupportedCodePage(cp)) << cp;
  }
}

TEST(CodePages, EncodedByteCount) {
  EXPECT_EQ(EncodedByteCount(932, u"\u65E5"), 2);
  EXPECT_EQ(EncodedByteCount(932, u"a"), 1);
  EXPECT_EQ(EncodedByteCount(1252, u"\u00E9"), 1);
  EXPECT_EQ(EncodedByteCount(65001, u"\u00E9"), 2);
}

}  // namespace
