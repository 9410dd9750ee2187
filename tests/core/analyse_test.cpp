// SPDX-License-Identifier: MIT
// Analyse: which languages the first units of a TXT file hold, with progress and quitting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/tmx_exporter.h"

namespace {

// Records what the engine shows and answers "quitting" from the given pump call on.
class AnalysisProgress : public ProgressReporter {
 public:
  explicit AnalysisProgress(int quitAtPump = 0) : m_quitAtPump(quitAtPump) {}
  void SetPosition(int percent) override { events.push_back("pos " + std::to_string(percent)); }
  bool ShouldStop() override {
    events.push_back("pump");
    ++pumps;
    return m_quitAtPump != 0 && pumps >= m_quitAtPump;
  }
  std::vector<std::string> events;
  int pumps = 0;

 private:
  int m_quitAtPump;
};

class AnalyseTest : public testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("velmar_analyse_" + std::to_string(::getpid()) + "_" +
             testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  // A TXT file of units; each unit lists the L values of its segments.
  std::string WriteUnits(const std::vector<std::vector<std::string>>& units,
                         bool closeUnits = true) {
    std::string text = "<RTF Preamble>\r\n<FontTable>\r\n{\\f1 Arial;}\r\n</RTF Preamble>\r\n";
    for (const auto& unit : units) {
      text += "<TrU>\r\n<CrD>26072002, 10:03:33\r\n";
      for (const std::string& code : unit) text += "<Seg L=" + code + ">text in " + code + "\r\n";
      if (closeUnits) text += "</TrU>\r\n";
    }
    return Write(text);
  }

  std::string Write(const std::string& text) {
    const auto path = m_dir / "memory.txt";
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  std::filesystem::path m_dir;
};

std::vector<std::string> Names(const LanguageList& list) {
  std::vector<std::string> names;
  for (const LanguageEntry& e : list) names.push_back(e.name + " " + std::to_string(e.codePage));
  return names;
}

TEST_F(AnalyseTest, ListsLanguagesOfTheFirst25UnitsInOrderOfAppearance) {
  std::vector<std::vector<std::string>> units(30, {"EN-US", "DE"});
  units[3] = {"EN-US", "FR-FR", "DE"};
  units[24] = {"EN-US", "SV_SE"};  // the 25th unit
  units[25] = {"EN-US", "IT"};     // the 26th unit: not scanned
  units[29] = {"JA"};
  const std::string path = WriteUnits(units);
  CTmxExporter x;
  AnalysisProgress progress;
  const AnalysisResult analysis = x.Analyse(path, &progress);
  ASSERT_FALSE(analysis.Failed()) << analysis.error.reason;
  EXPECT_EQ(Names(analysis.languages),
            (std::vector<std::string>{"English (United States) 1252", "German (Germany) 1252",
                                      "French (France) 1252", "Swedish 1252"}));
  // A question before the block is read, one step of 4 per unit, then the end.
  ASSERT_EQ(progress.pumps, 26);
  ASSERT_EQ(progress.events.size(), 25u * 2 + 2);
  EXPECT_EQ(progress.events[0], "pump");
  EXPECT_EQ(progress.events[1], "pos 4");
  EXPECT_EQ(progress.events[2], "pump");
  const std::vector<std::string> tail(progress.events.end() - 3, progress.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"pos 100", "pump", "pos 100"}));
}

TEST_F(AnalyseTest, UnitsWithoutClosingTagsAreScannedToTheEnd) {
  std::vector<std::vector<std::string>> units(40, {"EN-US"});
  units[39] = {"JA"};
  const std::string path = WriteUnits(units, false);
  CTmxExporter x;
  AnalysisProgress progress;
  const AnalysisResult analysis = x.Analyse(path, &progress);
  ASSERT_FALSE(analysis.Failed()) << analysis.error.reason;
  EXPECT_EQ(Names(analysis.languages),
            (std::vector<std::string>{"English (United States) 1252", "Japanese 932"}));
  // No unit step; only the questions before each block read (the second finds the end).
  EXPECT_EQ(progress.pumps, 2);
  EXPECT_EQ(progress.events, (std::vector<std::string>{"pump", "pump", "pos 100"}));
}

struct DedupCase {
  const char* title;
  std::vector<std::vector<std::string>> units;
  std::vector<std::string> expected;
};

void PrintTo(const DedupCase& c, std::ostream* os) {
  *os << c.title;
}

class AnalyseDedupTest : public AnalyseTest, public testing::WithParamInterface<DedupCase> {};

TEST_P(AnalyseDedupTest, ListsEachNameAndCodePageOnce) {
  const std::string path = WriteUnits(GetParam().units);
  CTmxExporter x;
  const AnalysisResult analysis = x.Analyse(path, nullptr);
  ASSERT_FALSE(analysis.Failed()) << analysis.error.reason;
  EXPECT_EQ(Names(analysis.languages), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, AnalyseDedupTest,
    testing::Values(
        DedupCase{"SameLanguageTwoForms",
                  {{"EN-US", "DE-DE"}, {"EN_US", "GER"}, {"USE", "DE"}},
                  {"English (United States) 1252", "German (Germany) 1252"}},
        // The catalogue form takes the language table's code page, the alias the alias table's;
        // a second alias form is answered from the cache with the catalogue's code page.
        DedupCase{
            "FarsiTwoCodePages", {{"FA"}, {"FA_00"}, {"FA_00"}}, {"Farsi 1256", "Farsi 1252"}},
        DedupCase{"UnresolvedCodesSkipped",
                  {{"XX-XX", "en-us", "", "ENU"}, {"SK-SK", "SK"}},
                  {"Slovak 1250"}},
        // A language met again in a later unit keeps its first place.
        DedupCase{"LaterUnitsRepeatNoEntry",
                  {{"DE", "EN-US"}, {"EN-US", "DE"}},
                  {"German (Germany) 1252", "English (United States) 1252"}},
        DedupCase{"NoUnits", {}, {}}),
    [](const testing::TestParamInfo<DedupCase>& param) { return param.param.title; });

TEST_F(AnalyseTest, ResolvedCodeWithoutNameIsListedUnderTheCode) {
  const std::string path = WriteUnits({{"QQ"}});
  CTmxExporter x;
  x.m_languageResolver.Keep("QQ", "ZZ-ZZ");
  const AnalysisResult analysis = x.Analyse(path, nullptr);
  ASSERT_FALSE(analysis.Failed()) << analysis.error.reason;
  EXPECT_EQ(Names(analysis.languages), (std::vector<std::string>{"ZZ-ZZ 1252"}));
}

TEST_F(AnalyseTest, OnlySegmentLinesCount) {
  const std::string path = Write(
      "<TrU>\n<Att L=EN-US>Client\n<Txt L=DE>note\n</Seg L=FR>\nSeg L=IT\n<Seg L=RU>text\n"
      "<Seg L=JA\n</TrU>\n");
  CTmxExporter x;
  const AnalysisResult analysis = x.Analyse(path, nullptr);
  ASSERT_FALSE(analysis.Failed()) << analysis.error.reason;
  EXPECT_EQ(Names(analysis.languages), (std::vector<std::string>{"Russian 1251"}));
}

TEST_F(AnalyseTest, QuittingStopsTheScanAndKeepsWhatWasFound) {
  const std::string path = WriteUnits({{"EN-US"}, {"DE"}, {"FR"}, {"IT"}});
  CTmxExporter x;
  // The first question comes before the first block is read.
  AnalysisProgress progress(3);
  const AnalysisResult analysis = x.Analyse(path, &progress);
  EXPECT_TRUE(analysis.Failed());
  EXPECT_EQ(Names(analysis.languages),
            (std::vector<std::string>{"English (United States) 1252", "German (Germany) 1252"}));
  EXPECT_EQ(progress.events, (std::vector<std::string>{"pump", "pos 4", "pump", "pos 8", "pump"}));
  EXPECT_EQ(analysis.error.kind, EngineError::Kind::Abandoned);
}

TEST_F(AnalyseTest, QuittingInsideAUnitKeepsItsLanguagesSoFar) {
  // The second block is asked for inside the unit's third Seg line: the scan stops there.
  const std::string path = Write("<TrU>\r\n<Seg L=DE>a\r\n<Seg L=FR>" + std::string(70000, 'x') +
                                 "\r\n<Seg L=IT>b\r\n</TrU>\r\n");
  CTmxExporter x;
  AnalysisProgress progress(2);
  const AnalysisResult analysis = x.Analyse(path, &progress);
  EXPECT_TRUE(analysis.Failed());
  EXPECT_EQ(Names(analysis.languages),
            (std::vector<std::string>{"German (Germany) 1252", "French (France) 1252"}));
  EXPECT_EQ(progress.events, (std::vector<std::string>{"pump", "pump"}));
  EXPECT_EQ(analysis.error.kind, EngineError::Kind::Abandoned);
}

TEST_F(AnalyseTest, EveryClosingTagCountsTowardsThe25Units) {
  // A </TrU> of no unit is a step too: the 25th ends the scan before the segments after it.
  std::string text;
  for (int i = 0; i < 24; ++i) text += "<TrU>\r\n<Seg L=EN-US>a\r\n</TrU>\r\n";
  text += "</TrU>\r\n<Seg L=IT>b\r\n</TrU>\r\n";
  const std::string path = Write(text);
  CTmxExporter x;
  AnalysisProgress progress;
  const AnalysisResult analysis = x.Analyse(path, &progress);
  ASSERT_FALSE(analysis.Failed());
  EXPECT_EQ(Names(analysis.languages), (std::vector<std::string>{"English (United States) 1252"}));
  EXPECT_EQ(progress.events.size(), 1u + 2 * 25 + 1);  // a block, 25 steps, the end
  EXPECT_EQ(progress.events.back(), "pos 100");
}

TEST_F(AnalyseTest, FailuresCarryTheirErrorAndNoLanguage) {
  CTmxExporter x;
  AnalysisProgress progress;
  AnalysisResult analysis = x.Analyse((m_dir / "missing.txt").string(), &progress);
  EXPECT_TRUE(analysis.Failed());
  EXPECT_EQ(analysis.error.kind, EngineError::Kind::OpenInput);
  EXPECT_EQ(analysis.error.work, EngineError::Work::Analysis);
  EXPECT_FALSE(analysis.error.reason.empty());
  EXPECT_TRUE(analysis.languages.empty());
  EXPECT_TRUE(progress.events.empty());  // nothing was read

  // A folder opens but cannot be read: no success with an empty list.
  analysis = x.Analyse(m_dir.string(), &progress);
  EXPECT_TRUE(analysis.Failed());
  EXPECT_EQ(analysis.error.kind, EngineError::Kind::ReadInput);
  EXPECT_TRUE(analysis.languages.empty());
  EXPECT_EQ(progress.events, std::vector<std::string>{"pump"});  // asked before the read
}

TEST_F(AnalyseTest, SucceedsAfterAFailure) {
  CTmxExporter x;
  EXPECT_TRUE(x.Analyse((m_dir / "missing.txt").string(), nullptr).Failed());
  const AnalysisResult analysis = x.Analyse(WriteUnits({{"PL"}}), nullptr);
  EXPECT_FALSE(analysis.Failed());
  EXPECT_EQ(analysis.error.kind, EngineError::Kind::None);
  EXPECT_EQ(Names(analysis.languages), (std::vector<std::string>{"Polish 1250"}));
}

}  // namespace
