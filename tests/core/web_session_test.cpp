// SPDX-License-Identifier: MIT
// The page's requests and answers (web/web_session.h): the catalogue, the analysis, and
// conversions as the page asks for them, including requests it must refuse without harm.
#include "web/web_session.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "engine/progress.h"
#include "tmx_test_util.h"

using nlohmann::json;

namespace {

const std::string kSample = std::string(VELMAR_TEST_DATA) + "/../../examples/sample.txt";

class UnitsProgress : public ProgressReporter {
 public:
  void SetUnits(int64_t units) override {
    EXPECT_GE(units, last);
    last = units;
  }
  int64_t last = 0;
};

// Converts with the request into a temporary file (validated when written); gives the answer,
// the bytes in tmx.
json Convert(const json& request, std::string& tmx, ProgressReporter* progress = nullptr) {
  // One file per test: CTest runs the tests in parallel processes.
  const std::string path = ::testing::TempDir() + "web_session_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".tmx";
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  EXPECT_GE(fd, 0);
  const json answer = json::parse(ConvertJson(request.dump(), fd, progress));
  ::close(fd);
  tmx = testutil::ReadFile(path);
  if (answer["outcome"] == "written") {
    EXPECT_VALID_TMX(path);
  }
  std::remove(path.c_str());
  return answer;
}

TEST(WebSession, CatalogueListsEveryLanguageWithItsCodePage) {
  const json catalogue = json::parse(CatalogueJson());
  ASSERT_EQ(catalogue["languages"].size(), 149u);
  bool germanFound = false;
  for (const json& language : catalogue["languages"]) {
    if (language["code"] == "DE") germanFound = language["codePage"] == 1252;
  }
  EXPECT_TRUE(germanFound);
  EXPECT_FALSE(catalogue["codePages"].empty());
}

TEST(WebSession, AnalysisGivesLanguagesDefaultsAndTheTmxName) {
  const json analysis = json::parse(AnalyseJson(kSample, nullptr));
  ASSERT_TRUE(analysis["ok"]);
  EXPECT_EQ(analysis["source"], "EN-US");
  EXPECT_EQ(analysis["target"], "DE");
  EXPECT_EQ(analysis["tmxName"], "sample.tmx");
  ASSERT_EQ(analysis["languages"].size(), 2u);
  EXPECT_EQ(analysis["languages"][1]["name"], "German (Germany)");
}

TEST(WebSession, AnalysisOfFilesThatHoldNoLanguage) {
  const std::string empty = ::testing::TempDir() + "web_session_empty.txt";
  std::ofstream(empty) << "not an export\n";
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {empty, "No language found: this is not a Velmar Vovuzaduz TXT export."},
      {::testing::TempDir() + "web_session_missing.txt",
       "The file cannot be opened: No such file or directory."},
  };
  for (const auto& c : cases) {
    const json analysis = json::parse(AnalyseJson(c.path, nullptr));
    EXPECT_FALSE(analysis["ok"]) << c.path;
    EXPECT_EQ(analysis["error"].get<std::string>().rfind(c.message, 0), 0u) << analysis.dump();
  }
  std::remove(empty.c_str());
}

TEST(WebSession, ConversionWritesTheTmxAndTheReport) {
  UnitsProgress progress;
  std::string tmx;
  const json answer =
      Convert({{"txtPath", kSample}, {"source", "EN-US"}, {"target", "DE"}}, tmx, &progress);
  EXPECT_EQ(answer["outcome"], "written");
  EXPECT_EQ(answer["unitsWritten"], 3);
  EXPECT_EQ(answer["message"], "3 units written.");
  const json report = json::parse(answer["report"].get<std::string>());
  EXPECT_EQ(report["files"][0]["output"], kSample.substr(0, kSample.size() - 4) + ".tmx");
  EXPECT_EQ(report["files"][0]["unitsWritten"], 3);
}

// Requests the page must refuse or answer with nothing written, never with a broken TMX.
TEST(WebSession, RequestsThatCannotBeCarriedOut) {
  const struct {
    json request;
    std::string outcome;
    std::string message;
  } cases[] = {
      {json("not an object"), "failed", "Bad request."},
      {{{"txtPath", kSample}, {"source", "XX"}, {"target", "DE"}},
       "failed",
       "Unknown source language."},
      {{{"txtPath", kSample}, {"source", "EN-US"}, {"target", 7}},
       "failed",
       "Unknown target language."},
      {{{"txtPath", kSample}, {"source", "EN-US"}, {"target", "DE"}, {"targetCodePage", 1200}},
       "failed",
       "The code page is not supported."},
      {{{"txtPath", kSample}, {"source", "EN-US"}, {"target", "*"}, {"codePages", {{"DE", "x"}}}},
       "failed",
       "The code page of DE cannot be used."},
      {{{"txtPath", kSample}, {"source", "EN-US"}, {"target", "FR"}, {"utf16", "yes"}},
       "nothing written",
       "No unit written: no unit holds both EN-US and FR."},
      {{{"txtPath", "/nonexistent/a.txt"}, {"source", "EN-US"}, {"target", "DE"}},
       "failed",
       "The TXT file cannot be read: No such file or directory"},
  };
  for (const auto& c : cases) {
    std::string tmx;
    const json answer = Convert(c.request, tmx);
    EXPECT_EQ(answer["outcome"], c.outcome) << c.request.dump();
    EXPECT_EQ(answer["message"], c.message) << c.request.dump();
  }
}

TEST(WebSession, AllLanguagesAndCodePagesPerLanguage) {
  std::string tmx;
  const json answer = Convert({{"txtPath", kSample},
                               {"source", "EN-US"},
                               {"target", "*"},
                               {"codePages", {{"DE", 1250}}},
                               {"utf16", true}},
                              tmx);
  ASSERT_EQ(answer["outcome"], "written");
  const json report = json::parse(answer["report"].get<std::string>());
  EXPECT_EQ(report["files"][0]["languages"][0]["codePage"], 1250);
  ASSERT_GE(tmx.size(), 2u);
  EXPECT_EQ(tmx.substr(0, 2), "\xFF\xFE");
}

}  // namespace
