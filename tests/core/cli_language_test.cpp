// SPDX-License-Identifier: MIT
// The command line's languages: code forms, defaults from the file, analysis, the catalogue.
#include <gtest/gtest.h>

#include <string>

#include "cli/command_line.h"
#include "tests/core/tmx_test_util.h"

namespace {

using testutil::ReadFile;
using testutil::RunCli;
using testutil::TempDir;
using testutil::WriteFile;

std::string TwoLanguageUnit(const std::string& l1, const std::string& l2) {
  return "<TrU>\r\n<Seg L=" + l1 + ">one\r\n<Seg L=" + l2 + ">two\r\n</TrU>\r\n";
}

TEST(CliLanguages, EveryCodeFormGivesTheSameDocument) {
  const std::string expected = ReadFile(VELMAR_TEST_DATA "/worked.tmx");
  const std::vector<std::vector<std::string>> forms = {{"-t", "DE"},
                                                       {"-s", "EN_US", "-t", "GER"},
                                                       {"-s", "USE", "-t", "DE-DE"},
                                                       {},
                                                       {"-t", "de"},
                                                       {"-s", "en-us", "-t", "De-dE"},
                                                       {"-s", "en_us", "-t", "ger"},
                                                       {"-s", "use", "-t", "de"}};
  for (const auto& form : forms) {
    TempDir dir;
    std::vector<std::string> args = form;
    args.insert(args.end(), {"-o", dir.File("w.tmx"), VELMAR_TEST_DATA "/worked-de-de.txt"});
    std::string out, err;
    EXPECT_EQ(RunCli(args, out, err), kExitConverted) << err;
    EXPECT_EQ(ReadFile(dir.File("w.tmx")), expected) << ::testing::PrintToString(form);
  }
}

TEST(CliLanguages, UnknownCodeIsAUsageErrorThatSaysWhereTheCodesAre) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), TwoLanguageUnit("EN-US", "DE"));
  for (const char* code : {"XX-XX", "xx-xx", "ENU", "enu", "éN-US", ""}) {
    std::string out, err;
    EXPECT_EQ(RunCli({"-s", "EN-US", "-t", code, dir.File("tm.txt")}, out, err), kExitUsage)
        << code;
    EXPECT_NE(err.find("--list-languages"), std::string::npos) << code;
    EXPECT_FALSE(testutil::FileExists(dir.File("tm.tmx")));
  }
}

TEST(CliLanguages, DefaultsComeFromTheFile) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), TwoLanguageUnit("FR_FR", "DE_DE") + TwoLanguageUnit("EN-US", "FR"));
  std::string out, err;
  ASSERT_EQ(RunCli({dir.File("tm.txt")}, out, err), kExitConverted) << err;
  std::string tmx = ReadFile(dir.File("tm.tmx"));
  EXPECT_NE(tmx.find("<tu tuid=\"1\" srclang=\"FR\">"), std::string::npos);
  EXPECT_NE(tmx.find("<tuv xml:lang=\"DE\">"), std::string::npos);
  EXPECT_VALID_TMX(dir.File("tm.tmx"));

  // A given target is skipped when the source is chosen, and the reverse.
  ASSERT_EQ(RunCli({"-t", "FR", dir.File("tm.txt")}, out, err), kExitConverted) << err;
  tmx = ReadFile(dir.File("tm.tmx"));
  EXPECT_NE(tmx.find("srclang=\"DE\""), std::string::npos);
  ASSERT_EQ(RunCli({"-s", "DE", dir.File("tm.txt")}, out, err), kExitConverted) << err;
  tmx = ReadFile(dir.File("tm.tmx"));
  EXPECT_NE(tmx.find("<tuv xml:lang=\"FR\">"), std::string::npos);
}

TEST(CliLanguages, MissingDefaultListsTheLanguagesFound) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), "<TrU>\r\n<Seg L=EN-US>only\r\n</TrU>\r\n");
  std::string out, err;
  EXPECT_EQ(RunCli({dir.File("tm.txt")}, out, err), kExitUsage);
  EXPECT_NE(err.find("EN-US (English (United States))"), std::string::npos) << err;
  EXPECT_EQ(RunCli({"-s", "EN-US", dir.File("tm.txt")}, out, err), kExitUsage);
  EXPECT_NE(err.find("no target language"), std::string::npos) << err;
  EXPECT_TRUE(out.empty());
}

// A file that is not a TXT export (or holds no unit): nothing to convert, said on stderr.
TEST(CliLanguages, NoLanguageFoundIsStatusOne) {
  TempDir dir;
  WriteFile(dir.File("empty.txt"), "");
  WriteFile(dir.File("notes.txt"), "Shopping list\r\nmilk\r\n<b>bread</b>\r\n");
  for (const char* name : {"empty.txt", "notes.txt"}) {
    const std::string message = "velmar2tmx-cli: no language found in '" + dir.File(name) + "'";
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, {"-s", "EN-US"}, {"--analyse"}, {"-a", "-q"}}) {
      std::vector<std::string> args = options;
      args.push_back(dir.File(name));
      std::string out, err;
      EXPECT_EQ(RunCli(args, out, err), kExitNothing) << name;
      EXPECT_TRUE(out.empty()) << out;
      EXPECT_EQ(err.rfind(message, 0), 0u) << err;
      EXPECT_EQ(err.find("Try 'velmar2tmx-cli --help'"), std::string::npos) << err;
    }
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"empty.txt", "notes.txt"}));
}

TEST(CliLanguages, MissingFileForDefaultsIsAFileError) {
  TempDir dir;
  std::string out, err;
  EXPECT_EQ(RunCli({dir.File("none.txt")}, out, err), kExitFile);
  EXPECT_NE(err.find("No such file or directory"), std::string::npos);
  EXPECT_EQ(RunCli({"-a", dir.path()}, out, err), kExitFile);
  EXPECT_TRUE(out.empty());
}

TEST(CliLanguages, AnalyseListsTheFirst25UnitsInOrder) {
  TempDir dir;
  std::string txt;
  for (int i = 0; i < 24; ++i) txt += TwoLanguageUnit("EN-US", i < 10 ? "DE-DE" : "FR_FR");
  txt += TwoLanguageUnit("EN_US", "RUS");                              // unit 25
  for (int i = 0; i < 5; ++i) txt += TwoLanguageUnit("EN-US", "JPN");  // units 26 to 30
  WriteFile(dir.File("tm.txt"), txt);
  std::string out, err;
  EXPECT_EQ(RunCli({"--analyse", dir.File("tm.txt")}, out, err), kExitConverted);
  EXPECT_EQ(out,
            "EN-US\t1252\tEnglish (United States)\n"
            "DE\t1252\tGerman (Germany)\n"
            "FR\t1252\tFrench (France)\n"
            "RU\t1251\tRussian\n");
}

TEST(CliLanguages, CodePagesFollowTheLanguageUnlessGiven) {
  TempDir dir;
  // "\xC4\xE0" is "Да" in Windows-1251 and "Äà" in Windows-1252.
  WriteFile(dir.File("tm.txt"), "<TrU>\r\n<Seg L=EN-US>yes\r\n<Seg L=RU>\xC4\xE0\r\n</TrU>\r\n");
  std::string out, err;
  ASSERT_EQ(RunCli({"-s", "EN-US", "-t", "RU", dir.File("tm.txt")}, out, err), kExitConverted);
  EXPECT_NE(ReadFile(dir.File("tm.tmx")).find("<seg>\xD0\x94\xD0\xB0</seg>"), std::string::npos);
  ASSERT_EQ(RunCli({"-s", "EN-US", "-t", "RU", "--target-codepage", "1252", dir.File("tm.txt")},
                   out, err),
            kExitConverted);
  EXPECT_NE(ReadFile(dir.File("tm.tmx")).find("<seg>\xC3\x84\xC3\xA0</seg>"), std::string::npos);
}

// How many times text occurs in s.
size_t Occurrences(const std::string& s, const std::string& text) {
  size_t n = 0;
  for (size_t at = s.find(text); at != std::string::npos; at = s.find(text, at + 1)) ++n;
  return n;
}

TEST(CliAllLanguages, EveryLanguageOfAUnitBecomesATuv) {
  TempDir dir;
  // "\xC4\xE0" is "Да" in Windows-1251 and "Äà" in Windows-1252.
  WriteFile(dir.File("tm.txt"),
            "<TrU>\r\n<Seg L=EN-US>yes\r\n<Seg L=DE>ja\r\n<Seg L=RU>\xC4\xE0\r\n</TrU>\r\n"
            "<TrU>\r\n<Seg L=RU>\xC4\xE0\r\n<Seg L=EN_US>yes\r\n<Seg L=GER>ja\r\n</TrU>\r\n"
            "<TrU>\r\n<Seg L=EN-US>alone\r\n</TrU>\r\n");
  std::string out, err;
  ASSERT_EQ(RunCli({"--all-languages", dir.File("tm.txt")}, out, err), kExitConverted) << err;
  std::string tmx = ReadFile(dir.File("tm.tmx"));
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
  EXPECT_EQ(Occurrences(tmx, "<tu "), 2u);
  EXPECT_EQ(Occurrences(tmx, "<tuv "), 6u);
  EXPECT_EQ(Occurrences(tmx, "srclang=\"EN-US\""), 3u);  // the header and both units
  // Source first, then the others in the order of their Seg lines.
  const size_t second = tmx.find("<tu tuid=\"2\"");
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(tmx.find("xml:lang=\"EN-US\"", second), tmx.find("xml:lang=\"RU\"", second));
  EXPECT_LT(tmx.find("xml:lang=\"RU\"", second), tmx.find("xml:lang=\"DE\"", second));
  EXPECT_EQ(Occurrences(tmx, "<seg>\xD0\x94\xD0\xB0</seg>"), 2u);  // Russian in Windows-1251
  EXPECT_NE(out.find("2 units written, 1 skipped (no target segment: 1)\n"), std::string::npos)
      << out;

  // --codepage overrides one language, named in any code form and letter case.
  ASSERT_EQ(RunCli({"-A", "--codepage", "rus=1252", "-s", "de", dir.File("tm.txt")}, out, err),
            kExitConverted)
      << err;
  tmx = ReadFile(dir.File("tm.tmx"));
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
  EXPECT_EQ(Occurrences(tmx, "srclang=\"DE\""), 3u);
  EXPECT_EQ(Occurrences(tmx, "<seg>\xC3\x84\xC3\xA0</seg>"), 2u);
  EXPECT_EQ(Occurrences(tmx, "<tuv "), 6u);

  // A file with one language gives nothing to write.
  WriteFile(dir.File("one.txt"), "<TrU>\r\n<Seg L=EN-US>alone\r\n</TrU>\r\n");
  EXPECT_EQ(RunCli({"-A", dir.File("one.txt")}, out, err), kExitNothing);
  EXPECT_NE(err.find("no unit of '" + dir.File("one.txt") + "' holds EN-US and another language"),
            std::string::npos)
      << err;
  EXPECT_FALSE(testutil::FileExists(dir.File("one.tmx")));
}

TEST(CliAllLanguages, TwoLanguagesGiveTheSameBytesAsAPair) {
  const std::string expected = ReadFile(VELMAR_TEST_DATA "/worked.tmx");
  struct Case {
    std::vector<std::string> all, pair;
  };
  const std::vector<Case> cases = {{{"-A"}, {"-t", "DE"}},
                                   {{"--all-languages", "-s", "en-us"}, {"-s", "USE"}},
                                   {{"-A", "--utf16"}, {"--utf16"}}};
  for (const Case& c : cases) {
    TempDir dir;
    for (const bool all : {true, false}) {
      std::vector<std::string> run = all ? c.all : c.pair;
      run.insert(run.end(),
                 {"-o", dir.File(all ? "all.tmx" : "pair.tmx"), VELMAR_TEST_DATA "/worked.txt"});
      std::string out, err;
      ASSERT_EQ(RunCli(run, out, err), kExitConverted) << err;
    }
    EXPECT_EQ(ReadFile(dir.File("all.tmx")), ReadFile(dir.File("pair.tmx")))
        << ::testing::PrintToString(c.all);
    EXPECT_VALID_TMX(dir.File("all.tmx"));
    if (c.all.back() != "--utf16") {
      EXPECT_EQ(ReadFile(dir.File("all.tmx")), expected);
    }
  }
}

TEST(CliLanguages, CodePageOptionAppliesToThePairToo) {
  TempDir dir;
  WriteFile(dir.File("tm.txt"), "<TrU>\r\n<Seg L=EN-US>yes\r\n<Seg L=RU>\xC4\xE0\r\n</TrU>\r\n");
  std::string out, err;
  ASSERT_EQ(
      RunCli({"--codepage", "RU=1252", "--codepage", "DE=1250", dir.File("tm.txt")}, out, err),
      kExitConverted)
      << err;
  EXPECT_NE(ReadFile(dir.File("tm.tmx")).find("<seg>\xC3\x84\xC3\xA0</seg>"), std::string::npos);
  // --target-codepage wins over --codepage for the target.
  ASSERT_EQ(
      RunCli({"--codepage", "RU=1252", "--target-codepage", "1251", dir.File("tm.txt")}, out, err),
      kExitConverted)
      << err;
  EXPECT_NE(ReadFile(dir.File("tm.tmx")).find("<seg>\xD0\x94\xD0\xB0</seg>"), std::string::npos);
  EXPECT_VALID_TMX(dir.File("tm.tmx"));
}

TEST(CliLanguages, ListLanguagesGivesTheCatalogue) {
  std::string out, err;
  EXPECT_EQ(RunCli({"--list-languages"}, out, err), kExitConverted);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 149);
  EXPECT_EQ(out.rfind("AF\t1252\tAfrikaans\n", 0), 0u);
  EXPECT_NE(out.find("\nJA\t932\tJapanese\n"), std::string::npos);
  EXPECT_NE(out.find("\nJI\t1255\tYiddish\n"), std::string::npos);
}

}  // namespace
