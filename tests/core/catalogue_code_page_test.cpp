// SPDX-License-Identifier: MIT
// The code page catalogue: its build, the resolution of a language to a code page, its names.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

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

TEST(CodePageCatalogue, IsOneCatalogueSharedByEveryThread) {
  struct Seen {
    const CodePageRecord* records = nullptr;
    size_t size = 0;
    unsigned hungarian = 0;
    std::string name;
  };
  std::vector<Seen> seen(4);
  std::vector<std::thread> threads;
  for (Seen& s : seen) {
    threads.emplace_back([&s] {
      s.records = CodePageCatalogue().data();
      s.size = CodePageCatalogue().size();
      s.hungarian = ResolveCodePage("HU", kFamilyWindows, nullptr);
      s.name = CodePageName(1250);
    });
  }
  for (std::thread& t : threads) t.join();
  for (const Seen& s : seen) {
    EXPECT_EQ(s.records, CodePageCatalogue().data());
    EXPECT_EQ(s.size, 84u);
    EXPECT_EQ(s.hungarian, 1250u);
    EXPECT_EQ(s.name, "Eastern European - Windows");
  }
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

}  // namespace
