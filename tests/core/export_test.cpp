// SPDX-License-Identifier: MIT
// Export: the TMX document, its units, fields and dates, progress, and every way it can fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "engine/tmx_exporter.h"
#include "tests/core/tmx_test_util.h"

namespace {

using testutil::ReadFile;
using testutil::TempDir;
using testutil::TmxLines;
using testutil::WriteFile;

// Records what the engine reports; PumpMessages answers false from call quitAt on.
class RecordingProgress : public ProgressReporter {
 public:
  void SetProgressText(const std::string& text) override { texts.push_back(text); }
  void SetProgressPos(int percent) override { positions.push_back(percent); }
  void SetStatusText(const std::string& text) override { statuses.push_back(text); }
  void BeginWaitCursor() override { ++waitDepth; }
  void EndWaitCursor() override { --waitDepth; }
  bool PumpMessages() override { return ++pumps < quitAt; }
  std::vector<std::string> texts, statuses;
  std::vector<int> positions;
  int pumps = 0;
  int quitAt = 1 << 30;
  int waitDepth = 0;
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
  c.result = exporter.Export(txtPath, c.tmxPath, source, 1252, target, targetCodePage, nullptr,
                             nullptr, 0);
  if (c.result >= 0) {
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
  EXPECT_EQ(exporter.Export(VELMAR_TEST_DATA "/worked.txt", tmx, "EN-US", 1252, "DE", 1252,
                            nullptr, nullptr, 0),
            2);
  EXPECT_EQ(ReadFile(tmx), ReadFile(VELMAR_TEST_DATA "/worked.tmx"));
  EXPECT_VALID_TMX(tmx);
}

TEST(Export, WorkedUnitGivesTenLines) {
  TempDir dir;
  const Conversion c = Convert(dir, Lines({"<TrU>", "<CrD>26072002, 10:03:33", "<CrU>MARIA",
                                           "<Att L=Client>Norvane, Harbour Lines",
                                           "<Seg L=EN-US>Hello world", "<Seg L=DE>Hallo Welt",
                                           "</TrU>"}));
  ASSERT_EQ(c.result, 1);
  ASSERT_EQ(c.lines.size(), 26u);
  const std::vector<std::string> unit(c.lines.begin() + 14, c.lines.begin() + 24);
  EXPECT_EQ(unit, (std::vector<std::string>{
                      "    <tu tuid=\"1\" srclang=\"EN-US\">",
                      "      <prop type=\"x-ALM:Client\">Norvane</prop>",
                      "      <prop type=\"x-ALM:Client\">Harbour Lines</prop>",
                      "      <tuv xml:lang=\"EN-US\" creationdate=\"20020726T100333Z\" "
                      "creationid=\"MARIA\">",
                      "        <seg>Hello world</seg>",
                      "      </tuv>",
                      "      <tuv xml:lang=\"DE\" creationdate=\"20020726T100333Z\" "
                      "creationid=\"MARIA\">",
                      "        <seg>Hallo Welt</seg>",
                      "      </tuv>",
                      "    </tu>"}));
}

TEST(Export, FileWithoutUnitsGivesHeaderAndClosingLines) {
  TempDir dir;
  const Conversion c = Convert(dir, Lines({"{\\stylesheet}", "no units here"}));
  EXPECT_EQ(c.result, 0);
  ASSERT_EQ(c.lines.size(), 16u);
  EXPECT_EQ(c.lines[0], "<?xml version=\"1.0\" ?>");
  EXPECT_EQ(c.lines[13], "  <body>");
  EXPECT_EQ(c.lines[14], "  </body>");
  EXPECT_EQ(c.lines[15], "</tmx>");
}

TEST(Export, UnitsNeedBothLanguages) {
  TempDir dir;
  const Conversion c =
      Convert(dir, Lines({"<TrU>", "<CrU>A", "<Att L=Gone>x", "<Seg L=EN-US>only source",
                          "</TrU>", "<TrU>", "<Seg L=FR>autre", "<Seg L=EN-US>one",
                          "<Seg L=DE>eins", "<Seg L=DE>zwei", "</TrU>"}));
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
  const Conversion c = Convert(
      dir, Lines({"<TrU>", "<Att L=Three>a, b, c", "<Att L=Trailing>x, ", "<Att L=Empty>",
                  "<Txt L=Blank>", "<Txt L=Note>a\tb & <c>, d", "<Att L=Q\"x>v", "<Seg L=EN-US>s",
                  "<Seg L=DE>t", "</TrU>"}));
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

TEST(Export, FieldsBeforeAUnitBelongToIt) {
  TempDir dir;
  const Conversion c = Convert(
      dir, Lines({"<CrU>EARLY", "<TrU>", "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\" creationid=\"EARLY\">");
}

TEST(Export, FieldValuesDecodeInTheTargetCodePage) {
  TempDir dir;
  const Conversion c = Convert(
      dir, Lines({"<TrU>", "<CrU>\xC8\xE2\xE0\xED", "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}),
      "EN-US", "DE", 1251);
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\" creationid=\"\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\">");
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
  EXPECT_EQ(SourceTuv(c), std::string("      <tuv xml:lang=\"EN-US\"") + GetParam().attribute + ">");
}

INSTANTIATE_TEST_SUITE_P(
    Values, Dates,
    ::testing::Values(DateCase{"full", "26072002, 10:03:33", " changedate=\"20020726T100333Z\""},
                      DateCase{"dateOnly", "26072002", " changedate=\"20020726T000000Z\""},
                      DateCase{"seventeenChars", "26072002, 10:03:3", " changedate=\"20020726T000000Z\""},
                      DateCase{"tooShort", "2607200", ""},
                      DateCase{"leapDay", "29022000, 23:59:59", " changedate=\"20000229T235959Z\""},
                      DateCase{"noLeapDay", "29021900", ""},
                      DateCase{"month13", "01132002", ""},
                      DateCase{"day0", "00012002", ""},
                      DateCase{"april31", "31042002", ""},
                      DateCase{"hour24", "01012002, 24:00:00", ""},
                      DateCase{"minute60", "01012002, 10:60:00", ""},
                      DateCase{"letters", "2a072002", ""},
                      DateCase{"signInYear", "0101-002", ""},
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
  const Conversion c = Convert(
      dir, Lines({"<TrU>", "<CrU>a\"b<c>&d", "<Seg L=EN-US>s", "<Seg L=DE>t", "</TrU>"}));
  EXPECT_EQ(SourceTuv(c), "      <tuv xml:lang=\"EN-US\" creationid=\"a&quot;b&lt;c&gt;&amp;d\">");
}

TEST(Export, CharactersXmlForbidsAreLeftOut) {
  TempDir dir;
  const Conversion c = Convert(dir, Lines({"<TrU>", "<CrU>a\x01" "b", "<Txt L=N\x02>x\x1Fy",
                                           "<Seg L=EN-US>one\x0Btwo\x0C", "<Seg L=DE>t\x7F", "</TrU>"}));
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
  const Conversion c = Convert(dir, Lines({"<TrU>", "<Seg L=EN-US>Keep DO_NOT_TRANSLATE text",
                                           "<Txt L=Note>DO_NOT_TRANSLATE", "<Seg L=DE>t", "</TrU>"}));
  ASSERT_EQ(c.result, 1);
  EXPECT_EQ(c.lines[17], "        <seg>Keep DO_NOT_TRANSLATE text</seg>");
  EXPECT_EQ(Properties(c), std::vector<std::string>{"<prop type=\"x-TXT:Note\">DO_NOT_TRANSLATE</prop>"});
}

TEST(Export, StyleSheetGivesTheStyleCodes) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  WriteFile(txtPath, Lines({"{\\St \\cs12 {\\StN korvexInternal}}", "{\\St \\cs3 {\\StN DO_NOT_TRANSLATE}}",
                            "<TrU>", "</TrU>"}));
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252, nullptr,
                            nullptr, 0),
            0);
  EXPECT_EQ(exporter.m_inlineConverter.InternalStyleCode(), u"\\cs12");
  EXPECT_EQ(exporter.m_inlineConverter.DoNotTranslateStyleCode(), u"\\cs3");

  // The internal style is no longer looked for once a unit has started; a style line without a
  // code falls back to the defaults.
  WriteFile(txtPath, Lines({"<TrU>", "{\\St \\cs12 {\\StN korvexInternal}}", "</TrU>",
                            "{\\St {\\StN DO_NOT_TRANSLATE}}"}));
  EXPECT_EQ(exporter.Export(txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252, nullptr,
                            nullptr, 0),
            0);
  EXPECT_EQ(exporter.m_inlineConverter.InternalStyleCode(), u"\\cs6");
  EXPECT_EQ(exporter.m_inlineConverter.DoNotTranslateStyleCode(), u"\\cs8");
}

TEST(Export, Utf16OutputCarriesTheSameDocument) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  WriteFile(txtPath, Lines({"<TrU>", "<Seg L=EN-US>caf\xE9", "<Seg L=DE>x", "</TrU>"}));
  CTmxExporter exporter;
  ASSERT_EQ(exporter.Export(txtPath, dir.File("a.tmx"), "EN-US", 1252, "DE", 1252, nullptr,
                            nullptr, 0),
            1);
  ASSERT_EQ(exporter.Export(txtPath, dir.File("b.tmx"), "EN-US", 1252, "DE", 1252, nullptr,
                            nullptr, 1),
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
  EXPECT_EQ(exporter.Export(txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252, &progress,
                            &progress, 0),
            0);
  // Lines are counted without their line ends: 40 of 150 bytes and 80 of 150.
  EXPECT_EQ(progress.positions, (std::vector<int>{26, 53, 100}));
  EXPECT_EQ(progress.texts, (std::vector<std::string>{"26%", "53%", "100%"}));
  EXPECT_EQ(progress.statuses, (std::vector<std::string>{"Exporting...", "Idle"}));
  EXPECT_EQ(progress.waitDepth, 0);

  WriteFile(txtPath, "1\n2\n3\n4\n5\n6\n7\n8\n9\n");
  RecordingProgress nine;
  EXPECT_EQ(exporter.Export(txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252, &nine,
                            nullptr, 0),
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
    EXPECT_EQ(exporter.Export(txtPath, tmxPath, "EN-US", 1252, "DE", 1252, &progress, &progress,
                              0),
              0)
        << quitAt;
    EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::Abandoned);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"}) << quitAt;
    EXPECT_EQ(progress.statuses, std::vector<std::string>{"Exporting..."});
  }
  // An existing TMX file stays as it was.
  WriteFile(tmxPath, "previous");
  RecordingProgress progress;
  progress.quitAt = 2;
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(txtPath, tmxPath, "EN-US", 1252, "DE", 1252, &progress, nullptr, 0), 0);
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
  for (int i = 0; i < 200; ++i) txt += "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=DE>b\r\n</TrU>\r\n";
  WriteFile(txtPath, txt);
  const std::string tmxPath = dir.File("out.tmx");
  for (size_t limit : {size_t{0}, size_t{100}, size_t{5000}}) {
    CTmxExporter exporter;
    exporter.SetSinkWrapper([limit](std::unique_ptr<ByteSink> inner) {
      return std::make_unique<FullDiskSink>(std::move(inner), limit);
    });
    EXPECT_EQ(exporter.Export(txtPath, tmxPath, "EN-US", 1252, "DE", 1252, nullptr, nullptr, 0),
              -1);
    EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::WriteOutput);
    EXPECT_EQ(exporter.LastError().reason, "No space left on device");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in.txt"}) << limit;
  }
}

TEST(Export, MissingOrUnreadableInput) {
  TempDir dir;
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(dir.File("none.txt"), dir.File("o.tmx"), "EN-US", 1252, "DE", 1252,
                            nullptr, nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::OpenInput);
  EXPECT_EQ(exporter.LastError().path, dir.File("none.txt"));
  EXPECT_TRUE(dir.Entries().empty());

  ::mkdir(dir.File("folder.txt").c_str(), 0755);
  EXPECT_EQ(exporter.Export(dir.File("folder.txt"), dir.File("o.tmx"), "EN-US", 1252, "DE", 1252,
                            nullptr, nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::ReadInput);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.txt"});
}

TEST(Export, OutputThatCannotBeCreated) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  WriteFile(txtPath, "<TrU>\r\n</TrU>\r\n");
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(txtPath, dir.File("no/such/folder/o.tmx"), "EN-US", 1252, "DE", 1252,
                            nullptr, nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::CreateOutput);
  EXPECT_EQ(exporter.Export(txtPath, dir.path(), "EN-US", 1252, "DE", 1252, nullptr, nullptr, 0),
            -1);
  EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::CreateOutput);
  EXPECT_EQ(exporter.Export(txtPath, "", "EN-US", 1252, "DE", 1252, nullptr, nullptr, 0), -1);
}

TEST(Export, SameFileIsRefusedAndUntouched) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  const std::string content = "<TrU>\r\n<Seg L=EN-US>a\r\n<Seg L=DE>b\r\n</TrU>\r\n";
  WriteFile(txtPath, content);
  ASSERT_EQ(::link(txtPath.c_str(), dir.File("hard.tmx").c_str()), 0);
  ASSERT_EQ(::symlink(txtPath.c_str(), dir.File("soft.tmx").c_str()), 0);
  for (const std::string& tmx : {txtPath, dir.File("hard.tmx"), dir.File("soft.tmx"),
                                 dir.path() + "/./in.txt"}) {
    CTmxExporter exporter;
    EXPECT_EQ(exporter.Export(txtPath, tmx, "EN-US", 1252, "DE", 1252, nullptr, nullptr, 0), -1)
        << tmx;
    EXPECT_EQ(exporter.LastError().kind, EngineError::Kind::SameFile);
    EXPECT_EQ(ReadFile(txtPath), content);
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"hard.tmx", "in.txt", "soft.tmx"}));
}

TEST(Export, NewFileGetsTheUsualPermissions) {
  TempDir dir;
  const std::string txtPath = dir.File("in.txt");
  WriteFile(txtPath, "x\r\n");
  const mode_t old = ::umask(022);
  CTmxExporter exporter;
  EXPECT_EQ(exporter.Export(txtPath, dir.File("o.tmx"), "EN-US", 1252, "DE", 1252, nullptr,
                            nullptr, 0),
            0);
  ::umask(old);
  struct stat st {};
  ASSERT_EQ(::stat(dir.File("o.tmx").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

}  // namespace
