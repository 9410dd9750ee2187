// SPDX-License-Identifier: MIT
// Export: the TMX document, its units, fields and dates, progress, and every way it can fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <new>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/file_system.h"
#include "engine/line_reader.h"
#include "engine/report_json.h"
#include "engine/tmx_exporter.h"
#include "engine/txt_reader.h"
#include "tests/core/recording_file_system.h"
#include "tests/core/tmx_test_util.h"

namespace {

using testutil::ReadFile;
using testutil::TempDir;
using testutil::TmxLines;
using testutil::WriteFile;

// Records what the engine reports; ShouldStop answers true from call quitAt on.
class RecordingProgress : public ProgressReporter {
 public:
  void SetPosition(int percent) override { positions.push_back(percent); }
  void SetState(ProgressState state) override { statuses.push_back(state); }
  bool ShouldStop() override { return ++pumps >= quitAt; }
  std::vector<ProgressState> statuses;
  std::vector<int> positions;
  int pumps = 0;
  int quitAt = 1 << 30;
};

// Converts txt (lines joined with CR LF) from EN-US to DE and returns the result.
struct Conversion {
  ExportResult result;
  std::vector<std::string> lines;
  std::string tmxPath;
};

Conversion Convert(const TempDir& dir, const std::string& txt, const std::string& source = "EN-US",
                   const std::string& target = "DE", int targetCodePage = 1252) {
  Conversion c;
  const std::string txtPath = dir.File("in.txt");
  c.tmxPath = dir.File("out.tmx");
  WriteFile(txtPath, txt);
  CTmxExporter exporter;
  c.result = testutil::ExportPair(exporter, txtPath, c.tmxPath, source, 1252, target,
                                  targetCodePage, nullptr, nullptr, 0);
  if (c.result.stop == ExportResult::Stop::Done) {
    c.lines = TmxLines(c.tmxPath);
    EXPECT_VALID_TMX(c.tmxPath);
  }
  return c;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

// The lines of the first written unit's <tuv> start tag (source side).
std::string SourceTuv(const Conversion& c) {
  for (const std::string& l : c.lines) {
    if (l.rfind("      <tuv ", 0) == 0) return l;
  }
  return "";
}

std::vector<std::string> Properties(const Conversion& c) {
  std::vector<std::string> props;
  for (const std::string& l : c.lines) {
    if (l.rfind("      <prop ", 0) == 0) props.push_back(l.substr(6));
  }
  return props;
}

TEST(Export, WorkedFileMatchesExpectedBytes) {
  TempDir dir;
  const std::string tmx = dir.File("worked.tmx");
  CTmxExporter exporter;
  EXPECT_EQ(testutil::ExportPair(exporter, VELMAR_TEST_DATA "/worked.txt", tmx, "EN-US", 1252, "DE",
                                 1252, nullptr, nullptr, 0)
                .unitsWritten,
            2);
  EXPECT_EQ(ReadFile(tmx), ReadFile(VELMAR_TEST_DATA "/worked.tmx"));
  EXPECT_VALID_TMX(tmx);
}

TEST(Export, WorkedUnitGivesTenLines) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<CrD>26072002, 10:03:33", "<CrU>MARIA",
                          "<Att L=Client>Norvane, Harbour Lines", "<Seg L=EN-US>Hello world",
                          "<Seg L=DE>Hallo Welt", "</TrU>"}));
  ASSERT_EQ(c.result.unitsWritten, 1);
  ASSERT_EQ(c.lines.size(), 26u);
  const std::vector<std::string> unit(c.lines.begin() + 14, c.lines.begin() + 24);
  EXPECT_EQ(unit, (std::vector<std::string>{
                      "    <tu tuid=\"1\" srclang=\"EN-US\">",
                      "      <prop type=\"x-ALM:Client\">Norvane</prop>",
                      "      <prop type=\"x-ALM:Client\">Harbour Lines</prop>",
                      "      <tuv xml:lang=\"EN-US\" creationdate=\"20020726T100333Z\" "
                      "creationid=\"MARIA\">",
                      "        <seg>Hello world</seg>", "      </tuv>",
                      "      <tuv xml:lang=\"DE\" creationdate=\"20020726T100333Z\" "
                      "creationid=\"MARIA\">",
                      "        <seg>Hallo Welt</seg>", "      </tuv>", "    </tu>"}));
}

TEST(Export, NothingWrittenCreatesOrReplacesNothing) {
  TempDir dir;
  for (const char* txt : {"{\\stylesheet}\r\nno units here\r\n",
                          "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=FR>b\r\n</TrU>\r\n"}) {
    const Conversion c = Convert(dir, txt);
    EXPECT_EQ(c.result.stop, ExportResult::Stop::NothingWritten);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"});
  }
  WriteFile(dir.File("out.tmx"), "previous");
  ::chmod(dir.File("out.tmx").c_str(), 0640);
  EXPECT_EQ(Convert(dir, "no units\r\n").result.stop, ExportResult::Stop::NothingWritten);
  EXPECT_EQ(ReadFile(dir.File("out.tmx")), "previous");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "out.tmx"}));
}

TEST(Export, UnitsNeedBothLanguages) {
  TempDir dir;
  const Conversion c = Convert(
      dir,
      Lines({"<TrU>", "<CrU>A", "<Att L=Gone>x", "<Seg L=EN-US>only source", "</TrU>", "<TrU>",
             "<Seg L=FR>autre", "<Seg L=EN-US>one", "<Seg L=DE>eins", "<Seg L=DE>zwei", "</TrU>"}));
  EXPECT_EQ(c.result.unitsWritten, 1);
  EXPECT_TRUE(Properties(c).empty());
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\">");
  EXPECT_EQ(c.lines[14], "    <tu tuid=\"2\" srclang=\"EN-US\">");
  EXPECT_EQ(c.lines[19], "        <seg>zwei</seg>");  // a later segment replaces the earlier one
}

TEST(Export, SameSourceAndTargetWritesNothing) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<Seg L=DE>a", "<Seg L=DE>b", "</TrU>"}), "DE", "DE");
  EXPECT_EQ(c.result.stop, ExportResult::Stop::NothingWritten);
}

TEST(Export, FieldsBecomeProperties) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<Att L=Three>a, b, c", "<Att L=Trailing>x, ", "<Att L=Empty>",
                          "<Txt L=Blank>", "<Txt L=Note>a\tb & <c>, d", "<Att L=Q\"x>v",
                          "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  ASSERT_EQ(c.result.unitsWritten, 1);
  EXPECT_EQ(Properties(c), (std::vector<std::string>{
                               "<prop type=\"x-ALM:Three\">a</prop>",
                               "<prop type=\"x-ALM:Three\">b</prop>",
                               "<prop type=\"x-ALM:Three\">c</prop>",
                               "<prop type=\"x-ALM:Trailing\">x</prop>",
                               "<prop type=\"x-TXT:Blank\"></prop>",
                               "<prop type=\"x-TXT:Note\">ab &amp; &lt;c&gt;, d</prop>",
                               "<prop type=\"x-ALM:Q&quot;x\">v</prop>",
                           }));
}

TEST(Export, EveryUnitStartsWithoutFields) {
  TempDir dir;
  // Fields outside a unit and those of an unwritten unit reach no other unit.
  const Conversion c = Convert(
      dir, Lines({"<CrU>EARLY", "<TrU>", "<CrU>SKIPPED", "<Seg L=EN-US>only source", "</TrU>",
                  "<CrU>BETWEEN", "<TrU>", "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  ASSERT_EQ(c.result.unitsWritten, 1);
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\">");
}

TEST(Export, FieldValuesDecodeInTheTargetCodePage) {
  TempDir dir;
  const Conversion c = Convert(
      dir, Lines({"<TrU>", "<CrU>\xC8\xE2\xE0\xED", "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}),
      "EN-US", "DE", 1251);
  EXPECT_EQ(SourceTuv(c),
            "      <tuv xml:lang=\"EN-US\" creationid=\"\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\">");
}

struct DateCase {
  const char* name;
  const char* value;
  const char* attribute;  // expected attribute text, "" for none
};

class Dates : public ::testing::TestWithParam<DateCase> {};

TEST_P(Dates, BecomeTmxDatesOrNothing) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", (std::string("<ChD>") + GetParam().value).c_str(),
                          "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  EXPECT_EQ(SourceTuv(c),
            std::string("      <tuv xml:lang=\"EN-US\"") + GetParam().attribute + ">");
}

INSTANTIATE_TEST_SUITE_P(
    Values, Dates,
    ::testing::Values(DateCase{"full", "26072002, 10:03:33", " changedate=\"20020726T100333Z\""},
                      DateCase{"dateOnly", "26072002", " changedate=\"20020726T000000Z\""},
                      DateCase{"seventeenChars", "26072002, 10:03:3",
                               " changedate=\"20020726T000000Z\""},
                      DateCase{"tooShort", "2607200", ""},
                      DateCase{"leapDay", "29022000, 23:59:59", " changedate=\"20000229T235959Z\""},
                      DateCase{"noLeapDay", "29021900", ""}, DateCase{"month13", "01132002", ""},
                      DateCase{"day0", "00012002", ""}, DateCase{"april31", "31042002", ""},
                      DateCase{"hour24", "01012002, 24:00:00", ""},
                      DateCase{"minute60", "01012002, 10:60:00", ""},
                      DateCase{"letters", "2a072002", ""}, DateCase{"signInYear", "0101-002", ""},
                      DateCase{"yearZero", "01010000", " changedate=\"00000101T000000Z\""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Export, RepeatedFieldGivesOneAttributeWithTheLastValue) {
  TempDir dir;
  const Conversion c = Convert(
      dir, Lines({"<TrU>", "<CrU>FIRST", "<CrD>01012001", "<ChU>C", "<CrU>SECOND", "<CrD>99999999",
                  "<CrD>02022002", "<CrD>bad date", "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  EXPECT_EQ(SourceTuv(c),
            "      <tuv xml:lang=\"EN-US\" creationid=\"SECOND\" "
            "creationdate=\"20020202T000000Z\" changeid=\"C\">");
}

TEST(Export, AttributeValuesAreEscaped) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<CrU>a\"b<c>&d", "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\" creationid=\"a&quot;b&lt;c&gt;&amp;d\">");
}

TEST(Export, CharactersXmlForbidsAreLeftOut) {
  TempDir dir;
  const Conversion c = Convert(dir, Lines({"<TrU>",
                                           "<CrU>a\x01"
                                           "b",
                                           "<Txt L=N\x02>x\x1Fy", "<Seg L=EN-US>one\x0Btwo\x0C",
                                           "<Seg L=DE>t\x7F", "</TrU>"}));
  ASSERT_EQ(c.result.unitsWritten, 1);
  EXPECT_EQ(Properties(c), std::vector<std::string>{"<prop type=\"x-TXT:N\">xy</prop>"});
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\" creationid=\"ab\">");
  EXPECT_EQ(c.lines[17], "        <seg>onetwo</seg>");
}

TEST(Export, NulBytesInTheFileAreSkipped) {
  TempDir dir;
  const Conversion c = Convert(
      dir, std::string("<TrU>\r\n<Seg L=EN-US>a") + '\0' + "b\r\n<Seg L=DE>c\r\n</TrU>\r\n");
  ASSERT_EQ(c.result.unitsWritten, 1);
  EXPECT_EQ(c.lines[16], "        <seg>ab</seg>");
}

TEST(Export, TagLineNamingDoNotTranslateIsARecord) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<Seg L=EN-US>Keep DO_NOT_TRANSLATE text",
                          "<Txt L=Note>DO_NOT_TRANSLATE", "<Seg L=DE>t", "</TrU>"}));
  ASSERT_EQ(c.result.unitsWritten, 1);
  EXPECT_EQ(c.lines[17], "        <seg>Keep DO_NOT_TRANSLATE text</seg>");
  EXPECT_EQ(Properties(c),
            std::vector<std::string>{"<prop type=\"x-TXT:Note\">DO_NOT_TRANSLATE</prop>"});
}

// The style codes in force for the first unit of a file.
std::pair<std::u16string, std::u16string> StyleCodesOf(const TempDir& dir, const std::string& txt) {
  WriteFile(dir.File("in.txt"), txt);
  TxtReader reader;
  EngineError error;
  TxtUnit unit;
  EXPECT_TRUE(reader.Open(dir.File("in.txt"), error));
  EXPECT_TRUE(reader.Next(unit));
  return {unit.internalStyleCode, unit.doNotTranslateStyleCode};
}

TEST(Export, StyleSheetGivesTheStyleCodes) {
  TempDir dir;
  EXPECT_EQ(StyleCodesOf(dir, Lines({"{\\St \\cs12 {\\StN korvexInternal}}",
                                     "{\\St \\cs3 {\\StN DO_NOT_TRANSLATE}}", "<TrU>", "</TrU>"})),
            std::make_pair(std::u16string(u"\\cs12"), std::u16string(u"\\cs3")));
  // The internal style is no longer looked for once a unit has started; a style line without a
  // code falls back to the defaults.
  EXPECT_EQ(StyleCodesOf(dir, Lines({"<TrU>", "{\\St \\cs12 {\\StN korvexInternal}}", "</TrU>",
                                     "{\\St {\\StN DO_NOT_TRANSLATE}}"})),
            std::make_pair(std::u16string(u"\\cs6"), std::u16string(u"\\cs8")));
}

TEST(Export, ReaderWithoutTextsKeepsCodesAndNamesOnly) {
  TempDir dir;
  WriteFile(dir.File("in.txt"),
            Lines({"<TrU>", "<Att L=Client>A, B", "<Seg L=EN-US>one", "<Seg L=DE>zwei", "</TrU>"}));
  for (const bool keep : {true, false}) {
    TxtReader reader;
    EngineError error;
    TxtUnit unit;
    ASSERT_TRUE(reader.Open(dir.File("in.txt"), error));
    reader.KeepTexts(keep);
    ASSERT_TRUE(reader.Next(unit));
    ASSERT_EQ(unit.segmentCount, 2u);
    ASSERT_EQ(unit.fieldCount, 1u);
    EXPECT_EQ(unit.segments[1].code, "DE");
    EXPECT_EQ(unit.segments[1].text, keep ? "zwei" : "");
    EXPECT_EQ(unit.fields[0].name, "Client");
    EXPECT_EQ(unit.fields[0].value, keep ? "A, B" : "");
  }
}

// The same units as UTF-8 after a byte-order mark, and as UTF-16 in both byte orders.
std::string Utf16(const std::u16string& text, bool little, bool mark) {
  std::string bytes = mark ? (little ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    bytes += little ? std::string{lo, hi} : std::string{hi, lo};
  }
  return bytes;
}

TEST(Export, UnicodeFilesAreReadAsUnicode) {
  // Field names are Unicode too; UTF-16 is recognised in both byte orders without a mark.
  const std::u16string text =
      u"<TrU>\r\n<CrU>J\u00F6rg\r\n<Txt L=Gr\u00F6\u00DFe>g\r\n<Att L=\u041A\u0430\u0442>k\r\n"
      u"<Seg L=EN-US>caf\u00E9 M\u00FCller \u65E5\u672C\u8A9E "
      u"\U0001F600\r\n"
      u"<Seg L=DE>Stra\u00DFe \\'fc\\'e4\\'zz\r\n</TrU>\r\n";
  const std::string utf8 =
      "<TrU>\r\n<CrU>J\xC3\xB6rg\r\n<Txt L=Gr\xC3\xB6\xC3\x9F"
      "e>g\r\n<Att L=\xD0\x9A\xD0\xB0\xD1\x82>k\r\n"
      "<Seg L=EN-US>caf\xC3\xA9 M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC"
      "\xE8\xAA\x9E \xF0\x9F\x98\x80\r\n<Seg L=DE>Stra\xC3\x9F"
      "e \\'fc\\'e4\\'zz\r\n</TrU>\r\n";
  for (const std::string& file :
       {"\xEF\xBB\xBF" + utf8, Utf16(text, true, true), Utf16(text, false, true),
        Utf16(text, true, false), Utf16(text, false, false)}) {
    TempDir dir;
    const Conversion c = Convert(dir, file);
    ASSERT_EQ(c.result.unitsWritten, 1);
    EXPECT_EQ(Properties(c),
              (std::vector<std::string>{"<prop type=\"x-TXT:Gr\xC3\xB6\xC3\x9F"
                                        "e\">g</prop>",
                                        "<prop type=\"x-ALM:\xD0\x9A\xD0\xB0\xD1\x82\">k</prop>"}));
    EXPECT_EQ(c.lines[17], "      <tuv xml:lang=\"EN-US\" creationid=\"J\xC3\xB6rg\">");
    EXPECT_EQ(c.lines[18],
              "        <seg>caf\xC3\xA9 M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E "
              "\xF0\x9F\x98\x80</seg>");
    // Byte escapes are bytes in the language's code page (1252 here); one without a
    // hexadecimal digit stays as it is.
    EXPECT_EQ(c.lines[21],
              "        <seg>Stra\xC3\x9F"
              "e \xC3\xBC\xC3\xA4\\&apos;zz</seg>");
  }
}

TEST(Export, SegmentsClosedByAStrayEndTagAreNotLost) {
  // Segments after a unit's </TrU>: a unit with the last unit's number, whether a second </TrU>,
  // the next <TrU> or the end of the file ends them.
  const std::vector<const char*> head = {"<TrU>",         "<Seg L=EN-US>one", "<Seg L=DE>eins",
                                         "</TrU>",        "<ChU>LOOSE",       "<Seg L=EN-US>loose",
                                         "<Seg L=DE>lose"};
  const std::vector<std::vector<const char*>> ends = {
      {"</TrU>", "</TrU>"}, {"<TrU>", "<Seg L=EN-US>two", "<Seg L=DE>zwei", "</TrU>"}, {}};
  for (const auto& end : ends) {
    TempDir dir;
    std::string txt;
    for (const char* line : head) txt += std::string(line) + "\r\n";
    for (const char* line : end) txt += std::string(line) + "\r\n";
    const Conversion c = Convert(dir, txt);
    ASSERT_EQ(c.result.unitsWritten, end.size() == 4 ? 3 : 2) << txt;
    EXPECT_EQ(c.lines[22], "    <tu tuid=\"1\" srclang=\"EN-US\">") << txt;
    EXPECT_EQ(c.lines[23], "      <tuv xml:lang=\"EN-US\" changeid=\"LOOSE\">") << txt;
    EXPECT_EQ(c.lines[24], "        <seg>loose</seg>") << txt;
    if (end.size() == 4) {
      EXPECT_EQ(c.lines[30], "    <tu tuid=\"2\" srclang=\"EN-US\">");
      EXPECT_EQ(c.lines[32], "        <seg>two</seg>");
    }
  }
}

TEST(Export, OpenUnitsAreWrittenAsIfClosed) {
  TempDir dir;
  // The first unit lacks its </TrU>, the last one too: both are written, each with its own fields.
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<CrU>ANNA", "<Seg L=EN-US>caf\xE9 one",
                          "<Seg L=DE>M\xFCller eins", "<TrU>", "<Seg L=EN-US>two", "<Seg L=DE>zwei",
                          "</TrU>", "<TrU>", "<ChU>BERT", "<Seg L=EN-US>three", "<Seg L=DE>drei"}));
  ASSERT_EQ(c.result.unitsWritten, 3);
  std::vector<std::string> units;
  for (const std::string& line : c.lines) {
    if (line.find("<tu ") != std::string::npos ||
        line.find("<tuv xml:lang=\"DE\"") != std::string::npos ||
        line.find("<seg>") != std::string::npos) {
      units.push_back(line.substr(line.find('<')));
    }
  }
  EXPECT_EQ(units, (std::vector<std::string>{
                       "<tu tuid=\"1\" srclang=\"EN-US\">",
                       "<seg>caf\xC3\xA9 one</seg>",
                       "<tuv xml:lang=\"DE\" creationid=\"ANNA\">",
                       "<seg>M\xC3\xBCller eins</seg>",
                       "<tu tuid=\"2\" srclang=\"EN-US\">",
                       "<seg>two</seg>",
                       "<tuv xml:lang=\"DE\">",
                       "<seg>zwei</seg>",
                       "<tu tuid=\"3\" srclang=\"EN-US\">",
                       "<seg>three</seg>",
                       "<tuv xml:lang=\"DE\" changeid=\"BERT\">",
                       "<seg>drei</seg>",
                   }));
}

TEST(Export, Utf16OutputCarriesTheSameDocument) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  WriteFile(txtPath, Lines({"<TrU>", "<Seg L=EN-US>caf\xE9", "<Seg L=DE>x", "</TrU>"}));
  CTmxExporter exporter;
  ASSERT_EQ(testutil::ExportPair(exporter, txtPath, dir.File("a.tmx"), "EN-US", 1252, "DE", 1252,
                                 nullptr, nullptr, 0)
                .unitsWritten,
            1);
  ASSERT_EQ(testutil::ExportPair(exporter, txtPath, dir.File("b.tmx"), "EN-US", 1252, "DE", 1252,
                                 nullptr, nullptr, 1)
                .unitsWritten,
            1);
  const std::string utf8 = ReadFile(dir.File("a.tmx"));
  const std::string utf16 = ReadFile(dir.File("b.tmx"));
  ASSERT_GE(utf16.size(), 2u);
  EXPECT_EQ(utf16.substr(0, 2), "\xFF\xFE");
  std::u16string units((utf16.size() - 2) / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 + 2 * i]) |
                                     static_cast<unsigned char>(utf16[3 + 2 * i]) << 8);
  }
  EXPECT_EQ("\xEF\xBB\xBF" + ToUtf8(units), utf8);
}

TEST(Export, ProgressEveryTenLinesAndStatusTexts) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  std::string txt;
  for (int i = 0; i < 25; ++i) txt += "line\r\n";
  WriteFile(txtPath, txt);
  RecordingProgress progress;
  CTmxExporter exporter;
  EXPECT_EQ(testutil::ExportPair(exporter, txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252,
                                 &progress, &progress, 0)
                .stop,
            ExportResult::Stop::NothingWritten);
  // Lines are counted without their line ends: 40 of 150 bytes and 80 of 150.
  EXPECT_EQ(progress.positions, (std::vector<int>{26, 53, 100}));
  EXPECT_EQ(progress.statuses,
            (std::vector<ProgressState>{ProgressState::Exporting, ProgressState::Idle}));

  WriteFile(txtPath, "1\n2\n3\n4\n5\n6\n7\n8\n9\n");
  RecordingProgress nine;
  EXPECT_EQ(testutil::ExportPair(exporter, txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252,
                                 &nine, nullptr, 0)
                .stop,
            ExportResult::Stop::NothingWritten);
  EXPECT_EQ(nine.positions, std::vector<int>{100});
}

TEST(Export, QuittingAbandonsAndLeavesNoFile) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  std::string txt;
  for (int i = 0; i < 50; ++i) txt += "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=DE>b\r\n</TrU>\r\n";
  WriteFile(txtPath, txt);
  const std::string tmxPath = dir.File("out.tmx");
  for (int quitAt : {1, 3, 21}) {  // 21: the pump after the last line
    RecordingProgress progress;
    progress.quitAt = quitAt;
    CTmxExporter exporter;
    const ExportResult result = testutil::ExportPair(exporter, txtPath, tmxPath, "EN-US", 1252,
                                                     "DE", 1252, &progress, &progress, 0);
    EXPECT_EQ(result.stop, ExportResult::Stop::Abandoned) << quitAt;
    EXPECT_EQ(result.unitsWritten, 0) << quitAt;
    EXPECT_EQ(result.error.kind, EngineError::Kind::Abandoned);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"}) << quitAt;
    EXPECT_EQ(progress.statuses, std::vector<ProgressState>{ProgressState::Exporting});
  }
  // An existing TMX file stays as it was.
  WriteFile(tmxPath, "previous");
  RecordingProgress progress;
  progress.quitAt = 2;
  CTmxExporter exporter;
  EXPECT_EQ(testutil::ExportPair(exporter, txtPath, tmxPath, "EN-US", 1252, "DE", 1252, &progress,
                                 nullptr, 0)
                .stop,
            ExportResult::Stop::Abandoned);
  EXPECT_EQ(ReadFile(tmxPath), "previous");
}

// A sink that reports a full disk once limit bytes have been written.
class FullDiskSink : public ByteSink {
 public:
  FullDiskSink(std::unique_ptr<ByteSink> inner, size_t limit)
      : m_inner(std::move(inner)), m_left(limit) {}
  bool Write(const char* data, size_t size) override {
    if (m_error || size > m_left) {
      m_error = ENOSPC;
      return false;
    }
    m_left -= size;
    return m_inner->Write(data, size);
  }
  bool Flush() override { return !m_error && m_inner->Flush(); }
  int Error() const override { return m_error ? m_error : m_inner->Error(); }

 private:
  std::unique_ptr<ByteSink> m_inner;
  size_t m_left;
  int m_error = 0;
};

TEST(Export, FullDiskFailsAndLeavesNoFile) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  std::string txt;
  for (int i = 0; i < 600; ++i) txt += "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=DE>b\r\n</TrU>\r\n";
  WriteFile(txtPath, txt);
  ExportRequest request;
  request.txtPath = txtPath;
  request.tmxPath = dir.File("out.tmx");
  request.sourceCode = "EN-US";
  request.targetCode = "DE";
  // On one thread the writing fails while a batch is converted, on three in the writer thread,
  // before or after batches have been written.
  for (const int threads : {1, 3}) {
    for (size_t limit : {size_t{0}, size_t{100}, size_t{5000}, size_t{60000}}) {
      CTmxExporter exporter;
      exporter.SetSinkWrapper([limit](std::unique_ptr<ByteSink> inner) {
        return std::make_unique<FullDiskSink>(std::move(inner), limit);
      });
      ExportReport report;
      request.threads = threads;
      request.report = &report;
      const ExportResult result = exporter.Export(request, nullptr);
      EXPECT_EQ(result.stop, ExportResult::Stop::Failed);
      EXPECT_EQ(result.error.kind, EngineError::Kind::WriteOutput);
      EXPECT_EQ(result.error.reason, "No space left on device");
      EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"}) << limit << " " << threads;
      // Nothing more is read once the writing has failed: on one thread the run ends with the
      // batch being converted, long before the end of the file.
      if (threads == 1) {
        EXPECT_LT(report.unitsRead, 600) << limit;
      }
    }
  }
}

TEST(Export, MissingOrUnreadableInput) {
  TempDir dir;
  CTmxExporter exporter;
  ExportResult result = testutil::ExportPair(exporter, dir.File("none.txt"), dir.File("o.tmx"),
                                             "EN-US", 1252, "DE", 1252, nullptr, nullptr, 0);
  EXPECT_EQ(result.stop, ExportResult::Stop::Failed);
  EXPECT_EQ(result.error.kind, EngineError::Kind::OpenInput);
  EXPECT_EQ(result.error.path, dir.File("none.txt"));
  EXPECT_TRUE(dir.Entries().empty());

  ::mkdir(dir.File("folder.txt").c_str(), 0755);
  result = testutil::ExportPair(exporter, dir.File("folder.txt"), dir.File("o.tmx"), "EN-US", 1252,
                                "DE", 1252, nullptr, nullptr, 0);
  EXPECT_EQ(result.stop, ExportResult::Stop::Failed);
  EXPECT_EQ(result.error.kind, EngineError::Kind::ReadInput);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.txt"});
}

TEST(Export, OutputThatCannotBeCreated) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  WriteFile(txtPath, "<TrU>\r\n</TrU>\r\n");
  CTmxExporter exporter;
  for (const std::string& tmx : {dir.File("no/such/folder/o.tmx"), dir.path(), std::string()}) {
    const ExportResult result = testutil::ExportPair(exporter, txtPath, tmx, "EN-US", 1252, "DE",
                                                     1252, nullptr, nullptr, 0);
    EXPECT_EQ(result.stop, ExportResult::Stop::Failed) << tmx;
    EXPECT_EQ(result.error.kind, EngineError::Kind::CreateOutput) << tmx;
  }
}

TEST(Export, SameFileIsRefusedAndUntouched) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  const std::string content = "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=DE>b\r\n</TrU>\r\n";
  WriteFile(txtPath, content);
  ASSERT_EQ(::link(txtPath.c_str(), dir.File("hard.tmx").c_str()), 0);
  ASSERT_EQ(::symlink(txtPath.c_str(), dir.File("soft.tmx").c_str()), 0);
  for (const std::string& tmx :
       {txtPath, dir.File("hard.tmx"), dir.File("soft.tmx"), dir.path() + "/./in.txt"}) {
    CTmxExporter exporter;
    const ExportResult result = testutil::ExportPair(exporter, txtPath, tmx, "EN-US", 1252, "DE",
                                                     1252, nullptr, nullptr, 0);
    EXPECT_EQ(result.stop, ExportResult::Stop::Failed) << tmx;
    EXPECT_EQ(result.error.kind, EngineError::Kind::SameFile);
    EXPECT_EQ(ReadFile(txtPath), content);
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"hard.tmx", "in.txt", "soft.tmx"}));
}

constexpr const char* kOneUnitTxt =
    "<TrU>\r\n<Seg L=EN-US>caf\xE9\r\n<Seg L=DE>M\xFCller\r\n</TrU>\r\n";

ExportRequest PairRequest(const TempDir& dir, const std::string& tmxPath) {
  ExportRequest request;
  request.txtPath = dir.File("in.txt");
  request.tmxPath = tmxPath;
  request.sourceCode = "EN-US";
  request.targetCode = "DE";
  return request;
}

// Every kind of failure in the words both front ends show: the command line's sentence, the
// report's summary and the parts that the desktop tool and the web page use.
TEST(EngineErrorDescription, EachKindInWords) {
  const auto quoted = [](const std::string& path) { return "'" + path + "'"; };
  const struct {
    EngineError::Kind kind;
    int number;
    EngineError::Work work;
    std::string sentence;
    std::string summary;
    std::string verb;
  } cases[] = {
      {EngineError::Kind::OpenInput, ENOENT, EngineError::Work::Conversion,
       "cannot open 'f': No such file or directory", "f: No such file or directory", "open"},
      {EngineError::Kind::ReadInput, EISDIR, EngineError::Work::Analysis,
       "cannot read 'f': Is a directory", "f: Is a directory", "read"},
      {EngineError::Kind::CreateOutput, EACCES, EngineError::Work::Conversion,
       "cannot create 'f': Permission denied", "f: Permission denied", "create"},
      {EngineError::Kind::WriteOutput, ENOSPC, EngineError::Work::Conversion,
       "cannot write 'f': No space left on device", "f: No space left on device", "write"},
      {EngineError::Kind::SameFile, 0, EngineError::Work::Conversion,
       "'f' is the TXT file itself; choose another TMX file", "f: failed", ""},
      {EngineError::Kind::OutputExists, EEXIST, EngineError::Work::Conversion,
       "'f' exists; not replaced (--no-clobber)", "f: File exists", ""},
      {EngineError::Kind::OutOfMemory, 0, EngineError::Work::Conversion,
       "out of memory converting 'f'", "f: out of memory", ""},
      {EngineError::Kind::OutOfMemory, 0, EngineError::Work::Analysis, "out of memory reading 'f'",
       "f: out of memory", ""},
      {EngineError::Kind::Abandoned, 0, EngineError::Work::Conversion, "the conversion failed",
       "f: failed", ""},
  };
  for (const auto& c : cases) {
    EngineError error;
    error.work = c.work;
    error.Set(c.kind, "f", c.number);
    EXPECT_TRUE(error.Failed()) << c.sentence;
    const ErrorDescription d = Describe(error, quoted);
    EXPECT_EQ(d.sentence, c.sentence);
    EXPECT_EQ(Describe(error).summary, c.summary) << c.sentence;
    EXPECT_EQ(d.verb, c.verb) << c.sentence;
    EXPECT_EQ(d.path, "'f'") << c.sentence;
  }
  EXPECT_FALSE(EngineError().Failed());
}

TEST(Export, NewFileGetsTheUsualPermissionsAnExistingOneKeepsItsOwn) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), kOneUnitTxt);
  const mode_t old = ::umask(022);
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(PairRequest(dir, dir.File("o.tmx")), nullptr).unitsWritten, 1);
  struct stat st {};
  ASSERT_EQ(::stat(dir.File("o.tmx").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  ::chmod(dir.File("o.tmx").c_str(), 0640);
  EXPECT_EQ(exporter.Export(PairRequest(dir, dir.File("o.tmx")), nullptr).unitsWritten, 1);
  ::umask(old);
  ASSERT_EQ(::stat(dir.File("o.tmx").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_VALID_TMX(dir.File("o.tmx"));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "o.tmx"}));
}

TEST(Export, SymbolicLinksStayAndTheirTargetIsReplaced) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), kOneUnitTxt);
  ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0755), 0);
  WriteFile(dir.File("real/target.tmx"), "old");
  ASSERT_EQ(::symlink("real/target.tmx", dir.File("link.tmx").c_str()), 0);
  ASSERT_EQ(::symlink("link.tmx", dir.File("chain.tmx").c_str()), 0);
  // A dangling link: the file it names is created.
  ASSERT_EQ(::symlink("real/new.tmx", dir.File("dangling.tmx").c_str()), 0);
  CTmxExporter exporter;
  for (const char* name : {"chain.tmx", "dangling.tmx"}) {
    EXPECT_EQ(exporter.Export(PairRequest(dir, dir.File(name)), nullptr).unitsWritten, 1) << name;
    struct stat st {};
    ASSERT_EQ(::lstat(dir.File(name).c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << name;
  }
  EXPECT_VALID_TMX(dir.File("real/target.tmx"));
  EXPECT_VALID_TMX(dir.File("real/new.tmx"));
  EXPECT_EQ(testutil::ReadFile(dir.File("link.tmx")), testutil::ReadFile(dir.File("real/new.tmx")));
}

TEST(Export, SpecialFilesAreWrittenInto) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), kOneUnitTxt);
  const std::string fifo = dir.File("pipe.tmx");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = testutil::ReadFile(fifo); });
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(PairRequest(dir, fifo), nullptr).unitsWritten, 1);
  reader.join();
  struct stat st {};
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_NE(received.find("<seg>M\xC3\xBCller</seg>"), std::string::npos);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "pipe.tmx"}));

  // An open descriptor (standard output on the command line) is written into as well.
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::string piped;
  std::thread drain([&] {
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
      piped.append(buffer, static_cast<size_t>(n));
  });
  ExportRequest request = PairRequest(dir, "standard output");
  request.outputFd = fds[1];
  EXPECT_EQ(exporter.Export(request, nullptr).unitsWritten, 1);
  ::close(fds[1]);
  drain.join();
  ::close(fds[0]);
  EXPECT_EQ(piped, received);
}

TEST(Export, LongTmxNamesAndNoClobber) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), kOneUnitTxt);
  CTmxExporter exporter;
  // The longest name the file system takes: the temporary file must not need a longer one.
  const std::string longName = dir.File(std::string(251, 'n') + ".tmx");
  EXPECT_EQ(exporter.Export(PairRequest(dir, longName), nullptr).unitsWritten, 1);
  EXPECT_VALID_TMX(longName);

  ExportRequest request = PairRequest(dir, dir.File("kept.tmx"));
  request.noClobber = true;
  EXPECT_EQ(exporter.Export(request, nullptr).unitsWritten, 1);
  WriteFile(dir.File("kept.tmx"), "previous");
  const ExportResult refused = exporter.Export(request, nullptr);
  EXPECT_EQ(refused.stop, ExportResult::Stop::Failed);
  EXPECT_EQ(refused.error.kind, EngineError::Kind::OutputExists);
  EXPECT_EQ(testutil::ReadFile(dir.File("kept.tmx")), "previous");
  EXPECT_EQ(dir.Entries().size(), 3u);
}

// The operations that make the TMX file, with unnamed temporary files and without (a file
// system that has none), replacing a file or not: the bytes are on the disk before the file
// takes its place, and its name after.
TEST(Export, DurableCommitInItsOrder) {
  struct Case {
    bool refuseUnnamed;
    bool noClobber;
    std::vector<std::string> operations;
  };
  const std::vector<Case> cases = {
      {false,
       false,
       {"unnamed", "write", "sync", "named", "remove", "name", "rename", "sync folder"}},
      {true, false, {"unnamed refused", "named", "write", "sync", "rename", "sync folder"}},
      {false, true, {"unnamed", "write", "sync", "name", "sync folder"}},
      {true, true, {"unnamed refused", "named", "write", "sync", "link", "remove", "sync folder"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir.File("in.txt"), kOneUnitTxt);
    testutil::RecordingFileSystem files;
    files.refuseUnnamed = c.refuseUnnamed;
    ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
    request.noClobber = c.noClobber;
    CTmxExporter exporter;
    EXPECT_EQ(exporter.Export(request, nullptr).unitsWritten, 1);
    EXPECT_EQ(files.operations, c.operations) << c.refuseUnnamed << c.noClobber;
    EXPECT_VALID_TMX(dir.File("o.tmx"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "o.tmx"}));
  }
}

// A sync, naming or rename that fails leaves the old TMX file as it was and nothing else.
TEST(Export, FailingCommitKeepsTheOldFile) {
  struct Case {
    bool refuseUnnamed;
    std::string failing;
    EngineError::Kind kind;
  };
  const std::vector<Case> cases = {
      {false, "sync", EngineError::Kind::WriteOutput},
      {true, "sync", EngineError::Kind::WriteOutput},
      {false, "name", EngineError::Kind::CreateOutput},
      {false, "rename", EngineError::Kind::CreateOutput},
      {true, "rename", EngineError::Kind::CreateOutput},
      {true, "named", EngineError::Kind::CreateOutput},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir.File("in.txt"), kOneUnitTxt);
    WriteFile(dir.File("o.tmx"), "previous");
    testutil::RecordingFileSystem files;
    files.refuseUnnamed = c.refuseUnnamed;
    files.failing = c.failing;
    CTmxExporter exporter;
    const ExportResult result = exporter.Export(PairRequest(dir, dir.File("o.tmx")), nullptr);
    EXPECT_EQ(result.stop, ExportResult::Stop::Failed) << c.failing << c.refuseUnnamed;
    EXPECT_EQ(result.error.kind, c.kind) << c.failing;
    EXPECT_EQ(result.error.reason, "Input/output error") << c.failing;
    EXPECT_EQ(ReadFile(dir.File("o.tmx")), "previous") << c.failing << c.refuseUnnamed;
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "o.tmx"})) << c.failing;
  }
}

// Answers ShouldStop with stop.
class StopSwitch : public ProgressReporter {
 public:
  bool ShouldStop() override { return stop; }
  std::atomic<bool> stop{false};
};

// A stop that comes during the commit: until the bytes are on the disk it abandons the run and
// the old file stays; from then on the file takes its place and the run is done.
TEST(Export, AStopDuringTheCommitIsAllOrNothing) {
  struct Case {
    bool refuseUnnamed;
    std::string at;  // the operation during which the stop comes
    ExportResult::Stop stop;
  };
  const std::vector<Case> cases = {
      {false, "write", ExportResult::Stop::Abandoned},
      {false, "sync", ExportResult::Stop::Abandoned},
      {false, "named", ExportResult::Stop::Done},
      {false, "name", ExportResult::Stop::Done},
      {false, "rename", ExportResult::Stop::Done},
      {false, "sync folder", ExportResult::Stop::Done},
      {true, "write", ExportResult::Stop::Abandoned},
      {true, "sync", ExportResult::Stop::Abandoned},
      {true, "rename", ExportResult::Stop::Done},
      {true, "sync folder", ExportResult::Stop::Done},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir.File("in.txt"), kOneUnitTxt);
    WriteFile(dir.File("o.tmx"), "previous");
    StopSwitch progress;
    testutil::RecordingFileSystem files;
    files.refuseUnnamed = c.refuseUnnamed;
    files.atOperation = [&](const std::string& operation) {
      if (operation == c.at) progress.stop = true;
    };
    CTmxExporter exporter;
    const ExportResult result = exporter.Export(PairRequest(dir, dir.File("o.tmx")), &progress);
    ASSERT_TRUE(progress.stop) << c.at;
    EXPECT_EQ(result.stop, c.stop) << c.at << c.refuseUnnamed;
    if (c.stop == ExportResult::Stop::Done) {
      EXPECT_EQ(result.unitsWritten, 1);
      EXPECT_VALID_TMX(dir.File("o.tmx"));
    } else {
      EXPECT_EQ(ReadFile(dir.File("o.tmx")), "previous") << c.at << c.refuseUnnamed;
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "o.tmx"})) << c.at;
  }
}

// Hidden temporary files that earlier runs left (killed, or where files cannot be unnamed) are
// removed by the next run into their folder once no program holds them; others stay.
TEST(Export, StaleTemporaryFilesAreRemoved) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), kOneUnitTxt);
  for (const char* stale : {".velmar2tmx-Ab3xY9", ".velmar2tmx-report-q1W2e3"}) {
    WriteFile(dir.File(stale), "left by a killed run");
  }
  for (const char* other : {".velmar2tmx-notours", ".velmar2tmx-ab", "velmar2tmx-Ab3xY9"}) {
    WriteFile(dir.File(other), "not a temporary file of a run");
  }
  ASSERT_EQ(::symlink("in.txt", dir.File(".velmar2tmx-LiNk00").c_str()), 0);
  std::string heldPath;  // the file of a run still writing, in another process
  const int held = TheFileSystem().CreateNamed(dir.path(), ".velmar2tmx-", heldPath);
  ASSERT_GE(held, 0);
  const pid_t run = ::fork();
  if (run == 0) {
    ::pause();
    ::_exit(0);
  }
  ASSERT_GT(run, 0);
  TheFileSystem().Close(held);  // only the other process holds it now
  const std::string heldName = heldPath.substr(dir.path().size() + 1);
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(PairRequest(dir, dir.File("o.tmx")), nullptr).unitsWritten, 1);
  std::vector<std::string> expected = {
      ".velmar2tmx-LiNk00", ".velmar2tmx-ab", ".velmar2tmx-notours", heldName, "in.txt", "o.tmx",
      "velmar2tmx-Ab3xY9"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dir.Entries(), expected);
  // That run is killed: its file is left over now, and the next run removes it.
  ASSERT_EQ(::kill(run, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(run, &status, 0), run);
  EXPECT_EQ(exporter.Export(PairRequest(dir, dir.File("p.tmx")), nullptr).unitsWritten, 1);
  expected.erase(std::find(expected.begin(), expected.end(), heldName));
  expected.push_back("p.tmx");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dir.Entries(), expected);
}

TEST(Export, StoppingTakesEffectWithoutLineEnds) {
  // Input without a single line end (here: NUL bytes, which are skipped) is still stopped
  // between blocks.
  TempDir dir;
  WriteFile(dir.File("in.txt"), std::string(20 * LineReader::kBlockSize, '\0'));
  RecordingProgress progress;
  progress.quitAt = 3;
  CTmxExporter exporter;
  const ExportResult result = exporter.Export(PairRequest(dir, dir.File("o.tmx")), &progress);
  EXPECT_EQ(result.stop, ExportResult::Stop::Abandoned);
  EXPECT_EQ(progress.pumps, 3);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"});
}

}  // namespace

namespace {

TEST(ExportReport, NamesEverySkippedUnitAndEveryChangeWithItsLine) {
  TempDir dir;
  WriteFile(dir.File("in.txt"),
            Lines({"<TrU>",                    // 1: written, with its changes
                   "<CrD>31022005, 10:00:00",  // 2: no 31 February
                   "<CrU>ANNA", "<CrU>BERT",   // 3, 4: repeated
                   "<Seg L=EN-US>a\x01"
                   "b, then a longer run of text\x1f",  // 5: U+0001 and U+001F left out
                   "<Seg L=DE>x {\\cs6 <b>}y",          // 6: a tag without its partner
                   "</TrU>", "<TrU>", "<Seg L=EN-US>only source", "</TrU>",  // 8: no target
                   "<TrU>", "<Seg L=XX-YY>?", "<Seg L=DE>t", "</TrU>",       // 11: unknown code
                   "<TrU>", "<Seg L=DE>only target", "</TrU>"}));            // 15: no source
  ExportReport report;
  ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
  request.report = &report;
  CTmxExporter exporter;
  const ExportResult result = exporter.Export(request, nullptr);
  EXPECT_EQ(result.unitsWritten, 1);
  EXPECT_EQ(result.unitsRead, 4);
  EXPECT_EQ(result.skipped.noTarget, 1);
  EXPECT_EQ(result.skipped.unresolved, 1);
  EXPECT_EQ(result.skipped.noSource, 1);
  EXPECT_VALID_TMX(dir.File("o.tmx"));

  const nlohmann::json json = nlohmann::json::parse(ReportJson({report}));
  const nlohmann::json& file = json["files"][0];
  EXPECT_EQ(file["input"], dir.File("in.txt"));
  EXPECT_EQ(file["outcome"], "written");
  EXPECT_EQ(file["source"]["language"], "EN-US");
  EXPECT_EQ(file["languages"][0]["language"], "DE");
  EXPECT_EQ(file["unitsRead"], 4);
  EXPECT_EQ(file["unitsSkipped"]["total"], 3);
  EXPECT_EQ(file["unitsSkipped"]["noTargetSegment"]["entries"][0]["line"], 8);
  EXPECT_EQ(file["unitsSkipped"]["unresolvedLanguageCode"]["entries"][0]["line"], 11);
  EXPECT_EQ(file["unitsSkipped"]["noSourceSegment"]["entries"][0]["line"], 15);
  const nlohmann::json& changes = file["changes"];
  EXPECT_EQ(changes["forbiddenCharacters"]["entries"][0]["line"], 5);
  EXPECT_EQ(changes["forbiddenCharacters"]["entries"][0]["codePoint"], "U+0001");
  EXPECT_EQ(changes["forbiddenCharacters"]["entries"][1]["codePoint"], "U+001F");
  EXPECT_EQ(changes["forbiddenCharacters"]["count"], 2);
  EXPECT_EQ(changes["invalidDates"]["entries"][0]["line"], 2);
  EXPECT_EQ(changes["invalidDates"]["entries"][0]["field"], "CrD");
  EXPECT_EQ(changes["invalidDates"]["entries"][0]["value"], "31022005, 10:00:00");
  EXPECT_EQ(changes["repeatedFields"]["entries"][0]["line"], 4);
  EXPECT_EQ(changes["repeatedFields"]["entries"][0]["field"], "CrU");
  EXPECT_EQ(changes["unpairedInlineElements"]["entries"][0]["line"], 6);
  EXPECT_EQ(json["total"]["unitsWritten"], 1);
}

// Every Seg line of a report's languages: read = written + in skipped units + left out.
void ExpectSegmentsReconcile(const nlohmann::json& file) {
  ASSERT_TRUE(file["segments"]["languages"].is_array());
  for (const nlohmann::json& language : file["segments"]["languages"]) {
    const nlohmann::json& out = language["leftOut"];
    EXPECT_EQ(out["total"].get<int64_t>(),
              out["unknownLanguageCode"].get<int64_t>() + out["otherLanguage"].get<int64_t>() +
                  out["repeatedLanguage"].get<int64_t>() + out["empty"].get<int64_t>())
        << language;
    EXPECT_EQ(language["read"].get<int64_t>(), language["written"].get<int64_t>() +
                                                   language["inSkippedUnits"].get<int64_t>() +
                                                   out["total"].get<int64_t>())
        << language;
  }
}

struct SegmentAccount {
  const char* language;
  int read, written, inSkippedUnits, unknownCode, otherLanguage, repeated, empty;
};

TEST(ExportReport, EverySegLineIsWrittenOrAccountedFor) {
  TempDir dir;
  // The frame of the file ("<RTF Preamble>" and its end) holds no fields.
  WriteFile(dir.File("in.txt"),
            "<RTF Preamble>\r\n<StyleSheet>\r\n</RTF Preamble>\r\n" +
                Lines({"<CrU>EARLY",                               // 4: a field before any unit
                       "<TrU>", "<Seg L=EN-US>first",              // 6: a later EN-US counts
                       "<Seg L=EN-US>second", "<Seg L=DE>t",       // 7, 8: written
                       "<Seg L=FR>f", "<Seg L=RU>",                // 9, 10: other languages / empty
                       "<Seg L=QQ-ZZ>q", "</TrU>",                 // 11: no such language
                       "<ChU>BETWEEN", "</TrU>",                   // 13: a field between units
                       "<TrU>", "<Seg L=EN-US>only", "</TrU>"}));  // 16: in a skipped unit
  for (const bool all : {false, true}) {
    for (const int threads : {1, 3}) {
      ExportReport report;
      ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
      request.allLanguages = all;
      request.threads = threads;
      request.report = &report;
      CTmxExporter exporter;
      const ExportResult result = exporter.Export(request, nullptr);
      ASSERT_EQ(result.unitsWritten, 1);
      EXPECT_VALID_TMX(dir.File("o.tmx"));
      EXPECT_EQ(result.skipped.segments.unknownCode, 1);
      EXPECT_EQ(result.skipped.segments.repeated, 1);
      EXPECT_EQ(result.skipped.segments.otherLanguage, all ? 0 : 2);
      EXPECT_EQ(result.skipped.segments.empty, all ? 1 : 0);
      const nlohmann::json file = nlohmann::json::parse(ReportJson({report}))["files"][0];
      ExpectSegmentsReconcile(file);
      const std::vector<SegmentAccount> expected = {
          {"DE", 1, 1, 0, 0, 0, 0, 0},
          {"EN-US", 3, 1, 1, 0, 0, 1, 0},
          {"FR", 1, all ? 1 : 0, 0, 0, all ? 0 : 1, 0, 0},
          {"QQ-ZZ", 1, 0, 0, 1, 0, 0, 0},
          {"RU", 1, 0, 0, 0, all ? 0 : 1, 0, all ? 1 : 0}};
      const nlohmann::json& languages = file["segments"]["languages"];
      ASSERT_EQ(languages.size(), expected.size()) << languages;
      for (size_t i = 0; i < expected.size(); ++i) {
        const SegmentAccount& e = expected[i];
        const nlohmann::json& l = languages[i];
        EXPECT_EQ(l["language"], e.language);
        EXPECT_EQ(l["read"], e.read) << e.language;
        EXPECT_EQ(l["written"], e.written) << e.language;
        EXPECT_EQ(l["inSkippedUnits"], e.inSkippedUnits) << e.language;
        EXPECT_EQ(l["leftOut"]["unknownLanguageCode"], e.unknownCode) << e.language;
        EXPECT_EQ(l["leftOut"]["otherLanguage"], e.otherLanguage) << e.language;
        EXPECT_EQ(l["leftOut"]["repeatedLanguage"], e.repeated) << e.language;
        EXPECT_EQ(l["leftOut"]["empty"], e.empty) << e.language;
      }
      const nlohmann::json& segments = file["segments"];
      EXPECT_EQ(segments["unknownLanguageCode"]["entries"],
                nlohmann::json::parse(R"([{"line": 11, "code": "QQ-ZZ"}])"));
      EXPECT_EQ(segments["repeatedLanguage"]["entries"],
                nlohmann::json::parse(R"([{"line": 6, "code": "EN-US"}])"));
      EXPECT_EQ(
          file["fieldsBetweenUnits"]["entries"],
          nlohmann::json::parse(R"([{"line": 4, "field": "CrU"}, {"line": 13, "field": "ChU"}])"));
    }
  }
}

TEST(ExportReport, ACharacterZeroIsLeftOutAndTheRestOfTheSegmentKept) {
  // As a byte escape in an 8-bit file, and as the overlong and the too large UTF-8 forms that
  // decode to it in a UTF-8 file.
  for (const std::string& txt :
       {std::string("<TrU>\r\n<Seg L=EN-US>a\\'00b {\\b c}\r\n<Seg L=DE>x\r\n</TrU>\r\n"),
        std::string("\xEF\xBB\xBF<TrU>\r\n<Seg L=EN-US>a\xC0\x80"
                    "b {\\b c}\r\n<Seg L=DE>x\r\n</TrU>\r\n"),
        std::string("\xEF\xBB\xBF<TrU>\r\n<Seg L=EN-US>a\xF4\x90\x80\x80"
                    "b {\\b c}\r\n<Seg L=DE>x\r\n</TrU>\r\n")}) {
    TempDir dir;
    WriteFile(dir.File("in.txt"), txt);
    ExportReport report;
    ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
    request.report = &report;
    CTmxExporter exporter;
    ASSERT_EQ(exporter.Export(request, nullptr).unitsWritten, 1) << txt;
    EXPECT_VALID_TMX(dir.File("o.tmx"));
    EXPECT_EQ(TmxLines(dir.File("o.tmx"))[16],
              "        <seg>ab <bpt i=\"1\">{\\b </bpt>c<ept i=\"1\">}</ept></seg>")
        << txt;
    ASSERT_EQ(report.forbiddenCharacters.Count(), 1) << txt;
    EXPECT_EQ(report.forbiddenCharacters.Entries()[0].line, 2);
    EXPECT_EQ(report.forbiddenCharacters.Entries()[0].codePoint, 0u);
  }
}

TEST(ExportReport, ListsStopAtTheirLimitAndCountTheRest) {
  ReportList list;
  for (int i = 0; i < 1005; ++i) list.Add({i, "", "", 0});
  EXPECT_EQ(list.Entries().size(), ReportList::kLimit);
  EXPECT_EQ(list.More(), 5);
  EXPECT_EQ(list.Count(), 1005);
}

// Units of three languages; the second unit lacks French, the third has only English. The
// first also holds a Seg line (line 6) whose code names no language.
constexpr const char* kThreeLanguages =
    "<TrU>\r\n<Att L=Client>Norvane\r\n<Seg L=EN-US>Press {\\b Start}.\r\n"
    "<Seg L=DE>Dr\xFC"
    "cken Sie {\\b Start}.\r\n<Seg L=FR>Appuyez sur {\\b D\xE9marrer}.\r\n<Seg L=QQ-ZZ>?\r\n"
    "</TrU>\r\n"
    "<TrU>\r\n<Seg L=DE>zwei\r\n<Seg L=EN-US>two\r\n</TrU>\r\n"
    "<TrU>\r\n<Seg L=EN-US>alone\r\n</TrU>\r\n";

TEST(ExportAllLanguages, EveryLanguageOfAUnitBecomesATuv) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), kThreeLanguages);
  ExportRequest request = PairRequest(dir, dir.File("all.tmx"));
  request.allLanguages = true;
  request.targetCode.clear();
  ExportReport report;
  request.report = &report;
  CTmxExporter exporter;
  const ExportResult result = exporter.Export(request, nullptr);
  EXPECT_EQ(result.unitsWritten, 2);
  EXPECT_EQ(result.skipped.noTarget, 1);
  // The Seg line whose code names no language is named in the report with its line.
  EXPECT_EQ(result.skipped.segments.unknownCode, 1);
  const nlohmann::json file = nlohmann::json::parse(ReportJson({report}))["files"][0];
  EXPECT_EQ(file["segments"]["unknownLanguageCode"]["entries"],
            nlohmann::json::parse(R"([{"line": 6, "code": "QQ-ZZ"}])"));
  ExpectSegmentsReconcile(file);
  EXPECT_VALID_TMX(dir.File("all.tmx"));
  std::vector<std::string> tuvs;
  for (const std::string& line : TmxLines(dir.File("all.tmx"))) {
    if (line.find("<tuv ") != std::string::npos || line.find("<seg>") != std::string::npos) {
      tuvs.push_back(line.substr(line.find('<')));
    }
  }
  EXPECT_EQ(tuvs, (std::vector<std::string>{
                      "<tuv xml:lang=\"EN-US\">",
                      "<seg>Press <bpt i=\"1\" x=\"1\">{\\b </bpt>Start<ept i=\"1\">}</ept>.</seg>",
                      "<tuv xml:lang=\"DE\">",
                      "<seg>Dr\xC3\xBC"
                      "cken Sie <bpt i=\"1\" x=\"1\">{\\b </bpt>Start<ept "
                      "i=\"1\">}</ept>.</seg>",
                      "<tuv xml:lang=\"FR\">",
                      "<seg>Appuyez sur <bpt i=\"1\" x=\"1\">{\\b </bpt>D\xC3\xA9marrer<ept "
                      "i=\"1\">}</ept>.</seg>",
                      "<tuv xml:lang=\"EN-US\">",
                      "<seg>two</seg>",
                      "<tuv xml:lang=\"DE\">",
                      "<seg>zwei</seg>",
                  }));
}

TEST(ExportAllLanguages, TwoLanguagesGiveThePairConversionsBytes) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), testutil::ReadFile(VELMAR_TEST_DATA "/worked.txt"));
  CTmxExporter exporter;
  for (const bool utf16 : {false, true}) {
    ExportRequest pair = PairRequest(dir, dir.File("pair.tmx"));
    pair.utf16Output = utf16;
    ExportRequest all = pair;
    all.tmxPath = dir.File("all.tmx");
    all.allLanguages = true;
    ASSERT_GT(exporter.Export(pair, nullptr).unitsWritten, 0);
    ASSERT_GT(exporter.Export(all, nullptr).unitsWritten, 0);
    EXPECT_EQ(ReadFile(dir.File("all.tmx")), ReadFile(dir.File("pair.tmx")));
  }
  // A code page given for one language decodes its segments.
  WriteFile(dir.File("in.txt"), "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=RU>\xC8\r\n</TrU>\r\n");
  ExportRequest all = PairRequest(dir, dir.File("all.tmx"));
  all.allLanguages = true;
  ASSERT_EQ(exporter.Export(all, nullptr).unitsWritten, 1);
  EXPECT_EQ(TmxLines(dir.File("all.tmx"))[19], "        <seg>\xD0\x98</seg>");
  all.codePages["RU"] = 1252;
  ASSERT_EQ(exporter.Export(all, nullptr).unitsWritten, 1);
  EXPECT_EQ(TmxLines(dir.File("all.tmx"))[19], "        <seg>\xC3\x88</seg>");
}

}  // namespace

namespace {

// Enough units for many batches, with skipped units and findings among them.
std::string ManyUnits(int count) {
  std::string txt;
  for (int i = 0; i < count; ++i) {
    txt += "<TrU>\r\n<CrU>U" + std::to_string(i % 7) + "\r\n<Seg L=EN-US>unit {\\b " +
           std::to_string(i) + "}\x01\r\n";
    if (i % 5 != 0) txt += "<Seg L=DE>Einheit {\\b " + std::to_string(i) + "}\r\n";
    if (i % 3 == 0) txt += "<Seg L=FR>unit\xE9 " + std::to_string(i) + "\r\n";
    txt += "</TrU>\r\n";
  }
  return txt;
}

TEST(ExportThreads, OutputAndReportDoNotDependOnTheThreads) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), ManyUnits(3000));
  CTmxExporter exporter;
  for (const bool all : {false, true}) {
    std::string first, firstReport;
    for (const int threads : {1, 2, 3, 8}) {
      ExportReport report;
      ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
      request.allLanguages = all;
      request.threads = threads;
      request.report = &report;
      const ExportResult result = exporter.Export(request, nullptr);
      ASSERT_EQ(result.unitsWritten, all ? 2600 : 2400) << threads;
      ASSERT_EQ(result.unitsRead, 3000);
      const std::string tmx = ReadFile(dir.File("o.tmx"));
      const std::string json = ReportJson({report});
      if (threads == 1) {
        first = tmx;
        firstReport = json;
        EXPECT_VALID_TMX(dir.File("o.tmx"));
      } else {
        EXPECT_EQ(tmx, first) << threads << (all ? " all languages" : "");
        EXPECT_EQ(json, firstReport) << threads;
      }
    }
  }
}

TEST(ExportThreads, StoppingASeveralThreadRunLeavesNothing) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), ManyUnits(3000));
  WriteFile(dir.File("o.tmx"), "previous");
  for (const int quitAt : {1, 40, 400}) {
    RecordingProgress progress;
    progress.quitAt = quitAt;
    ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
    request.threads = 3;
    CTmxExporter exporter;
    EXPECT_EQ(exporter.Export(request, &progress).stop, ExportResult::Stop::Abandoned) << quitAt;
    EXPECT_EQ(ReadFile(dir.File("o.tmx")), "previous");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "o.tmx"}));
  }
}

// Fails as running out of memory or threads would, once, at its failAt-th call.
class FaultProbe {
 public:
  FaultProbe(int failAt, bool threads) : m_failAt(failAt), m_threads(threads) {}
  void Call() {
    if (m_calls.fetch_add(1) + 1 != m_failAt) return;
    if (m_threads)
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    throw std::bad_alloc();
  }

 private:
  std::atomic<int> m_calls{0};
  int m_failAt;
  bool m_threads;
};

class FaultyProgress : public ProgressReporter {
 public:
  explicit FaultyProgress(FaultProbe& probe) : m_probe(probe) {}
  void SetPosition(int) override { m_probe.Call(); }

 private:
  FaultProbe& m_probe;
};

class FaultySink : public ByteSink {
 public:
  FaultySink(std::unique_ptr<ByteSink> inner, FaultProbe& probe)
      : m_inner(std::move(inner)), m_probe(probe) {}
  bool Write(const char* data, size_t size) override {
    m_probe.Call();
    return m_inner->Write(data, size);
  }
  bool Flush() override { return m_inner->Flush(); }
  int Error() const override { return m_inner->Error(); }

 private:
  std::unique_ptr<ByteSink> m_inner;
  FaultProbe& m_probe;
};

enum class FaultPlace { kReader, kConverter, kWriter };

struct FaultRow {
  int threads;
  FaultPlace place;
  int failAt;  // the call of the seam that fails
  bool outOfThreads;
};

// Exports in.txt of dir over o.tmx ("previous") with the fault of row planted.
void ExpectOutOfMemoryFailure(const TempDir& dir, const FaultRow& row) {
  const std::string name = std::to_string(row.threads) + " " +
                           std::to_string(static_cast<int>(row.place)) + " " +
                           std::to_string(row.failAt) + " " + std::to_string(row.outOfThreads);
  WriteFile(dir.File("o.tmx"), "previous");
  FaultProbe probe(row.failAt, row.outOfThreads);
  FaultyProgress progress(probe);
  CTmxExporter exporter;
  if (row.place == FaultPlace::kConverter) exporter.SetConvertProbe([&probe] { probe.Call(); });
  if (row.place == FaultPlace::kWriter) {
    exporter.SetSinkWrapper([&probe](std::unique_ptr<ByteSink> inner) {
      return std::make_unique<FaultySink>(std::move(inner), probe);
    });
  }
  ExportReport report;
  ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
  request.threads = row.threads;
  request.report = &report;
  const ExportResult result =
      exporter.Export(request, row.place == FaultPlace::kReader ? &progress : nullptr);
  EXPECT_EQ(result.stop, ExportResult::Stop::Failed) << name;
  EXPECT_EQ(result.error.kind, EngineError::Kind::OutOfMemory) << name;
  EXPECT_EQ(result.error.reason, "out of memory") << name;
  EXPECT_EQ(report.outcome, "failed") << name;
  EXPECT_EQ(report.error, dir.File("in.txt") + ": out of memory") << name;
  EXPECT_TRUE(ReadFile(dir.File("o.tmx")) == "previous") << name;
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "o.tmx"})) << name;
}

// Memory or a thread that cannot be had, in the reading thread, a converting one or the writer:
// the run fails with "out of memory", the temporary file goes and the old TMX file stays.
TEST(ExportThreads, RunningOutOfMemoryInAnyThreadFailsTheRunAndKeepsTheOldFile) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), ManyUnits(3000));
  std::vector<FaultRow> rows;
  for (const int threads : {1, 3}) {
    for (const FaultPlace place :
         {FaultPlace::kReader, FaultPlace::kConverter, FaultPlace::kWriter}) {
      for (const int failAt : {1, 3}) {
        rows.push_back({threads, place, failAt, false});
        rows.push_back({threads, place, failAt, true});
      }
    }
  }
  for (const FaultRow& row : rows) ExpectOutOfMemoryFailure(dir, row);
  // The analysis alike.
  FaultProbe probe(2, false);
  FaultyProgress progress(probe);
  CTmxExporter exporter;
  const AnalysisResult analysis = exporter.Analyse(dir.File("in.txt"), &progress);
  EXPECT_TRUE(analysis.Failed());
  EXPECT_EQ(analysis.error.kind, EngineError::Kind::OutOfMemory);
}

// A run that stops early accounts for the units it read: their findings come with their count.
TEST(ExportReport, AStoppedRunCountsTheUnitsItsFindingsComeFrom) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), ManyUnits(3000));
  for (const int threads : {1, 3}) {
    for (const int quitAt : {40, 400}) {
      RecordingProgress progress;
      progress.quitAt = quitAt;
      ExportReport report;
      ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
      request.threads = threads;
      request.report = &report;
      CTmxExporter exporter;
      EXPECT_EQ(exporter.Export(request, &progress).stop, ExportResult::Stop::Abandoned);
      EXPECT_EQ(report.outcome, "interrupted");
      // Every written unit has a forbidden character; a fifth of the units has no target.
      EXPECT_GT(report.forbiddenCharacters.Count(), 0) << threads << " " << quitAt;
      EXPECT_EQ(report.unitsRead, report.forbiddenCharacters.Count() + report.skipped.Total())
          << threads << " " << quitAt;
      EXPECT_EQ(report.noTarget.Count(), report.skipped.noTarget);
      EXPECT_EQ(report.unitsWritten, 0);
    }
  }
}

// A run hands on each file's entry when the file is done: the pieces make the very document
// ReportJson writes, laid out as the JSON library lays out a document (two blanks per level).
TEST(ExportReport, ThePiecesOfTheDocumentMakeTheWhole) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), ManyUnits(50));
  std::vector<ExportReport> reports(3);
  for (ExportReport& report : reports) {
    ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
    request.report = &report;
    CTmxExporter exporter;
    ASSERT_GT(exporter.Export(request, nullptr).unitsWritten, 0);
  }
  reports[1].txtPath = "caf\xE9 \\ x.txt";  // a name that is not UTF-8
  reports[2].outcome = "failed";
  reports[2].error = "out of memory";
  for (size_t count = 0; count <= reports.size(); ++count) {
    const std::vector<ExportReport> some(reports.begin(), reports.begin() + count);
    std::string pieces = ReportJsonStart();
    ReportTotals totals;
    for (const ExportReport& report : some) {
      pieces += ReportJsonFile(report, totals.files == 0);
      totals.Add(report);
    }
    pieces += ReportJsonEnd(totals);
    const std::string whole = ReportJson(some);
    EXPECT_EQ(pieces, whole) << count;
    const nlohmann::json parsed = nlohmann::json::parse(whole);
    EXPECT_EQ(parsed.dump(2) + "\n", whole) << count;
    EXPECT_EQ(parsed["files"].size(), count);
    EXPECT_EQ(parsed["total"]["files"], count);
    EXPECT_EQ(parsed["total"]["unitsRead"], 50 * count);
  }
}

// Answers "stop" from its stopAt-th question on and counts what the engine does after that:
// questions (one comes before every block read) and progress reports.
class StopProbe : public ProgressReporter {
 public:
  explicit StopProbe(int stopAt) : m_stopAt(stopAt) {}
  void SetPosition(int) override { positionsAfterStop += stopped ? 1 : 0; }
  bool ShouldStop() override {
    if (stopped) {
      ++questionsAfterStop;
    } else {
      stopped = ++m_questions >= m_stopAt;
    }
    return stopped;
  }
  bool stopped = false;
  int questionsAfterStop = 0;
  int positionsAfterStop = 0;

 private:
  int m_stopAt;
  int m_questions = 0;
};

// Once the stop is answered the export and the analysis read at most one more block (every
// block is preceded by a question) and report no more progress.
TEST(ExportThreads, StoppedRunsReadAtMostOneMoreBlockAndReportNothingMore) {
  enum class Run { kAnalysis, kOneThread, kThreeThreads };
  struct Row {
    Run run;
    std::string txt;
    int stopAt;
  };
  std::string lines;  // many blocks of lines that are no unit
  while (lines.size() < 20 * LineReader::kBlockSize) lines += "a line of no unit\r\n";
  const std::string units = ManyUnits(6000);
  const std::string nul(20 * LineReader::kBlockSize, '\0');
  const Row rows[] = {
      {Run::kAnalysis, units, 1},       {Run::kAnalysis, units, 2},
      {Run::kAnalysis, units, 10},      {Run::kAnalysis, lines, 3},
      {Run::kAnalysis, nul, 5},         {Run::kOneThread, units, 1},
      {Run::kOneThread, units, 5},      {Run::kOneThread, units, 700},
      {Run::kOneThread, lines, 3},      {Run::kOneThread, lines, 900},
      {Run::kOneThread, nul, 5},        {Run::kThreeThreads, units, 2},
      {Run::kThreeThreads, units, 700}, {Run::kThreeThreads, lines, 900},
      {Run::kThreeThreads, nul, 5},
  };
  TempDir dir;
  for (const Row& row : rows) {
    const std::string name = std::to_string(static_cast<int>(row.run)) + " " +
                             std::to_string(row.txt.size()) + " " + std::to_string(row.stopAt);
    WriteFile(dir.File("in.txt"), row.txt);
    StopProbe probe(row.stopAt);
    CTmxExporter exporter;
    if (row.run == Run::kAnalysis) {
      const AnalysisResult analysis = exporter.Analyse(dir.File("in.txt"), &probe);
      EXPECT_TRUE(analysis.Failed()) << name;
      EXPECT_EQ(analysis.error.kind, EngineError::Kind::Abandoned) << name;
    } else {
      ExportRequest request = PairRequest(dir, dir.File("o.tmx"));
      request.threads = row.run == Run::kOneThread ? 1 : 3;
      EXPECT_EQ(exporter.Export(request, &probe).stop, ExportResult::Stop::Abandoned) << name;
    }
    EXPECT_TRUE(probe.stopped) << name;
    EXPECT_LE(probe.questionsAfterStop, 1) << name;
    EXPECT_EQ(probe.positionsAfterStop, 0) << name;
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"}) << name;
  }
}

}  // namespace
