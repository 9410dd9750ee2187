// SPDX-License-Identifier: MIT
// Export: the TMX document, its units, fields and dates, progress, and every way it can fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "engine/line_file.h"
#include "engine/report_json.h"
#include "engine/tmx_exporter.h"
#include "engine/txt_reader.h"
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
  int result = 0;
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
  if (c.result > 0) {
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
                                 1252, nullptr, nullptr, 0),
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
  ASSERT_EQ(c.result, 1);
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
    EXPECT_EQ(c.result, 0);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"});
  }
  WriteFile(dir.File("out.tmx"), "previous");
  ::chmod(dir.File("out.tmx").c_str(), 0640);
  EXPECT_EQ(Convert(dir, "no units\r\n").result, 0);
  EXPECT_EQ(ReadFile(dir.File("out.tmx")), "previous");
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.txt", "out.tmx"}));
}

TEST(Export, UnitsNeedBothLanguages) {
  TempDir dir;
  const Conversion c = Convert(
      dir,
      Lines({"<TrU>", "<CrU>A", "<Att L=Gone>x", "<Seg L=EN-US>only source", "</TrU>", "<TrU>",
             "<Seg L=FR>autre", "<Seg L=EN-US>one", "<Seg L=DE>eins", "<Seg L=DE>zwei", "</TrU>"}));
  EXPECT_EQ(c.result, 1);
  EXPECT_TRUE(Properties(c).empty());
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\">");
  EXPECT_EQ(c.lines[14], "    <tu tuid=\"2\" srclang=\"EN-US\">");
  EXPECT_EQ(c.lines[19], "        <seg>zwei</seg>");  // a later segment replaces the earlier one
}

TEST(Export, SameSourceAndTargetWritesNothing) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<Seg L=DE>a", "<Seg L=DE>b", "</TrU>"}), "DE", "DE");
  EXPECT_EQ(c.result, 0);
}

TEST(Export, FieldsBecomeProperties) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<Att L=Three>a, b, c", "<Att L=Trailing>x, ", "<Att L=Empty>",
                          "<Txt L=Blank>", "<Txt L=Note>a\tb & <c>, d", "<Att L=Q\"x>v",
                          "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  ASSERT_EQ(c.result, 1);
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
  ASSERT_EQ(c.result, 1);
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
  ASSERT_EQ(c.result, 1);
  EXPECT_EQ(Properties(c), std::vector<std::string>{"<prop type=\"x-TXT:N\">xy</prop>"});
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\" creationid=\"ab\">");
  EXPECT_EQ(c.lines[17], "        <seg>onetwo</seg>");
}

TEST(Export, NulBytesInTheFileAreSkipped) {
  TempDir dir;
  const Conversion c = Convert(
      dir, std::string("<TrU>\r\n<Seg L=EN-US>a") + '\0' + "b\r\n<Seg L=DE>c\r\n</TrU>\r\n");
  ASSERT_EQ(c.result, 1);
  EXPECT_EQ(c.lines[16], "        <seg>ab</seg>");
}

TEST(Export, TagLineNamingDoNotTranslateIsARecord) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<Seg L=EN-US>Keep DO_NOT_TRANSLATE text",
                          "<Txt L=Note>DO_NOT_TRANSLATE", "<Seg L=DE>t", "</TrU>"}));
  ASSERT_EQ(c.result, 1);
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
  const std::u16string text =
      u"<TrU>\r\n<CrU>J\u00F6rg\r\n<Seg L=EN-US>caf\u00E9 M\u00FCller \u65E5\u672C\u8A9E "
      u"\U0001F600\r\n"
      u"<Seg L=DE>Stra\u00DFe \\'fc\\'e4\\'zz\r\n</TrU>\r\n";
  const std::string utf8 =
      "<TrU>\r\n<CrU>J\xC3\xB6rg\r\n<Seg L=EN-US>caf\xC3\xA9 M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC"
      "\xE8\xAA\x9E \xF0\x9F\x98\x80\r\n<Seg L=DE>Stra\xC3\x9F"
      "e \\'fc\\'e4\\'zz\r\n</TrU>\r\n";
  for (const std::string& file : {"\xEF\xBB\xBF" + utf8, Utf16(text, true, true),
                                  Utf16(text, false, true), Utf16(text, true, false)}) {
    TempDir dir;
    const Conversion c = Convert(dir, file);
    ASSERT_EQ(c.result, 1);
    EXPECT_EQ(c.lines[15], "      <tuv xml:lang=\"EN-US\" creationid=\"J\xC3\xB6rg\">");
    EXPECT_EQ(c.lines[16],
              "        <seg>caf\xC3\xA9 M\xC3\xBCller \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E "
              "\xF0\x9F\x98\x80</seg>");
    // Byte escapes are bytes in the language's code page (1252 here); one without a
    // hexadecimal digit stays as it is.
    EXPECT_EQ(c.lines[19],
              "        <seg>Stra\xC3\x9F"
              "e \xC3\xBC\xC3\xA4\\&apos;zz</seg>");
  }
}

TEST(Export, SegmentsClosedByAStrayEndTagAreNotLost) {
  TempDir dir;
  // Segments after a unit's </TrU> and a second </TrU>: a unit with the last unit's number.
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<Seg L=EN-US>one", "<Seg L=DE>eins", "</TrU>", "<ChU>LOOSE",
                          "<Seg L=EN-US>loose", "<Seg L=DE>lose", "</TrU>", "</TrU>"}));
  ASSERT_EQ(c.result, 2);
  EXPECT_EQ(c.lines[22], "    <tu tuid=\"1\" srclang=\"EN-US\">");
  EXPECT_EQ(c.lines[23], "      <tuv xml:lang=\"EN-US\" changeid=\"LOOSE\">");
  EXPECT_EQ(c.lines[24], "        <seg>loose</seg>");
}

TEST(Export, OpenUnitsAreWrittenAsIfClosed) {
  TempDir dir;
  // The first unit lacks its </TrU>, the last one too: both are written, each with its own fields.
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<CrU>ANNA", "<Seg L=EN-US>caf\xE9 one",
                          "<Seg L=DE>M\xFCller eins", "<TrU>", "<Seg L=EN-US>two", "<Seg L=DE>zwei",
                          "</TrU>", "<TrU>", "<ChU>BERT", "<Seg L=EN-US>three", "<Seg L=DE>drei"}));
  ASSERT_EQ(c.result, 3);
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
                                 nullptr, nullptr, 0),
            1);
  ASSERT_EQ(testutil::ExportPair(exporter, txtPath, dir.File("b.tmx"), "EN-US", 1252, "DE", 1252,
                                 nullptr, nullptr, 1),
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
                                 &progress, &progress, 0),
            0);
  // Lines are counted without their line ends: 40 of 150 bytes and 80 of 150.
  EXPECT_EQ(progress.positions, (std::vector<int>{26, 53, 100}));
  EXPECT_EQ(progress.statuses,
            (std::vector<ProgressState>{ProgressState::Exporting, ProgressState::Idle}));

  WriteFile(txtPath, "1\n2\n3\n4\n5\n6\n7\n8\n9\n");
  RecordingProgress nine;
  EXPECT_EQ(testutil::ExportPair(exporter, txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252,
                                 &nine, nullptr, 0),
            0);
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
    EXPECT_EQ(testutil::ExportPair(exporter, txtPath, tmxPath, "EN-US", 1252, "DE", 1252, &progress,
                                   &progress, 0),
              0)
        << quitAt;
    EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::Abandoned);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"}) << quitAt;
    EXPECT_EQ(progress.statuses, std::vector<ProgressState>{ProgressState::Exporting});
  }
  // An existing TMX file stays as it was.
  WriteFile(tmxPath, "previous");
  RecordingProgress progress;
  progress.quitAt = 2;
  CTmxExporter exporter;
  EXPECT_EQ(testutil::ExportPair(exporter, txtPath, tmxPath, "EN-US", 1252, "DE", 1252, &progress,
                                 nullptr, 0),
            0);
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
  // On one thread the writing fails in the converting thread, on three in the writer thread,
  // before or after batches have been written.
  for (const int threads : {1, 3}) {
    for (size_t limit : {size_t{0}, size_t{100}, size_t{5000}, size_t{60000}}) {
      CTmxExporter exporter;
      exporter.SetSinkWrapper([limit](std::unique_ptr<ByteSink> inner) {
        return std::make_unique<FullDiskSink>(std::move(inner), limit);
      });
      request.threads = threads;
      EXPECT_EQ(exporter.Export(request, nullptr).Count(), -1);
      EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::WriteOutput);
      EXPECT_EQ(exporter.LastError().reason, "No space left on device");
      EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"}) << limit << " " << threads;
    }
  }
}

TEST(Export, MissingOrUnreadableInput) {
  TempDir dir;
  CTmxExporter exporter;
  EXPECT_EQ(testutil::ExportPair(exporter, dir.File("none.txt"), dir.File("o.tmx"), "EN-US", 1252,
                                 "DE", 1252, nullptr, nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::OpenInput);
  EXPECT_EQ(exporter.LastError().path, dir.File("none.txt"));
  EXPECT_TRUE(dir.Entries().empty());

  ::mkdir(dir.File("folder.txt").c_str(), 0755);
  EXPECT_EQ(testutil::ExportPair(exporter, dir.File("folder.txt"), dir.File("o.tmx"), "EN-US", 1252,
                                 "DE", 1252, nullptr, nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::ReadInput);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.txt"});
}

TEST(Export, OutputThatCannotBeCreated) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  WriteFile(txtPath, "<TrU>\r\n</TrU>\r\n");
  CTmxExporter exporter;
  EXPECT_EQ(testutil::ExportPair(exporter, txtPath, dir.File("no/such/folder/o.tmx"), "EN-US", 1252,
                                 "DE", 1252, nullptr, nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::CreateOutput);
  EXPECT_EQ(testutil::ExportPair(exporter, txtPath, dir.path(), "EN-US", 1252, "DE", 1252, nullptr,
                                 nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::CreateOutput);
  EXPECT_EQ(
      testutil::ExportPair(exporter, txtPath, "", "EN-US", 1252, "DE", 1252, nullptr, nullptr, 0),
      -1);
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
    EXPECT_EQ(testutil::ExportPair(exporter, txtPath, tmx, "EN-US", 1252, "DE", 1252, nullptr,
                                   nullptr, 0),
              -1)
        << tmx;
    EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::SameFile);
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

TEST(Export, StoppingTakesEffectWithoutLineEnds) {
  // Input without a single line end (here: NUL bytes, which are skipped) is still stopped
  // between blocks.
  TempDir dir;
  WriteFile(dir.File("in.txt"), std::string(20 * CLineFile::kBlockSize, '\0'));
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

TEST(ExportReport, ListsStopAtTheirLimitAndCountTheRest) {
  ReportList list;
  for (int i = 0; i < 1005; ++i) list.Add({i, "", "", 0});
  EXPECT_EQ(list.Entries().size(), ReportList::kLimit);
  EXPECT_EQ(list.More(), 5);
  EXPECT_EQ(list.Count(), 1005);
}

// Units of three languages; the second unit lacks French, the third has only English.
constexpr const char* kThreeLanguages =
    "<TrU>\r\n<Att L=Client>Norvane\r\n<Seg L=EN-US>Press {\\b Start}.\r\n"
    "<Seg L=DE>Dr\xFC"
    "cken Sie {\\b Start}.\r\n<Seg L=FR>Appuyez sur {\\b D\xE9marrer}.\r\n</TrU>\r\n"
    "<TrU>\r\n<Seg L=DE>zwei\r\n<Seg L=EN-US>two\r\n</TrU>\r\n"
    "<TrU>\r\n<Seg L=EN-US>alone\r\n</TrU>\r\n";

TEST(ExportAllLanguages, EveryLanguageOfAUnitBecomesATuv) {
  TempDir dir;
  WriteFile(dir.File("in.txt"), kThreeLanguages);
  ExportRequest request = PairRequest(dir, dir.File("all.tmx"));
  request.allLanguages = true;
  request.targetCode.clear();
  CTmxExporter exporter;
  const ExportResult result = exporter.Export(request, nullptr);
  EXPECT_EQ(result.unitsWritten, 2);
  EXPECT_EQ(result.skipped.noTarget, 1);
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

}  // namespace
