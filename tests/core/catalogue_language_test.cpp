// SPDX-License-Identifier: MIT
// The language table and the display names of its languages.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "text/language_catalogue.h"
#include "text/language_lookup.h"
#include "text/string_table.h"

namespace {

TEST(LanguageTable, HoldsTheSelectableLanguagesOnce) {
  const auto table = LanguageTable();
  ASSERT_EQ(table.size(), 149u);
  std::set<std::string> codes, names;
  std::set<int> ids;
  for (const LanguageRecord& r : table) {
    EXPECT_TRUE(codes.insert(r.code).second) << r.code;
    EXPECT_TRUE(ids.insert(r.stringId).second) << r.stringId;
    // A language is picked by its name: no two share one, in any letter case.
    std::string name = LoadStringText(r.stringId);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(names.insert(name).second) << r.code;
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

// The language a code names, its code page and where the code page comes from.
struct LookUpCase {
  const char* code;
  LanguageQuery query;
  const char* language;  // nullptr: the code names none
  int codePage;
  CodePageSource source;
};

void PrintTo(const LookUpCase& c, std::ostream* os) {
  *os << '"' << c.code << (c.query == LanguageQuery::kPicked ? "\" picked" : "\" in a file");
}

class LookUpLanguageTest : public testing::TestWithParam<LookUpCase> {};

TEST_P(LookUpLanguageTest, SaysWhichCodePageAndWhy) {
  const LookUpCase& c = GetParam();
  const LanguageAnswer answer = LookUpLanguage(c.code, c.query);
  if (!c.language) {
    EXPECT_EQ(answer.language, nullptr);
  } else {
    ASSERT_NE(answer.language, nullptr);
    EXPECT_STREQ(answer.language->code, c.language);
  }
  EXPECT_EQ(answer.codePage, c.codePage);
  EXPECT_EQ(answer.source, c.source);
}

constexpr LanguageQuery kFile = LanguageQuery::kFileCode;
constexpr LanguageQuery kPick = LanguageQuery::kPicked;

INSTANTIATE_TEST_SUITE_P(
    FileCodes, LookUpLanguageTest,
    testing::Values(
        // The catalogue's form: the language table's code page, also where the alias code page
        // (FA 1252, AZ-XC 1251) or the families' (JI 1255, BS 1252) differ.
        LookUpCase{"EN-US", kFile, "EN-US", 1252, CodePageSource::kCatalogue},
        LookUpCase{"FA", kFile, "FA", 1256, CodePageSource::kCatalogue},
        LookUpCase{"AZ-XC", kFile, "AZ-XC", 1254, CodePageSource::kCatalogue},
        LookUpCase{"JI", kFile, "JI", 1252, CodePageSource::kCatalogue},
        LookUpCase{"BS", kFile, "BS", 1250, CodePageSource::kCatalogue},
        // Other forms: the alias code page.
        LookUpCase{"FA_00", kFile, "FA", 1252, CodePageSource::kAlias},
        LookUpCase{"AZ_CY", kFile, "AZ-XC", 1251, CodePageSource::kAlias},
        LookUpCase{"USE", kFile, "EN-US", 1252, CodePageSource::kAlias},
        LookUpCase{"DE-DE", kFile, "DE", 1252, CodePageSource::kAlias},
        LookUpCase{"SK-SK", kFile, "SK", 1250, CodePageSource::kAlias},
        LookUpCase{"UR_01", kFile, "UR", 1252, CodePageSource::kAlias},
        // No language: Bosnian has no other forms, lower case is no code, nor is a name.
        LookUpCase{"BS-BS", kFile, nullptr, 0, CodePageSource::kNone},
        LookUpCase{"en-us", kFile, nullptr, 0, CodePageSource::kNone},
        LookUpCase{"", kFile, nullptr, 0, CodePageSource::kNone},
        LookUpCase{"English (United States)", kFile, nullptr, 0, CodePageSource::kNone}));

INSTANTIATE_TEST_SUITE_P(
    PickedLanguages, LookUpLanguageTest,
    testing::Values(
        // The families' code page, whatever the language table says.
        LookUpCase{"EN-US", kPick, "EN-US", 1252, CodePageSource::kFamily},
        LookUpCase{"FA", kPick, "FA", 1256, CodePageSource::kFamily},
        LookUpCase{"AZ-XC", kPick, "AZ-XC", 1251, CodePageSource::kFamily},
        LookUpCase{"JI", kPick, "JI", 1255, CodePageSource::kFamily},
        LookUpCase{"BS", kPick, "BS", 1252, CodePageSource::kFamily},
        LookUpCase{"AR-SA", kPick, "AR-SA", 1256, CodePageSource::kFamily},
        LookUpCase{"ZH-TW", kPick, "ZH-TW", 950, CodePageSource::kFamily},
        // By display name, without case.
        LookUpCase{"English (United States)", kPick, "EN-US", 1252, CodePageSource::kFamily},
        LookUpCase{"greek", kPick, "EL", 1253, CodePageSource::kFamily},
        // Other text names no language (no other forms either); the families still give a
        // code page for it as a code: by its prefix, else their fallback.
        LookUpCase{"RU-XX", kPick, nullptr, 1251, CodePageSource::kFamily},
        LookUpCase{"EN_US", kPick, nullptr, 1252, CodePageSource::kFamily},
        LookUpCase{"XX", kPick, nullptr, 1252, CodePageSource::kFamily},
        LookUpCase{"", kPick, nullptr, 1252, CodePageSource::kFamily}));

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
