// SPDX-License-Identifier: MIT
// Broken input of every kind converts without a crash and into a document a strict XML parser
// accepts: random RTF fragments, random bytes, odd codes, dates and fields, in several code pages.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/tmx_exporter.h"
#include "tests/core/tmx_test_util.h"

namespace {

const char* const kPieces[] = {
    "{", "}", "\\", "\\b ", "\\v ", "{\\cs6 ", "{\\cs8 ", "{\\cs61 ", "<b>", "</b>", "<:hs>",
    "<x ALT=\"", "\">}", "\"", "'", "&", "&lt;", "&nbsp;", "{\\field{\\*\\fldinst X}{\\fldrslt ",
    "\\fldrslt ", "\\'", "\\'e9", "\\'4g", "\\'00", "\\u8212?", "\\uc2", "\\u-3", "\\u", "\\tab",
    "\\~", "\\-", "\\_", "abc", " ", "\xE9", "\x01", "\x7F", "\xFF", "\x81", "<", ">", "</", "/>",
    "<1>", "</1>", "<0>", "<2/>", "\\{", "\\}", "\\\\", "\\nobreak", "\\emdash,", "\\line", "\t"};

std::string Fragment(std::mt19937& rng, bool rawBytes) {
  std::string s;
  const int count = static_cast<int>(rng() % 40);
  for (int i = 0; i < count; ++i) {
    if (rawBytes) {
      const char c = static_cast<char>(rng() % 256);
      if (c != '\r' && c != '\n') s.push_back(c);
    } else {
      s += kPieces[rng() % (sizeof kPieces / sizeof *kPieces)];
    }
  }
  return s;
}

std::string RandomTxt(unsigned seed) {
  std::mt19937 rng(seed);
  const bool rawBytes = seed % 3 == 0;
  std::string txt;
  if (rng() % 2) txt += "{\\St \\cs" + std::to_string(rng() % 70) + " {\\StN korvexInternal}}\r\n";
  const char* const dates[] = {"26072002, 10:03:33", "99999999", "2902200", "29022001", "ab"};
  const char* const sources[] = {"EN-US", "EN_US", "USE", "", "en-us"};
  const char* const targets[] = {"DE", "DE_DE", "DE-DE", "GER", "XX"};
  for (int unit = 0; unit < 30; ++unit) {
    txt += "<TrU>\r\n";
    if (rng() % 2) txt += std::string("<CrD>") + dates[rng() % 5] + "\r\n";
    if (rng() % 2) txt += "<CrU>" + Fragment(rng, rawBytes).substr(0, 12) + "\r\n";
    if (rng() % 2) txt += "<Att L=A" + Fragment(rng, false).substr(0, 4) + ">" + Fragment(rng, rawBytes) + "\r\n";
    if (rng() % 2) txt += "<Txt L=T>" + Fragment(rng, rawBytes) + "\r\n";
    txt += std::string("<Seg L=") + sources[rng() % 5] + ">" + Fragment(rng, rawBytes) + "\r\n";
    txt += std::string("<Seg L=") + targets[rng() % 5] + ">" + Fragment(rng, rawBytes) + "\r\n";
    if (rng() % 10) txt += "</TrU>\r\n";
  }
  return txt;
}

class Robustness : public ::testing::TestWithParam<unsigned> {};

TEST_P(Robustness, RandomInputGivesAValidDocument) {
  testutil::TempDir dir;
  testutil::WriteFile(dir.File("in.txt"), RandomTxt(GetParam()));
  for (int codePage : {1252, 932, 65001}) {
    CTmxExporter exporter;
    const int units = testutil::ExportPair(exporter, dir.File("in.txt"), dir.File("out.tmx"), "EN-US", codePage,
                                      "DE", codePage, nullptr, nullptr, 0);
    EXPECT_GE(units, 0) << codePage;
    EXPECT_VALID_TMX(dir.File("out.tmx")) << "seed " << GetParam() << ", code page " << codePage;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Robustness, ::testing::Range(1u, 13u));

}  // namespace
