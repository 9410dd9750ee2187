// SPDX-License-Identifier: MIT
// What the language and encoding lists hold, which item they select and what is read back.
#include <gtest/gtest.h>
#include <strings.h>

#include <string>
#include <vector>

#include "text/code_page.h"
#include "text/language_catalogue.h"
#include "text/language_lookup.h"
#include "ui/combo_model.h"

namespace {

bool SortedIgnoringCase(const ComboModel& model) {
  for (size_t i = 1; i < model.items.size(); ++i) {
    if (strcasecmp(model.items[i - 1].text.c_str(), model.items[i].text.c_str()) > 0) return false;
  }
  return true;
}

const ComboItem& Selected(const ComboModel& model) {
  return model.items.at(static_cast<size_t>(model.selected));
}

TEST(LanguageCombo, ListsEveryLanguageSortedByName) {
  const ComboModel model = LanguageComboModel("EN-US");
  ASSERT_EQ(model.items.size(), 149u);
  EXPECT_TRUE(SortedIgnoringCase(model));
  EXPECT_EQ(model.items.front().text, "Afrikaans");
  EXPECT_EQ(model.items.front().code, "AF");
  EXPECT_EQ(model.items.back().text, "Yiddish");
  EXPECT_EQ(model.items.back().code, "JI");
  // Items keep their own code after sorting.
  for (const ComboItem& item : model.items) EXPECT_EQ(LanguageDisplayName(item.code), item.text);
}

struct SelectCase {
  const char* current;
  const char* selectedCode;  // nullptr: no selection
};

void PrintTo(const SelectCase& c, std::ostream* os) {
  *os << '"' << c.current << '"';
}

class LanguageComboSelection : public testing::TestWithParam<SelectCase> {};

TEST_P(LanguageComboSelection, SelectsTheCurrentLanguage) {
  const ComboModel model = LanguageComboModel(GetParam().current);
  if (!GetParam().selectedCode) {
    EXPECT_EQ(model.selected, -1);
    return;
  }
  ASSERT_GE(model.selected, 0);
  EXPECT_EQ(Selected(model).code, GetParam().selectedCode);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LanguageComboSelection,
    testing::Values(SelectCase{"EN-US", "EN-US"}, SelectCase{"DE", "DE"}, SelectCase{"BS", "BS"},
                    SelectCase{"NO-NO", "NO-NO"},
                    // A stored display name is found as a name, case-insensitively.
                    SelectCase{"German (Germany)", "DE"}, SelectCase{"greek", "EL"},
                    SelectCase{"XX-XX", nullptr}, SelectCase{"EN_US", nullptr},
                    SelectCase{"", nullptr}));

TEST(EncodingCombo, ListsSupportedCodePagesSortedByName) {
  const ComboModel model = EncodingComboModel(1252);
  EXPECT_TRUE(SortedIgnoringCase(model));
  size_t supported = 0;
  for (const CodePageRecord& r : CodePageCatalogue()) supported += IsSupportedCodePage(r.codePage);
  EXPECT_EQ(model.items.size(), supported);
  EXPECT_GT(model.items.size(), 20u);
  for (const ComboItem& item : model.items) {
    EXPECT_TRUE(IsSupportedCodePage(item.codePage)) << item.codePage;
    EXPECT_EQ(CodePageName(item.codePage), item.text);
  }
  ASSERT_GE(model.selected, 0);
  EXPECT_EQ(Selected(model).codePage, 1252u);
  EXPECT_EQ(Selected(model).text, "Western European - Windows");
}

TEST(EncodingCombo, UnknownCodePageSelectsNothing) {
  EXPECT_EQ(EncodingComboModel(12345).selected, -1);
  EXPECT_EQ(EncodingComboModel(0).selected, -1);
}

TEST(EncodingCombo, SelectsUtf8) {
  const ComboModel model = EncodingComboModel(65001);
  ASSERT_GE(model.selected, 0);
  EXPECT_EQ(Selected(model).codePage, 65001u);
}

TEST(FindStringExact, MatchesWholeTextIgnoringCase) {
  ComboModel model;
  model.items = {{"Greek", "EL", 0}, {"Greek - Windows", "", 1253}, {"greek", "x", 0}};
  EXPECT_EQ(FindStringExact(model, "Greek"), 0);
  EXPECT_EQ(FindStringExact(model, "GREEK - WINDOWS"), 1);
  EXPECT_EQ(FindStringExact(model, "Gree"), -1);
  EXPECT_EQ(FindStringExact(model, ""), -1);
  EXPECT_EQ(FindStringExact(ComboModel{}, "Greek"), -1);
}

struct ReadBackCase {
  const char* code;
  int codePage;
};

void PrintTo(const ReadBackCase& c, std::ostream* os) {
  *os << '"' << c.code << '"';
}

class GetSelectedLanguageTest : public testing::TestWithParam<ReadBackCase> {};

TEST_P(GetSelectedLanguageTest, ReadsCodeAndCodePageAndMovesTheEncoding) {
  const ComboModel languages = LanguageComboModel(GetParam().code);
  ComboModel encodings = EncodingComboModel(1252);
  std::string code = "stale";
  int codePage = -7;
  GetSelectedLanguage(languages, &encodings, code, codePage);
  EXPECT_EQ(code, GetParam().code);
  EXPECT_EQ(codePage, GetParam().codePage);
  if (IsSupportedCodePage(static_cast<unsigned>(codePage))) {
    ASSERT_GE(encodings.selected, 0);
    EXPECT_EQ(Selected(encodings).codePage, static_cast<unsigned>(codePage));
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, GetSelectedLanguageTest,
                         testing::Values(ReadBackCase{"EN-US", 1252}, ReadBackCase{"EL", 1253},
                                         ReadBackCase{"RU", 1251}, ReadBackCase{"AR-SA", 1256},
                                         ReadBackCase{"JA", 932}, ReadBackCase{"ZH-TW", 950},
                                         // Listed in no Windows record: the family's fallback.
                                         ReadBackCase{"BS", 1252}));

TEST(GetSelectedLanguage, EveryLanguageResolvesWithTheWindowsFamily) {
  ComboModel languages = LanguageComboModel("");
  for (size_t i = 0; i < languages.items.size(); ++i) {
    languages.selected = static_cast<int>(i);
    std::string code;
    int codePage = 0;
    GetSelectedLanguage(languages, nullptr, code, codePage);
    EXPECT_EQ(code, languages.items[i].code);
    EXPECT_EQ(static_cast<unsigned>(codePage), ResolveCodePage(code, kFamilyWindows, nullptr))
        << code;
    EXPECT_NE(codePage, 0) << code;
  }
}

TEST(GetSelectedLanguage, NoSelectionGivesNothingAndLeavesTheEncoding) {
  ComboModel languages = LanguageComboModel("XX");
  ComboModel encodings = EncodingComboModel(1252);
  const int before = encodings.selected;
  std::string code = "stale";
  int codePage = 1252;
  GetSelectedLanguage(languages, &encodings, code, codePage);
  EXPECT_EQ(code, "");
  EXPECT_EQ(codePage, 0);
  EXPECT_EQ(encodings.selected, before);

  languages.selected = static_cast<int>(languages.items.size());  // out of range
  code = "stale";
  GetSelectedLanguage(languages, nullptr, code, codePage);
  EXPECT_EQ(code, "");
  EXPECT_EQ(codePage, 0);
}

// The command line and the engine pick languages by name and code page through the catalogue,
// without the lists: for every code (and a few that are no catalogue code) they give what the
// list selects.
TEST(CatalogueLookup, GivesWhatTheLanguageListSelects) {
  std::vector<std::string> codes = {"", "XX", "en-us", "English (United States)"};
  for (const LanguageRecord& r : LanguageTable()) codes.push_back(r.code);
  for (const std::string& code : codes) {
    const ComboModel languages = LanguageComboModel(code);
    std::string selected;
    int codePage = 0;
    GetSelectedLanguage(languages, nullptr, selected, codePage);
    // The lists select nothing for text that names no language, where the look-up gives the
    // families' answer for the text without a language.
    const LanguageAnswer answer = LookUpLanguage(code, LanguageQuery::kPicked);
    EXPECT_EQ(answer.language ? answer.codePage : 0, codePage) << code;
    EXPECT_EQ(answer.language ? answer.language->code : "", selected) << code;
    EXPECT_EQ(LanguageCodeOfName(LanguageDisplayName(code)), selected) << code;
  }
  const ComboModel languages = LanguageComboModel("");
  for (const ComboItem& item : languages.items) {
    const int first = FindStringExact(languages, item.text);
    EXPECT_EQ(LanguageCodeOfName(item.text), languages.items[static_cast<size_t>(first)].code);
  }
  EXPECT_EQ(LanguageCodeOfName("gERMAN (gERMANY)"), LanguageCodeOfName("German (Germany)"));
  EXPECT_EQ(LanguageCodeOfName("no such language"), "");
}

}  // namespace
