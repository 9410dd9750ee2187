// SPDX-License-Identifier: MIT
// Language codes of TXT files in all their forms, mapped to catalogue codes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "engine/tmx_exporter.h"
#include "tests/core/tmx_test_util.h"
#include "text/language_catalogue.h"
#include "text/language_lookup.h"

namespace {

struct ResolveCase {
  std::string code;
  std::string resolved;
  int codePage;
  bool cached;            // resolved in another form than the catalogue's, hence remembered
  int laterCodePage = 0;  // the code page of a second resolution where it differs (0: the same)
};

void PrintTo(const ResolveCase& c, std::ostream* os) {
  *os << '"' << c.code << '"';
}

class ResolveLanguageCodeTest : public testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveLanguageCodeTest, ResolvesToTheCatalogueCode) {
  const ResolveCase& c = GetParam();
  CTmxExporter x;
  std::string code = c.code;
  int codePage = -1;
  ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(code, c.resolved);
  EXPECT_EQ(codePage, c.codePage);
  if (c.cached) {
    ASSERT_EQ(x.m_languageResolver.Resolved().size(), 1u);
    EXPECT_EQ(x.m_languageResolver.Resolved().begin()->first, c.code);
    EXPECT_EQ(x.m_languageResolver.Resolved().begin()->second, c.resolved);
  } else {
    EXPECT_TRUE(x.m_languageResolver.Resolved().empty());
  }
}

// Resolves c.code twice with one converter, and the first answer's code.
void ExpectASecondResolutionToGiveTheFirstAnswersLanguage(const ResolveCase& c) {
  CTmxExporter x;
  LanguageResolver& resolver = x.m_languageResolver;
  const LanguageAnswer first = resolver.Answer(c.code);
  ASSERT_NE(first.language, nullptr);
  EXPECT_EQ(first.language->code, c.resolved);
  EXPECT_EQ(first.codePage, c.codePage);
  EXPECT_EQ(first.source, c.cached ? CodePageSource::kAlias : CodePageSource::kCatalogue);

  // The same code again: a code in another form is answered from the converter's cache, with
  // the code page the lists pick for its language.
  const LanguageAnswer second = resolver.Answer(c.code);
  EXPECT_EQ(second.language, first.language);
  EXPECT_EQ(second.codePage, c.laterCodePage != 0 ? c.laterCodePage : c.codePage);
  EXPECT_EQ(second.source, c.cached ? CodePageSource::kFamily : CodePageSource::kCatalogue);
  std::string code = c.code;
  int codePage = -1;
  ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(code, c.resolved);
  EXPECT_EQ(codePage, second.codePage);

  // The first answer's code names the same language.
  const LanguageAnswer ofCode = resolver.Answer(first.language->code);
  EXPECT_EQ(ofCode.language, first.language);
  EXPECT_EQ(ofCode.source, CodePageSource::kCatalogue);
  EXPECT_EQ(ofCode.codePage, static_cast<int>(first.language->ansiCodePage));
}

TEST_P(ResolveLanguageCodeTest, ASecondResolutionGivesTheFirstAnswersLanguage) {
  ExpectASecondResolutionToGiveTheFirstAnswersLanguage(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    CatalogueForm, ResolveLanguageCodeTest,
    testing::Values(ResolveCase{"EN-US", "EN-US", 1252, false},
                    ResolveCase{"HE", "HE", 1255, false},
                    // The language table's code page, not the alias code page 1252.
                    ResolveCase{"FA", "FA", 1256, false}, ResolveCase{"BS", "BS", 1250, false},
                    ResolveCase{"ZH-TW", "ZH-TW", 950, false},
                    ResolveCase{"EN-TR", "EN-TR", 1252, false}));

INSTANTIATE_TEST_SUITE_P(
    AliasForms, ResolveLanguageCodeTest,
    testing::Values(
        ResolveCase{"EN_US", "EN-US", 1252, true}, ResolveCase{"USE", "EN-US", 1252, true},
        ResolveCase{"GER", "DE", 1252, true}, ResolveCase{"DE_DE", "DE", 1252, true},
        // Looked up as DE_DE.
        ResolveCase{"DE-DE", "DE", 1252, true}, ResolveCase{"FR_FR", "FR", 1252, true},
        ResolveCase{"IW_01", "HE", 1255, true}, ResolveCase{"FA_00", "FA", 1252, true, 1256},
        ResolveCase{"EN_TT", "EN-TR", 1252, true}, ResolveCase{"ES_CL", "ES-CN", 1252, true},
        ResolveCase{"GA_WA", "CY", 1252, true}, ResolveCase{"WEL", "CY", 1252, true},
        ResolveCase{"SH_HR", "HR", 1250, true}, ResolveCase{"SH_YU", "SR", 1250, true},
        ResolveCase{"EUR", "FR-BE", 1252, true}, ResolveCase{"JPN", "JA", 932, true},
        ResolveCase{"CHT", "ZH-TW", 950, true}, ResolveCase{"ASI", "TH", 874, true},
        ResolveCase{"MS_BN", "MS-BX", 1252, true}, ResolveCase{"ES-EM", "ES-XY", 1252, true}));

INSTANTIATE_TEST_SUITE_P(RepeatedLetters, ResolveLanguageCodeTest,
                         testing::Values(ResolveCase{"SK-SK", "SK", 1250, true},
                                         ResolveCase{"SK_SK", "SK", 1250, true},
                                         ResolveCase{"DA_DA", "DA", 1252, true},
                                         ResolveCase{"AF-AF", "AF", 1252, true},
                                         ResolveCase{"RU-RU", "RU", 1251, true}));

// The two languages whose other forms give another code page than the lists pick for them:
// a second resolution gives the lists' one.
int LaterCodePage(const std::string& language) {
  if (language == "FA" || language == "UR") return 1256;
  return 0;
}

// Every catalogue code, and every other form of every language: the Vovuzaduz code, also with
// "-", the three-letter code and the repeated letters of a two-letter code.
std::vector<ResolveCase> EveryForm() {
  std::vector<ResolveCase> cases;
  for (const LanguageRecord& r : LanguageTable()) {
    const int ansi = static_cast<int>(r.ansiCodePage);
    const int alias = static_cast<int>(r.aliasCodePage);
    cases.push_back({r.code, r.code, ansi, false});
    if (alias == 0) continue;
    std::vector<std::string> forms;
    for (const std::string form : {r.vovuzaduzCode, r.threeLetterCode}) {
      if (!form.empty()) forms.push_back(form);
    }
    if (*r.vovuzaduzCode) {
      std::string dashed = r.vovuzaduzCode;
      dashed[2] = '-';
      if (!FindLanguageRecord(dashed)) forms.push_back(dashed);
    }
    const std::string code = r.code;
    if (code.size() == 2) {
      for (const char* separator : {"-", "_"}) forms.push_back(code + separator + code);
    }
    for (const std::string& form : forms) {
      cases.push_back({form, code, alias, true, LaterCodePage(code)});
    }
  }
  return cases;
}

// One test rather than a row each: several hundred forms.
TEST(ResolveLanguageCodeTwice, EveryCatalogueCodeAndAlias) {
  const std::vector<ResolveCase> cases = EveryForm();
  EXPECT_EQ(cases.size(), 471u);
  for (const ResolveCase& c : cases) {
    SCOPED_TRACE(c.code);
    ExpectASecondResolutionToGiveTheFirstAnswersLanguage(c);
  }
}

class UnresolvedCodeTest : public testing::TestWithParam<const char*> {};

TEST_P(UnresolvedCodeTest, LeavesCodeAndCodePageAlone) {
  CTmxExporter x;
  std::string code = GetParam();
  int codePage = 4711;
  EXPECT_FALSE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(code, GetParam());
  EXPECT_EQ(codePage, 4711);
  EXPECT_TRUE(x.m_languageResolver.Resolved().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, UnresolvedCodeTest,
    testing::Values("XX-XX", "ENU", "en-us", "en_us", "use", "EN", "EN-", "EN_us", " EN-US",
                    "EN-US ", "SK-SKX", "SK-SK-", "sk-sk", "SK.SK", "SK-sk",
                    // Repeated letters of a language without an alias row.
                    "BS-BS", "EN-EN",
                    // The empty three-letter cells do not make the empty code "AF".
                    ""));

TEST(ResolveLanguageCodeCache, LaterAnswersTakeTheCatalogueCodePage) {
  CTmxExporter x;
  std::string code = "FA_00";
  int codePage = 0;
  ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(code, "FA");
  EXPECT_EQ(codePage, 1252);
  code = "FA_00";
  ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(code, "FA");
  EXPECT_EQ(codePage, 1256);
  EXPECT_EQ(x.m_languageResolver.Resolved().size(), 1u);

  // Another converter starts with an empty cache.
  CTmxExporter y;
  code = "FA_00";
  ASSERT_TRUE(y.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(codePage, 1252);
}

TEST(ResolveLanguageCodeCache, EnglishKeepsItsCodePageFromTheCache) {
  CTmxExporter x;
  for (int round = 0; round < 3; ++round) {
    std::string code = "EN_US";
    int codePage = 0;
    ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
    EXPECT_EQ(code, "EN-US");
    EXPECT_EQ(codePage, 1252);
  }
  std::string code = "USE";
  int codePage = 0;
  ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(x.m_languageResolver.Resolved().size(), 2u);
  EXPECT_EQ(x.m_languageResolver.Resolved().at("EN_US"), "EN-US");
  EXPECT_EQ(x.m_languageResolver.Resolved().at("USE"), "EN-US");
}

TEST(ResolveLanguageCodeCache, IsConsultedAfterTheCatalogueAndBeforeTheAliases) {
  CTmxExporter x;
  x.m_languageResolver.Keep("EN-US", "DE");
  x.m_languageResolver.Keep("GER", "RU");
  std::string code = "EN-US";
  int codePage = 0;
  ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(code, "EN-US");
  code = "GER";
  ASSERT_TRUE(x.ResolveLanguageCode(code, codePage));
  EXPECT_EQ(code, "RU");
  EXPECT_EQ(codePage, 1251);
}

TEST(LanguageAliases, AreWellFormed) {
  std::set<std::string> catalogueCodes, otherCodes;
  int differingCodePages = 0;
  for (const LanguageRecord& row : LanguageTable()) {
    if (row.aliasCodePage == 0) {
      EXPECT_STREQ(row.vovuzaduzCode, "") << row.code;
      EXPECT_STREQ(row.threeLetterCode, "") << row.code;
      continue;
    }
    EXPECT_TRUE(catalogueCodes.insert(row.code).second) << row.code;
    const std::string vov = row.vovuzaduzCode;
    const std::string three = row.threeLetterCode;
    if (!vov.empty()) {
      EXPECT_EQ(vov.size(), 5u) << vov;
      EXPECT_EQ(vov[2], '_') << vov;
      EXPECT_TRUE(otherCodes.insert(vov).second) << vov;
    }
    if (!three.empty()) {
      EXPECT_EQ(three.size(), 3u) << three;
      EXPECT_TRUE(otherCodes.insert(three).second) << three;
    }
    differingCodePages += row.ansiCodePage != row.aliasCodePage;
  }
  EXPECT_EQ(catalogueCodes.size(), 148u);
  EXPECT_EQ(differingCodePages, 16);
  // Every language of the table but Bosnian has a row.
  EXPECT_EQ(catalogueCodes.size(), LanguageTable().size() - 1);
  EXPECT_EQ(catalogueCodes.count("BS"), 0u);
}

TEST(LanguageAliases, EveryOtherFormResolvesToItsLanguage) {
  for (const LanguageRecord& row : LanguageTable()) {
    for (const char* form : {row.vovuzaduzCode, row.threeLetterCode}) {
      if (!*form) continue;
      CTmxExporter x;
      std::string code = form;
      int codePage = 0;
      ASSERT_TRUE(x.ResolveLanguageCode(code, codePage)) << form;
      EXPECT_EQ(code, row.code) << form;
      EXPECT_EQ(codePage, static_cast<int>(row.aliasCodePage)) << form;
    }
  }
}

// Export keeps a segment whose L value is another form of the chosen language.
TEST(ResolveLanguageCodeInExport, AliasFormsSelectSegments) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("velmar_resolution_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto txt = dir / "aliases.txt";
  const auto tmx = dir / "aliases.tmx";
  {
    std::ofstream out(txt, std::ios::binary);
    out << "<TrU>\r\n<Seg L=EN_US>Hello\r\n<Seg L=GER>Hallo\r\n</TrU>\r\n"
        << "<TrU>\r\n<Seg L=USE>One\r\n<Seg L=DE-DE>Eins\r\n</TrU>\r\n"
        << "<TrU>\r\n<Seg L=>Lost\r\n<Seg L=DE_DE>Zwei\r\n</TrU>\r\n"
        << "<TrU>\r\n<Seg L=en-us>lower\r\n<Seg L=DE>Drei\r\n</TrU>\r\n";
  }
  CTmxExporter x;
  EXPECT_EQ(testutil::ExportPair(x, txt.string(), tmx.string(), "EN-US", 1252, "DE", 1252, nullptr,
                                 nullptr, 0)
                .unitsWritten,
            2);
  std::ifstream in(tmx, std::ios::binary);
  const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(doc.find("<seg>Hallo</seg>"), std::string::npos);
  EXPECT_NE(doc.find("<seg>Eins</seg>"), std::string::npos);
  EXPECT_EQ(doc.find("Lost"), std::string::npos);
  EXPECT_EQ(doc.find("Drei"), std::string::npos);
  if (std::filesystem::exists(VELMAR_DTD_PATH)) {
    const std::string command = "xmllint --noout --dtdvalid '" + std::string(VELMAR_DTD_PATH) +
                                "' '" + tmx.string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
  } else {
    std::cout << "DTD not found at " << VELMAR_DTD_PATH << ": TMX not validated\n";
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
