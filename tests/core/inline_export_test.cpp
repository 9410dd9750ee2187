// SPDX-License-Identifier: MIT
// End to end: units whose segments carry formatting groups, tag groups, hidden text and fields
// become <seg> lines with inline elements, x linking source and target, and a valid TMX file.
#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "engine/tmx_exporter.h"
#include "inline/inline_converter.h"
#include "inline/plain_segment.h"
#include "tests/core/tmx_test_util.h"
#include "text/xml_chars.h"

namespace {

using testutil::TempDir;

// The <seg> lines of the TMX written for the TXT lines (joined with CR LF), EN-US to DE in code
// page 1252: source and target content of each unit, in order.
std::vector<std::string> SegContents(std::initializer_list<std::string> txtLines,
                                     int* units = nullptr) {
  TempDir dir;
  std::string txt;
  for (const std::string& line : txtLines) txt += line + "\r\n";
  const std::string txtPath = dir.File("in.txt");
  const std::string tmxPath = dir.File("out.tmx");
  testutil::WriteFile(txtPath, txt);
  CTmxExporter exporter;
  const ExportResult result = testutil::ExportPair(exporter, txtPath, tmxPath, "EN-US", 1252, "DE",
                                                   1252, nullptr, nullptr, 0);
  if (units) *units = result.unitsWritten;
  std::vector<std::string> segs;
  if (result.stop == ExportResult::Stop::Failed) {
    ADD_FAILURE() << "export failed";
    return segs;
  }
  EXPECT_VALID_TMX(tmxPath);
  const std::string open = "        <seg>", close = "</seg>";
  for (const std::string& line : testutil::TmxLines(tmxPath)) {
    if (line.rfind(open, 0) == 0 && line.size() >= open.size() + close.size() &&
        line.compare(line.size() - close.size(), close.size(), close) == 0) {
      segs.push_back(line.substr(open.size(), line.size() - open.size() - close.size()));
    }
  }
  return segs;
}

std::vector<std::string> Unit(const std::string& source, const std::string& target) {
  return SegContents({"<TrU>", "<Seg L=EN-US>" + source, "<Seg L=DE>" + target, "</TrU>"});
}

TEST(InlineExport, FormattingGroupsPairAcrossSides) {
  EXPECT_EQ(Unit("Press {\\b Start} now.", "Dr\\'fccken Sie {\\b Start} jetzt."),
            (std::vector<std::string>{
                "Press <bpt i=\"1\" x=\"1\">{\\b </bpt>Start<ept i=\"1\">}</ept> now.",
                "Dr\xC3\xBC"
                "cken Sie <bpt i=\"1\" x=\"1\">{\\b </bpt>Start<ept i=\"1\">}</ept> "
                "jetzt."}));
}

TEST(InlineExport, XFollowsTheCodeNotThePosition) {
  EXPECT_EQ(Unit("{\\b Bold} and {\\i italic} text", "Text {\\i kursiv} und {\\b fett}"),
            (std::vector<std::string>{
                "<bpt i=\"1\" x=\"1\">{\\b </bpt>Bold<ept i=\"1\">}</ept> and "
                "<bpt i=\"2\" x=\"2\">{\\i </bpt>italic<ept i=\"2\">}</ept> text",
                "Text <bpt i=\"1\" x=\"2\">{\\i </bpt>kursiv<ept i=\"1\">}</ept> und "
                "<bpt i=\"2\" x=\"1\">{\\b </bpt>fett<ept i=\"2\">}</ept>"}));
}

// Segments of many groups (more records than a short walk covers): each target group takes the
// next unpaired source group of the same code, so x runs 1 to 40 in order on both sides.
TEST(InlineExport, FortyGroupsPairInOrder) {
  std::string source = "S", target = "T", expectedSource = "S", expectedTarget = "T";
  for (int i = 1; i <= 40; ++i) {
    const std::string n = std::to_string(i);
    source += " {\\b s" + n + "}";
    target += " {\\b t" + n + "}";
    const std::string element = " <bpt i=\"" + n + "\" x=\"" + n + "\">{\\b </bpt>";
    const std::string end = "<ept i=\"" + n + "\">}</ept>";
    expectedSource += element + "s" + n + end;
    expectedTarget += element + "t" + n + end;
  }
  EXPECT_EQ(Unit(source, target), (std::vector<std::string>{expectedSource, expectedTarget}));
}

TEST(InlineExport, TagGroupsBecomeElementsWithTheirTags) {
  EXPECT_EQ(
      Unit("Click {\\cs6 <b>}OK{\\cs6 </b>} to {\\i save}.",
           "Klicken Sie auf {\\cs6 <b>}OK{\\cs6 </b>}, um zu {\\i speichern}."),
      (std::vector<std::string>{
          "Click <bpt i=\"1\" x=\"1\">{\\cs6 &lt;b&gt;}</bpt>OK<ept i=\"1\">{\\cs6 &lt;/b&gt;}"
          "</ept> to <bpt i=\"2\" x=\"2\">{\\i </bpt>save<ept i=\"2\">}</ept>.",
          "Klicken Sie auf <bpt i=\"1\" x=\"1\">{\\cs6 &lt;b&gt;}</bpt>OK<ept i=\"1\">"
          "{\\cs6 &lt;/b&gt;}</ept>, um zu <bpt i=\"2\" x=\"2\">{\\i </bpt>speichern"
          "<ept i=\"2\">}</ept>."}));
}

TEST(InlineExport, FieldsAndHiddenText) {
  const std::string link =
      "{\\field{\\*\\fldinst HYPERLINK \"http://x.example/a\"}{\\fldrslt {\\cs15\\ul\\cf2 ";
  const std::string linkNative =
      "{\\field{\\*\\fldinst HYPERLINK \"http://x.example/a\"}{\\fldrslt {\\cs15\\ul\\cf2 ";
  EXPECT_EQ(Unit("See " + link + "the manual}}} for details{\\v XE \"manual\"}.",
                 "Details im " + link + "Handbuch}}}{\\v XE \"manual\"}."),
            (std::vector<std::string>{
                "See <bpt i=\"1\" x=\"1\">" + linkNative +
                    "</bpt>the manual<ept i=\"1\">}}}</ept> for details"
                    "<ph x=\"2\">{\\v XE \"manual\"}</ph>.",
                "Details im <bpt i=\"1\" x=\"1\">" + linkNative +
                    "</bpt>Handbuch<ept i=\"1\">}}}</ept><ph x=\"2\">{\\v XE \"manual\"}</ph>."}));
}

TEST(InlineExport, FieldWithoutResultAndLoneGroups) {
  EXPECT_EQ(
      Unit("Page {\\field{\\*\\fldinst PAGE}} of {\\ul many}",
           "Seite {\\field{\\*\\fldinst PAGE}} von vielen"),
      (std::vector<std::string>{"Page <ph x=\"1\">{\\field{\\*\\fldinst PAGE}}</ph> of "
                                "<bpt i=\"1\">{\\ul </bpt>many<ept i=\"1\">}</ept>",
                                "Seite <ph x=\"1\">{\\field{\\*\\fldinst PAGE}}</ph> von vielen"}));
}

TEST(InlineExport, EdgePlaceholdersAndDoNotTranslateGo) {
  EXPECT_EQ(Unit("{\\b Everything bold}", "{\\v hidden}{\\cs8 CODE} Alles {\\cs8 X}fett "),
            (std::vector<std::string>{"Everything bold", "Alles fett"}));
}

TEST(InlineExport, CharactersOfEscapesAndCodePages) {
  // \~ and a no-break space inside native code reach the file as U+00A0; the byte 01 that an
  // escape decodes to is a character XML forbids and is left out.
  EXPECT_EQ(Unit("Caf\\'e9\\~\\u8212?\\'01ok \"q\" {\\f1\\'a0 x} y", "it's a < b & c\\tab d"),
            (std::vector<std::string>{"Caf\xC3\xA9\xC2\xA0\xE2\x80\x94ok &quot;q&quot; "
                                      "<bpt i=\"1\">{\\f1\xC2\xA0 </bpt>x<ept i=\"1\">}</ept> y",
                                      "it&apos;s a &lt; b &amp; c\td"}));
}

TEST(InlineExport, StyleSheetNamesTheInternalStyle) {
  EXPECT_EQ(SegContents({"{\\stylesheet{\\*\\cs12 \\additive korvexInternal;}", "}", "<TrU>",
                         "<Seg L=EN-US>a {\\cs12 <b>}b{\\cs12 </b>} {\\cs6 c} d",
                         "<Seg L=DE>x {\\cs12 <b>}y{\\cs12 </b>} z", "</TrU>"}),
            (std::vector<std::string>{
                "a <bpt i=\"1\" x=\"1\">{\\cs12 &lt;b&gt;}</bpt>b<ept i=\"1\">{\\cs12 &lt;/b&gt;}"
                "</ept> <bpt i=\"2\">{\\cs6 </bpt>c<ept i=\"2\">}</ept> d",
                "x <bpt i=\"1\" x=\"1\">{\\cs12 &lt;b&gt;}</bpt>y<ept i=\"1\">{\\cs12 &lt;/b&gt;}"
                "</ept> z"}));
}

TEST(InlineExport, RecordsOfOneUnitDoNotPairWithTheNext) {
  int units = 0;
  const std::vector<std::string> segs =
      SegContents({"<TrU>", "<Seg L=EN-US>a {\\b b} c", "<Seg L=DE>d e f", "</TrU>", "<TrU>",
                   "<Seg L=EN-US>g h i", "<Seg L=DE>j {\\b k} l", "</TrU>"},
                  &units);
  EXPECT_EQ(units, 2);
  EXPECT_EQ(segs, (std::vector<std::string>{"a <bpt i=\"1\">{\\b </bpt>b<ept i=\"1\">}</ept> c",
                                            "d e f", "g h i",
                                            "j <bpt i=\"1\">{\\b </bpt>k<ept i=\"1\">}</ept> l"}));
}

TEST(InlineExport, BrokenRtfStillGivesAValidFile) {
  const std::vector<std::string> segs = SegContents(
      {"<TrU>", "<Seg L=EN-US>}{\\b x {\\cs6 <a b=\"}<c>}\\u0?{\\field{\\fldrslt <&>\\'zz",
       "<Seg L=DE>{\\v {\\cs6 </q>}}}{{{\\'00 after", "</TrU>", "<TrU>",
       "<Seg L=EN-US>\\u-1?\\u55296?\\u0 &nbsp; <1> </1>", "<Seg L=DE>{\\b}{\\i}}}", "</TrU>"});
  EXPECT_EQ(segs.size(), 4u);
}

// Segments without RTF skip the inline conversion: their content, written byte by byte, must be
// what the scanner, the clean-up, the pairing and the writer's encoding make of them.
std::string ConvertedContent(std::string_view segment, int codePage, bool unicode, bool utf16) {
  InlineConverter converter(utf16);
  InlineUnit unit;
  unit.source = {segment, codePage};
  unit.unicodeText = unicode;
  unit.findPlain = false;
  return converter.ConvertUnit(unit)[0].encoded;
}

std::string WrittenContent(PlainText text) {
  std::string out;
  char piece[40];  // room for two bytes' content at a time
  while (const size_t n = text.WriteSome(piece, sizeof piece)) out.append(piece, n);
  return out;
}

TEST(InlineExport, PlainSegmentsGiveWhatTheirConversionGives) {
  static const std::string_view kPieces[] = {"a",
                                             "Zq",
                                             "word ",
                                             " ",
                                             "\t",
                                             "\xA0",
                                             "<",
                                             ">",
                                             "&",
                                             "'",
                                             "\"",
                                             "&nbsp;",
                                             "&NBSP;",
                                             "&lt;",
                                             "&amp;",
                                             "<b>",
                                             "</1>",
                                             "\xE9",
                                             "\x81",
                                             "\x98",
                                             "\x82\xA0",
                                             "\xC3\xA9",
                                             "\xE2\x80\xA8",
                                             "\xC2\xA0",
                                             "\xF0\x9F\x98\x80",
                                             "\xC0\xAF",
                                             "\xE2\x82",
                                             "\xED\xA0\x80",
                                             "\xF4\x90\x80\x80",
                                             "\xC2",
                                             "\xEF\xBF\xBE",
                                             "\\",
                                             "{",
                                             "}",
                                             "\x01",
                                             "\x7F",
                                             "\n",
                                             "\r",
                                             std::string_view("\0", 1)};
  struct Case {
    int codePage;
    bool unicode;
  };
  for (const Case c : {Case{1252, false}, Case{1251, false}, Case{932, false}, Case{0, false},
                       Case{65001, false}, Case{1252, true}, Case{936, true}}) {
    for (const bool utf16 : {false, true}) {
      SCOPED_TRACE(testing::Message() << "code page " << c.codePage << (c.unicode ? " unicode" : "")
                                      << (utf16 ? " utf-16" : " utf-8"));
      PlainSegmentEncoder encoder(utf16);
      std::mt19937 random(7);
      int plain = 0;
      for (int n = 0; n < 3000; ++n) {
        std::string segment;
        const int pieces = static_cast<int>(random() % 12);
        // Mostly segments without RTF and controls; every fourth may hold anything.
        const size_t choices = n % 4 == 0 ? std::size(kPieces) : std::size(kPieces) - 8;
        for (int k = 0; k < pieces; ++k) segment += kPieces[random() % choices];
        if (n % 4 == 0 && random() % 2) segment.push_back('\0');
        PlainText text;
        if (!encoder.Find(segment, c.codePage, c.unicode, text)) continue;
        ++plain;
        ASSERT_EQ(WrittenContent(text), ConvertedContent(segment, c.codePage, c.unicode, utf16))
            << "segment: " << segment;
      }
      EXPECT_GT(plain, 300);
      PlainText text;
      EXPECT_FALSE(encoder.Find("a {\\b b}", c.codePage, c.unicode, text));
      EXPECT_FALSE(encoder.Find(std::string_view("a\0b", 3), c.codePage, c.unicode, text));
      // UTF-8 text goes as it is into a UTF-8 document, and only ASCII into a UTF-16 one.
      if (c.unicode) {
        EXPECT_EQ(encoder.Find("\xC3\xA9t\xC3\xA9", c.codePage, true, text), !utf16);
      }
    }
  }
}

}  // namespace
