// SPDX-License-Identifier: MIT
// The code page catalogue: its build, the resolution of a language to a code page, its names.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "text/code_page.h"
#include "text/code_page_catalogue.h"
#include "text/code_page_table.h"
#include "text/language_catalogue.h"

namespace {

struct ResolveCase {
  const char* code;
  unsigned char mask;
  unsigned codePage;
  const char* name;
};

void PrintTo(const ResolveCase& c, std::ostream* os) {
  *os << '"' << c.code << "\" mask " << int(c.mask);
}

class ResolveCodePageTest : public testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveCodePageTest, GivesCodePageAndName) {
  const ResolveCase& c = GetParam();
  std::string name = "stale";
  EXPECT_EQ(ResolveCodePage(c.code, c.mask, &name), c.codePage);
  EXPECT_EQ(name, c.name);
  EXPECT_EQ(ResolveCodePage(c.code, c.mask, nullptr), c.codePage);
}

INSTANTIATE_TEST_SUITE_P(
    WholeCodeFirst, ResolveCodePageTest,
    testing::Values(ResolveCase{"RU", 1, 1251, "Cyrillic - Windows"},
                    ResolveCase{"SR", 1, 1250, "Eastern European - Windows"},
                    ResolveCase{"SR-XC", 1, 1251, "Cyrillic - Windows"},
                    // 936 and 54936 both list ZH-CN; the lower code page comes first.
                    ResolveCase{"ZH-CN", 1, 936, "Chinese (simplified) - Windows, DOS"},
                    ResolveCase{"JA", 1, 932, "Japanese - Windows, DOS"},
                    ResolveCase{"EN-US", 2, 437, "United States - DOS"},
                    // 737 and 869 both list EL.
                    ResolveCase{"EL", 2, 737, "Greek (aka 437G) - DOS"},
                    ResolveCase{"EL", 1, 1253, "Greek - Windows"},
                    ResolveCase{"ZH-SG", 2, 936, "Chinese (simplified) - Windows, DOS"},
                    ResolveCase{"RU", 4, 28595, "ISO 8859-5 Cyrillic"},
                    ResolveCase{"AZ-XE", 4, 28593, "ISO 8859-3 Turkish"},
                    // Windows or DOS: the first record of either family listing the code.
                    ResolveCase{"EN-US", 3, 437, "United States - DOS"},
                    ResolveCase{"EL", 3, 737, "Greek (aka 437G) - DOS"},
                    ResolveCase{"RU", 7, 866, "Russian - DOS"}));

INSTANTIATE_TEST_SUITE_P(PrefixInSecondPass, ResolveCodePageTest,
                         testing::Values(ResolveCase{"AR-SA", 1, 1256, "Arabic - Windows"},
                                         ResolveCase{"AR-SA", 2, 864, "Arabic - DOS"},
                                         ResolveCase{"NO-NO", 2, 865, "Nordic - DOS"},
                                         ResolveCase{"RU-XX", 1, 1251, "Cyrillic - Windows"}));

INSTANTIATE_TEST_SUITE_P(FamilyFallback, ResolveCodePageTest,
                         testing::Values(
                             // 437 (DOS) lists EN-US, but no Windows record does.
                             ResolveCase{"EN-US", 1, 1252, "Western European - Windows"},
                             ResolveCase{"XX", 1, 1252, "Western European - Windows"},
                             ResolveCase{"XX", 2, 850, "Multilingual (Latin I) - DOS"},
                             ResolveCase{"XX", 4, 28591, "ISO 8859-1 Western Europe"},
                             ResolveCase{"EN-US", 4, 28591, "ISO 8859-1 Western Europe"},
                             // Byte comparison: lower case codes are no tokens.
                             ResolveCase{"ru", 1, 1252, "Western European - Windows"},
                             ResolveCase{"", 1, 1252, "Western European - Windows"},
                             ResolveCase{"R", 1, 1252, "Western European - Windows"},
                             // No record of the family: nothing.
                             ResolveCase{"RU", 0, 0, ""}, ResolveCase{"RU", 8, 0, ""}));

// Real-world Windows ANSI code pages of some languages: both the language table and the catalogue
// must agree with them.
struct AnsiCase {
  const char* code;
  unsigned codePage;
};

void PrintTo(const AnsiCase& c, std::ostream* os) {
  *os << '"' << c.code << '"';
}

class WellKnownAnsiCodePageTest : public testing::TestWithParam<AnsiCase> {};

TEST_P(WellKnownAnsiCodePageTest, TableAndCatalogueAgree) {
  const AnsiCase& c = GetParam();
  const LanguageRecord* record = FindLanguageRecord(c.code);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->ansiCodePage, c.codePage);
  EXPECT_EQ(ResolveCodePage(c.code, kFamilyWindows, nullptr), c.codePage);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WellKnownAnsiCodePageTest,
    testing::Values(AnsiCase{"EN-GB", 1252}, AnsiCase{"DE-CH", 1252}, AnsiCase{"PL", 1250},
                    AnsiCase{"CS", 1250}, AnsiCase{"UK", 1251}, AnsiCase{"BG", 1251},
                    AnsiCase{"EL", 1253}, AnsiCase{"TR", 1254}, AnsiCase{"HE", 1255},
                    AnsiCase{"AR-EG", 1256}, AnsiCase{"FA", 1256}, AnsiCase{"LT", 1257},
                    AnsiCase{"VI", 1258}, AnsiCase{"TH", 874}, AnsiCase{"JA", 932},
                    AnsiCase{"ZH-SG", 936}, AnsiCase{"KO", 949}, AnsiCase{"ZH-HK", 950},
                    AnsiCase{"ZH-TW", 950}));

TEST(CodePageCatalogue, IsTheStaticTableSortedWithOneRecordPerCodePage) {
  const auto catalogue = CodePageCatalogue();
  ASSERT_EQ(catalogue.size(), 84u);
  EXPECT_EQ(catalogue.front().codePage, 37u);
  EXPECT_EQ(catalogue.back().codePage, 100001u);
  for (size_t i = 1; i < catalogue.size(); ++i) {
    EXPECT_LT(catalogue[i - 1].codePage, catalogue[i].codePage) << i;
  }
  for (const CodePageRecord& r : catalogue) {
    EXPECT_FALSE(r.displayName.empty()) << r.codePage;
    EXPECT_LE(r.family, 7) << r.codePage;
    // Every listed language is a catalogue code or the two-letter prefix of one.
    size_t pos = 0;
    while (pos < r.languages.size()) {
      size_t blank = r.languages.find(' ', pos);
      if (blank == std::string::npos) blank = r.languages.size();
      const std::string token = r.languages.substr(pos, blank - pos);
      EXPECT_FALSE(token.empty()) << r.codePage << " has a double blank";
      bool known = FindLanguageRecord(token) != nullptr;
      for (const LanguageRecord& l : LanguageTable()) {
        known = known || std::string(l.code).rfind(token + "-", 0) == 0;
      }
      EXPECT_TRUE(known) << token << " in " << r.codePage;
      pos = blank + 1;
    }
  }
}

TEST(CodePageCatalogue, FamilyFallbacksAreUnique) {
  // Exactly one record of each family has no languages: the answer for any unknown language.
  for (const unsigned char family : {kFamilyWindows, kFamilyDos, kFamilyIso}) {
    std::vector<unsigned> empty;
    for (const CodePageRecord& r : CodePageCatalogue()) {
      if ((r.family & family) != 0 && r.languages.empty()) empty.push_back(r.codePage);
    }
    EXPECT_EQ(empty.size(), 1u) << int(family);
  }
}

TEST(CodePageCatalogue, NamesComeFromTheStringTable) {
  EXPECT_EQ(CodePageName(500), "IBM EBCDIC International");
  EXPECT_EQ(CodePageName(37), "IBM EBCDIC U.S./Canada");
  EXPECT_EQ(CodePageName(65001), "Unicode (UTF-8)");
  EXPECT_EQ(CodePageName(28599), "ISO 8859-9");
  EXPECT_EQ(CodePageName(0), "");
  EXPECT_EQ(CodePageName(12345), "");
  EXPECT_EQ(CodePageName(50000), "");
}

TEST(CodePageCatalogue, IsBuiltAgainAfterBeingFreed) {
  const std::string before = CodePageName(1250);
  FreeCodePageCatalogue();
  FreeCodePageCatalogue();  // twice is harmless
  EXPECT_EQ(CodePageName(1250), before);
  EXPECT_EQ(CodePageCatalogue().size(), 84u);
  EXPECT_EQ(ResolveCodePage("HU", kFamilyWindows, nullptr), 1250u);
}

CodePageRecord Record(unsigned codePage, const char* name, int stringId = 0) {
  CodePageRecord r;
  r.codePage = codePage;
  r.displayName = name;
  r.displayStringId = stringId;
  return r;
}

TEST(CodePageCatalogueBuild, FirstRecordOfACodePageWins) {
  std::vector<CodePageRecord> list;
  InsertFirstOfCodePage(list, Record(1252, "first"));
  InsertFirstOfCodePage(list, Record(37, "low"));
  InsertFirstOfCodePage(list, Record(1252, "second"));
  InsertFirstOfCodePage(list, Record(65001, "high"));
  InsertFirstOfCodePage(list, Record(850, "middle"));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].displayName, "low");
  EXPECT_EQ(list[1].displayName, "middle");
  EXPECT_EQ(list[2].displayName, "first");
  EXPECT_EQ(list[3].displayName, "high");
}

TEST(CodePageCatalogueBuild, ServiceDescriptionsReplaceAndExtend) {
  std::vector<CodePageRecord> list{Record(437, "United States - DOS", 30003),
                                   Record(1252, "Western European - Windows", 30032)};
  list[1].family = kFamilyWindows;
  CodePageRecord utf7 = Record(65000, "Unicode (UTF-7)");
  utf7.charsetName = "utf-7";
  const std::vector<CodePageRecord> enumerated{Record(50000, "Auto-Select"),
                                               Record(1252, "Western European (Windows)"), utf7,
                                               Record(20127, "US-ASCII")};
  MergeCodePages(list, enumerated);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].codePage, 437u);
  EXPECT_EQ(list[0].displayStringId, 30003);
  EXPECT_EQ(list[1].codePage, 1252u);
  EXPECT_EQ(list[1].displayName, "Western European (Windows)");
  EXPECT_EQ(list[1].displayStringId, 0);
  EXPECT_EQ(list[1].family, kFamilyWindows);
  EXPECT_EQ(list[2].codePage, 20127u);
  EXPECT_EQ(list[3].codePage, 65000u);
  EXPECT_EQ(list[3].charsetName, "utf-7");
  EXPECT_EQ(list[3].family, 0);
  EXPECT_TRUE(list[3].languages.empty());
  for (const CodePageRecord& r : list) EXPECT_NE(r.codePage, 50000u);
}

TEST(CodePageCatalogueBuild, NoServiceOnThisPlatform) {
  EXPECT_TRUE(EnumerateSystemCodePages().empty());
  std::vector<CodePageRecord> list{Record(1252, "x")};
  MergeSystemCodePages(list);
  EXPECT_EQ(list.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Decoding of every catalogue code page: all single bytes and, for the double-byte code pages,
// all lead/trail pairs.

std::u16string WideOf(unsigned codePage, const unsigned char* bytes, int n) {
  char16_t out[4] = {};
  const int units = ToWide(codePage, 0, reinterpret_cast<const char*>(bytes), n, out, 4);
  return std::u16string(out, static_cast<size_t>(units > 0 ? units : 0));
}

// The catalogue's double-byte code pages.
bool HasPairs(unsigned codePage) {
  for (unsigned cp : {932u, 936u, 949u, 950u, 1361u, 10002u, 10003u, 10008u}) {
    if (cp == codePage) return true;
  }
  return false;
}

// A code page's table as Windows' own table file (c_NNN.nls) describes it; Wine installs such
// files, built from the published mappings.
class NlsTable {
 public:
  bool Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    m_words.resize(bytes.size() / 2);
    for (size_t i = 0; i < m_words.size(); ++i) {
      m_words[i] = static_cast<uint16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    if (m_words.size() < 300 || m_words[0] < 13) return false;
    m_defaultChar = static_cast<char16_t>(m_words[4]);
    size_t at = m_words[0];
    m_multiByte = at + 1;
    at = m_multiByte + 256;
    at += m_words[at] != 0 ? 257 : 1;  // glyph table
    if (at >= m_words.size()) return false;
    m_dbcsOffsets = m_words[at] != 0 ? at + 1 : 0;
    return true;
  }
  bool IsLead(unsigned char b) const { return m_dbcsOffsets != 0 && Word(m_dbcsOffsets + b) != 0; }
  // What Windows gives for the bytes: a lead byte takes the next byte with it; a lead byte at
  // the end gives the default character.
  std::u16string Decode(const unsigned char* s, int n) const {
    std::u16string out;
    for (int i = 0; i < n; ++i) {
      if (!IsLead(s[i])) {
        out.push_back(static_cast<char16_t>(Word(m_multiByte + s[i])));
      } else if (i + 1 < n) {
        out.push_back(
            static_cast<char16_t>(Word(m_dbcsOffsets + Word(m_dbcsOffsets + s[i]) + s[i + 1])));
        ++i;
      } else {
        out.push_back(m_defaultChar);
      }
    }
    return out;
  }

 private:
  uint16_t Word(size_t i) const { return i < m_words.size() ? m_words[i] : 0xFFFF; }
  std::vector<uint16_t> m_words;
  char16_t m_defaultChar = u'?';
  size_t m_multiByte = 0;
  size_t m_dbcsOffsets = 0;
};

std::string Hex(std::u16string_view units) {
  std::string out;
  char buffer[8];
  for (char16_t u : units) {
    std::snprintf(buffer, sizeof buffer, " %04X", static_cast<unsigned>(u));
    out += buffer;
  }
  return out;
}

// Compares the decoding of every single byte (and every pair) with the table; returns the number
// of differences and describes the first few.
int CompareWithNls(unsigned codePage, const NlsTable& nls, std::string& report) {
  int differences = 0;
  const auto check = [&](const unsigned char* s, int n) {
    const std::u16string ours = WideOf(codePage, s, n);
    const std::u16string windows = nls.Decode(s, n);
    if (ours == windows) return;
    if (++differences <= 8) {
      char bytes[16];
      std::snprintf(bytes, sizeof bytes, n == 1 ? "%02X" : "%02X %02X", s[0], n > 1 ? s[1] : 0);
      report += std::string("\n  ") + bytes + ": ours" + Hex(ours) + ", Windows" + Hex(windows);
    }
  };
  for (int b = 0; b < 256; ++b) {
    const unsigned char s[1] = {static_cast<unsigned char>(b)};
    check(s, 1);
  }
  for (int lead = 0; HasPairs(codePage) && lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      const unsigned char s[2] = {static_cast<unsigned char>(lead),
                                  static_cast<unsigned char>(trail)};
      check(s, 2);
    }
  }
  return differences;
}

TEST(CatalogueDecoding, MatchesWindowsTablesWhereInstalled) {
  const std::string directory = "/usr/share/wine/nls/";
  int compared = 0;
  std::string skipped;
  for (const StaticCodePage& record : StaticCodePageTable()) {
    if (!IsSupportedCodePage(record.codePage)) {
      skipped += " " + std::to_string(record.codePage) + " (cannot be decoded)";
      continue;
    }
    NlsTable nls;
    char name[32];
    std::snprintf(name, sizeof name, "c_%03u.nls", record.codePage);
    if (!nls.Load(directory + name)) {
      skipped += " " + std::to_string(record.codePage);
      continue;
    }
    ++compared;
    std::string report;
    EXPECT_EQ(CompareWithNls(record.codePage, nls, report), 0) << record.codePage << report;
  }
  if (compared == 0) {
    GTEST_SKIP() << "no Windows code page tables in " << directory
                 << " (Debian package libwine): compared nothing";
  }
  std::printf("compared %d catalogue code pages with %s; no table for:%s\n", compared,
              directory.c_str(), skipped.c_str());
}

}  // namespace
