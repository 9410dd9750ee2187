// SPDX-License-Identifier: MIT
// The language table and the display names of its languages.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "text/language_catalogue.h"
#include "text/string_table.h"

namespace {

TEST(LanguageTable, HoldsTheSelectableLanguagesOnce) {
  const auto table = LanguageTable();
  ASSERT_EQ(table.size(), 149u);
  std::set<std::string> codes;
  std::set<int> ids;
  for (const LanguageRecord& r : table) {
    EXPECT_TRUE(codes.insert(r.code).second) << r.code;
    EXPECT_TRUE(ids.insert(r.stringId).second) << r.stringId;
    EXPECT_TRUE((r.stringId >= 20002 && r.stringId <= 20099) ||
                (r.stringId >= 20101 && r.stringId <= 20150) || r.stringId == 20157)
        << r.code;
    EXPECT_FALSE(LoadStringText(r.stringId).empty()) << r.code;
    EXPECT_NE(r.ansiCodePage, 0u) << r.code;
  }
}

TEST(LanguageTable, KeepsItsStoredOrder) {
  const auto table = LanguageTable();
  EXPECT_STREQ(table[0].code, "AF");
  EXPECT_STREQ(table[1].code, "SQ");
  // Bosnian was added later: its string id is out of sequence, its place alphabetical.
  EXPECT_STREQ(table[22].code, "BS");
  EXPECT_EQ(table[22].stringId, 20157);
  EXPECT_STREQ(table[148].code, "JI");
}

TEST(LanguageTable, FindsByExactCode) {
  const LanguageRecord* de = FindLanguageRecord("DE");
  ASSERT_NE(de, nullptr);
  EXPECT_STREQ(de->code, "DE");
  EXPECT_EQ(FindLanguageRecord("de"), nullptr);
  EXPECT_EQ(FindLanguageRecord("DE_DE"), nullptr);
  EXPECT_EQ(FindLanguageRecord(""), nullptr);
  EXPECT_EQ(FindLanguageRecord("EN-US "), nullptr);
}

struct NameCase {
  const char* code;
  const char* name;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << '"' << c.code << '"';
}

class LanguageDisplayNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(LanguageDisplayNameTest, NamesTheLanguage) {
  EXPECT_EQ(LanguageDisplayName(GetParam().code), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(CatalogueCodes, LanguageDisplayNameTest,
                         testing::Values(NameCase{"EN-US", "English (United States)"},
                                         NameCase{"DE", "German (Germany)"},
                                         NameCase{"ZH-TW", "Chinese (Taiwan)"},
                                         NameCase{"HE", "Hebrew"}, NameCase{"BS", "Bosnian"},
                                         // UTF-8: a with ring above is C3 A5.
                                         NameCase{"NO-NO", "Norwegian (Bokm\xC3\xA5l)"},
                                         NameCase{"ES-XM", "Spanish -International-"}));

INSTANTIATE_TEST_SUITE_P(OtherTextsComeBackUnchanged, LanguageDisplayNameTest,
                         testing::Values(NameCase{"EN_US", "EN_US"}, NameCase{"en-us", "en-us"},
                                         NameCase{"German (Germany)", "German (Germany)"},
                                         NameCase{"", ""}));

TEST(CatalogueStrings, CoverExactlyTheCatalogueIds) {
  std::set<int> ids;
  for (const StringEntry& e : CatalogueStrings()) {
    EXPECT_TRUE(ids.insert(e.id).second) << e.id;
    EXPECT_NE(e.text, nullptr);
  }
  int languageNames = 0, codePageNames = 0;
  for (int id : ids) {
    if (id >= 20002 && id <= 20157)
      ++languageNames;
    else if (id >= 30002 && id <= 30085)
      ++codePageNames;
    else
      ADD_FAILURE() << "unexpected id " << id;
  }
  EXPECT_EQ(languageNames, 149);
  EXPECT_EQ(codePageNames, 84);
  EXPECT_EQ(ids.count(20100), 0u);
  EXPECT_STREQ(LoadStringUtf8(20157), "Bosnian");
  EXPECT_STREQ(LoadStringUtf8(30032), "Western European - Windows");
}

}  // namespace
