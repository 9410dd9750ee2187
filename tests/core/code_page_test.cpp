// SPDX-License-Identifier: MIT
#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "text/utf8_decoder.h"
#include "text/xml_chars.h"

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

// The units of bytes read sequence by sequence with the shared UTF-8 reader: "?" for a byte that
// begins none, a pair for a complete four-byte character, else the low 16 bits of the value.
std::u16string ReadBySequences(const std::string& bytes) {
  std::u16string out;
  for (size_t at = 0; at < bytes.size();) {
    const utf8::Sequence s = utf8::ReadUtf8Sequence(bytes, at);
    at += s.length;
    if (s.announced == utf8::kNoLead) {
      out += u'?';
    } else if (s.announced == 3 && s.taken == 3 && s.value > 0xFFFF && s.value <= 0x10FFFF) {
      out += static_cast<char16_t>(0xD800 + ((s.value - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + (s.value & 0x3FF));
    } else {
      out += static_cast<char16_t>(s.value & 0xFFFF);
    }
  }
  return out;
}

TEST_P(Utf8Decode, GivesUnits) {
  EXPECT_EQ(Wide(65001, GetParam().bytes), GetParam().expected);
  // The code page's decoder and the shared reader read the same sequences.
  EXPECT_EQ(ReadBySequences(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Decode,
    ::testing::Values(DecodeCase{"euro", "\xE2\x82\xAC", u"\u20AC"},
                      DecodeCase{"fourByteBecomesPair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
                      DecodeCase{"loneContinuation", "\x80", u"?"},
                      DecodeCase{"brokenSequenceKeepsNext", "\xC3\x41",
                                 u"\x0003"
                                 u"A"},
                      DecodeCase{"overlongNul", std::string("\xC0\x80", 2),
                                 std::u16string(1, u'\0')},
                      DecodeCase{"invalidLeads", "\xFE\xFF", u"??"},
                      DecodeCase{"truncatedAtEnd", "a\xE2\x82", u"a\x0082"},
                      DecodeCase{"fiveByteLead", "\xF8\x88\x80\x80\x81x", u"\x0001x"},
                      DecodeCase{"aboveUnicode", "\xF4\x90\x80\x81", u"\x0001"},
                      DecodeCase{"surrogateKept", "\xED\xA0\x80", u"\xD800"}),
    [](const auto& p) { return std::string(p.param.name); });

// Which bytes are one well-formed character: the check the command line's quoting and the
// plain segments of UTF-8 files share.
TEST(Utf8, WellFormedLength) {
  const std::vector<std::pair<std::string, size_t>> cases = {
      {"A", 1},
      {std::string(1, '\0'), 1},
      {"\xC2\x80", 2},
      {"\xDF\xBF", 2},
      {"\xC1\xBF", 0},  // overlong
      {"\xE0\x9F\xBF", 0},
      {"\xE0\xA0\x80", 3},
      {"\xED\x9F\xBF", 3},
      {"\xED\xA0\x80", 0},  // a surrogate
      {"\xEF\xBF\xBF", 3},
      {"\xF0\x8F\xBF\xBF", 0},
      {"\xF0\x90\x80\x80", 4},
      {"\xF4\x8F\xBF\xBF", 4},
      {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
      {"\xF5\x80\x80\x80", 0},
      {"\xF8\x88\x80\x80\x80", 0},
      {"\x80", 0},
      {"\xC2", 0},  // cut short
      {"\xE2\x82", 0},
      {"\xE2\x82"
       "A",
       0},
      {"\xFE", 0},
      {"\xFF", 0},
  };
  for (const auto& [bytes, length] : cases) {
    EXPECT_EQ(utf8::WellFormedLength(bytes, 0), length) << testing::PrintToString(bytes);
  }
}

TEST(Utf8, StrictFlagRejectsInvalidInput) {
  EXPECT_EQ(ToWide(65001, kFlagErrInvalidChars, "\x80", 1, nullptr, 0), 0);
  EXPECT_EQ(ToWide(65001, kFlagErrInvalidChars, "\xE2\x82", 2, nullptr, 0), 0);
  EXPECT_EQ(ToWide(65001, kFlagErrInvalidChars, "ok", 2, nullptr, 0), 2);
}

TEST(Utf8, EncodesPairsAsOneSequenceAndLoneSurrogatesAsReplacement) {
  EXPECT_EQ(Narrow(65001, u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(Narrow(65001, u"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(Narrow(65001, u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Narrow(65001,
                   u"a\xD83D"
                   u"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Narrow(65001, u"\xDE00"), "\xEF\xBF\xBD");
}

// UTF-8 written character by character: every unit kept (a lone surrogate as U+FFFD), or
// XML-safe (lone surrogates, U+FFFE, U+FFFF and controls other than tab, LF and CR left out).
std::string Utf8OneByOne(std::u16string_view text, bool xmlSafe) {
  std::string out;
  const auto put = [&out](char32_t c, int bits, unsigned lead) {
    out += static_cast<char>(lead | c >> bits);
    for (bits -= 6; bits >= 0; bits -= 6) out += static_cast<char>(0x80 | ((c >> bits) & 0x3F));
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    const bool surrogate = c >= 0xD800 && c < 0xE000;
    if (c < 0xDC00 && surrogate && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (surrogate) {
      if (xmlSafe) continue;
      c = 0xFFFD;
    }
    if (xmlSafe && ((c < 0x20 && c != 9 && c != 10 && c != 13) || c == 0xFFFE || c == 0xFFFF)) {
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      put(c, c < 0x800 ? 6 : c < 0x10000 ? 12 : 18, c < 0x800 ? 0xC0 : c < 0x10000 ? 0xE0 : 0xF0);
    }
  }
  return out;
}

// ASCII is copied in blocks, and the rest of a run after the last whole block is read with the
// units before it: runs of every length up to three blocks, another character at every place.
TEST(Utf8, RunsOfEveryLengthEncodeAsCharacterByCharacter) {
  const std::u16string others[] = {u"",       u"\u0001",     u"\u007F", u"\u00E9",
                                   u"\u4E2D", u"\U0001F600", u"\xD83D", u"\uFFFF"};
  for (size_t n = 0; n <= 24; ++n) {
    for (size_t at = 0; at <= n; ++at) {
      for (const std::u16string& other : others) {
        std::u16string text;
        for (size_t k = 0; k < n; ++k) text += static_cast<char16_t>(u'a' + k % 26);
        text.insert(at, other);
        EXPECT_EQ(Narrow(65001, text), Utf8OneByOne(text, false)) << n << " " << at;
        std::string xml(3 * text.size(), '\0');
        xml.resize(EncodeXmlSafeUtf8(text, xml.data()));
        EXPECT_EQ(xml, Utf8OneByOne(text, true)) << n << " " << at;
      }
    }
  }
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

// What Windows gives where ICU's converters differ from it.
struct WindowsCase {
  const char* name;
  unsigned codePage;
  std::string bytes;
  std::u16string expected;
};

void PrintTo(const WindowsCase& c, std::ostream* os) {
  *os << c.name;
}

class WindowsDecode : public ::testing::TestWithParam<WindowsCase> {};

TEST_P(WindowsDecode, GivesWhatWindowsGives) {
  const WindowsCase& c = GetParam();
  EXPECT_EQ(Wide(c.codePage, c.bytes), c.expected);
  EXPECT_EQ(Decode(c.codePage, c.bytes), c.expected);
  EXPECT_EQ(ToWide(c.codePage, 0, c.bytes.data(), static_cast<int>(c.bytes.size()), nullptr, 0),
            static_cast<int>(c.expected.size()));
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, WindowsDecode,
    ::testing::Values(
        // 932: ASCII control layout, the bytes without a character, lead bytes without a trail.
        WindowsCase{"deleteIn932", 932,
                    "a\x7F"
                    "b",
                    u"a\u007Fb"},
        WindowsCase{"controlsIn932", 932, "\x1A\x1C", u"\u001A\u001C"},
        WindowsCase{"byte80In932", 932, "\x80", u"\u0080"},
        WindowsCase{"byteA0In932", 932, "\xA0", u"\uF8F0"},
        WindowsCase{"bytesFDtoFFIn932", 932, "\xFD\xFE\xFF", u"\uF8F1\uF8F2\uF8F3"},
        WindowsCase{"badTrailTakesBothBytesIn932", 932, "\x81\x20\x41",
                    u"\u30FB"
                    u"A"},
        WindowsCase{"leadByteAtTheEndIn932", 932, "a\x81", u"a\u30FB"},
        WindowsCase{"unmappedPairIn932", 932, "\x85\x40", u"\u30FB"},
        WindowsCase{"userDefinedIn932", 932, "\xF0\x40", u"\uE000"},
        // 936, 949, 950: user-defined areas, "?" for a bad trail and a lone lead byte.
        WindowsCase{"userDefinedIn936", 936, "\xAC\xBC", u"\uE0D7"},
        WindowsCase{"badTrailIn936", 936, "\xD9\x20", u"?"},
        WindowsCase{"byte80In936", 936, "\x80", u"\u20AC"},
        WindowsCase{"leadByteAtTheEndIn936", 936, "\xD6", u"?"},
        WindowsCase{"userDefinedIn949", 949, "\xC9\xA1", u"\uE000"},
        WindowsCase{"badTrailIn949", 949, "\xC7\x20z", u"?z"},
        WindowsCase{"userDefinedIn950", 950, "\x81\x40", u"\uEEB8"},
        WindowsCase{"userDefinedRowC6In950", 950, "\xC6\xA1", u"\uF6B1"},
        WindowsCase{"badTrailIn950", 950, "\xA4\x0A", u"?"},
        // DOS code pages keep the ASCII controls; undefined bytes go to the private use area.
        WindowsCase{"deleteIn437", 437, "\x7F\x1A\x1C", u"\u007F\u001A\u001C"},
        WindowsCase{"microIn437", 437, "\xE6", u"\u00B5"},
        WindowsCase{"undefinedIn857", 857, "\xD5", u"\uF8BB"},
        WindowsCase{"undefinedIn1253", 1253, "\xAA\xD2\xFF", u"\uF8F9\uF8FA\uF8FB"},
        WindowsCase{"undefinedIn1255", 1255, "\xD9", u"\uF88D"},
        WindowsCase{"undefinedIn1257", 1257, "\xA1", u"\uF8FC"},
        // Code pages that ICU lacks.
        WindowsCase{"johabHangul", 1361, "\x88\x61", u"\uAC00"},
        WindowsCase{"johabLoneInitial", 1361, "\x88\x41", u"\u1100"},
        WindowsCase{"johabHanja", 1361, "\xE0\x31", u"\u4F3D"},
        WindowsCase{"macChineseTraditional", 10002, "\xA4\xA4", u"\u4E2D"},
        WindowsCase{"macKorean", 10003, "\xC7\xD1", u"\uD55C"},
        WindowsCase{"macChineseSimplified", 10008, "\xD6\xD0", u"\u4E2D"},
        WindowsCase{"macArabic", 10004, "\xC7", u"\u0627"},
        WindowsCase{"macHebrew", 10005, "\xE0", u"\u05D0"},
        WindowsCase{"asmo708", 708, "\xC7", u"\u0627"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(CodePages, TextOfEveryCodePageDecodesTheSameOnSeveralThreads) {
  const std::string japanese = "\x93\xFA\x96\x7B\x81\x20 abc \x7F\xA0";
  const std::string western = "caf\xE9 \x80 \x9D";
  const std::u16string japaneseWide = Decode(932, japanese);
  const std::u16string westernWide = Decode(1252, western);
  std::vector<std::u16string> results(8);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < results.size(); ++t) {
    threads.emplace_back([&, t] {
      // Code pages not decoded before are built while other threads decode too.
      const unsigned codePage = t % 2 == 0 ? 936u : 10008u;
      std::u16string all;
      for (int round = 0; round < 50; ++round) {
        all = Decode(932, japanese) + Decode(1252, western) + Decode(codePage, "\xD6\xD0");
      }
      results[t] = all;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::u16string& r : results) {
    EXPECT_EQ(r, japaneseWide + westernWide + u"\u4E2D");
  }
}

TEST(CodePages, DestinationLimitsDoubleByteText) {
  char16_t out[2] = {};
  EXPECT_EQ(ToWide(932, 0,
                   "\x93\xFA\x96\x7B"
                   "abc",
                   7, out, 2),
            2);
  EXPECT_EQ(std::u16string(out, 2), u"\u65E5\u672C");
  // Measuring counts a pair once and a final lead byte once.
  EXPECT_EQ(ToWide(932, 0, "\x93\xFA\x81", 3, nullptr, 0), 2);
  EXPECT_EQ(ToWide(932, 0, "\x93\xFA", -1, nullptr, 0), 2);
}

TEST(CodePages, LongRunsOfAsciiAroundDoubleByteCharacters) {
  const std::string ascii(40, 'x');
  EXPECT_EQ(Decode(932, ascii + "\x93\xFA" + ascii + "\x81"),
            std::u16string(40, u'x') + u"\u65E5" + std::u16string(40, u'x') + u"\u30FB");
  EXPECT_EQ(Decode(1252, ascii + "\x80" + ascii),
            std::u16string(40, u'x') + u"\u20AC" + std::u16string(40, u'x'));
}

TEST(CodePages, UnicodeCodePagesCannotDecodeBytes) {
  for (unsigned cp : {1200u, 1201u, 12000u, 12001u, 65000u}) {
    EXPECT_FALSE(CanDecodeBytes(cp)) << cp;
    EXPECT_FALSE(IsSupportedCodePage(cp)) << cp;
    EXPECT_EQ(ToWide(cp, 0, "ab", 2, nullptr, 0), 0) << cp;
    EXPECT_TRUE(Decode(cp, "ab").empty()) << cp;
  }
  for (unsigned cp : {0u, 437u, 932u, 1252u, 54936u, 65001u}) EXPECT_TRUE(CanDecodeBytes(cp)) << cp;
}

// Only UTF-8 is written; of the other code pages the program needs the lengths only.
TEST(CodePages, OnlyUtf8IsEncoded) {
  EXPECT_EQ(Narrow(65001, u"caf\u00E9"), "caf\xC3\xA9");
  EXPECT_EQ(Narrow(1252, u"caf\u00E9"), "");
  EXPECT_EQ(Narrow(932, u"\u65E5"), "");
  EXPECT_EQ(EncodedByteCount(1252, u"caf\u00E9"), 4);
  EXPECT_EQ(EncodedByteCount(932, u"\u65E5"), 2);
}

TEST(CodePages, UnknownCodePageConvertsToNothing) {
  EXPECT_FALSE(IsSupportedCodePage(4242));
  // Code pages outside the catalogue have no data compiled in.
  EXPECT_FALSE(IsSupportedCodePage(28605));
  EXPECT_EQ(ToWide(28605, 0, "abc", 3, nullptr, 0), 0);
  EXPECT_EQ(ToWide(4242, 0, "abc", 3, nullptr, 0), 0);
  EXPECT_TRUE(Decode(4242, "abc").empty());
}

TEST(CodePages, SupportedCodePages) {
  for (unsigned cp :
       {0u,    65001u, 437u,  850u,  874u,  932u,  936u,  949u,   950u,   1250u,  1251u,
        1252u, 1253u,  1254u, 1255u, 1256u, 1257u, 1258u, 28591u, 28595u, 20866u, 54936u}) {
    EXPECT_TRUE(IsSupportedCodePage(cp)) << cp;
  }
}

TEST(CodePages, EncodedByteCount) {
  EXPECT_EQ(EncodedByteCount(932, u"\u65E5"), 2);
  EXPECT_EQ(EncodedByteCount(932, u"a"), 1);
  EXPECT_EQ(EncodedByteCount(1252, u"\u00E9"), 1);
  EXPECT_EQ(EncodedByteCount(65001, u"\u00E9"), 2);
  // Code pages that only a decoding table knows count by the table.
  EXPECT_EQ(EncodedByteCount(10003, u"\uD55C"), 2);
  EXPECT_EQ(EncodedByteCount(1361, u"\uAC00a"), 3);
  EXPECT_EQ(EncodedByteCount(10008, u"a"), 1);
  // GB18030 takes four bytes for a character outside its two-byte set and for a pair.
  EXPECT_EQ(EncodedByteCount(54936, u"\u00E9"), 2);
  EXPECT_EQ(EncodedByteCount(54936, u"\u0080"), 4);
  EXPECT_EQ(EncodedByteCount(54936, u"\xD83D\xDE00"), 4);
  // A character that the code page leaves out entirely counts as the table counts it.
  EXPECT_EQ(EncodedByteCount(932, u"\u00AD"), 2);
}

}  // namespace
