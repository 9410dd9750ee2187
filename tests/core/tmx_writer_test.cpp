// SPDX-License-Identifier: MIT
// TmxWriter and its output buffer: the byte-order mark, the encodings, what XML forbids, and
// write failures as the errno they carry.
#include "engine/tmx_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>

#include "engine/output_buffer.h"
#include "engine/unit_fields.h"
#include "tests/core/tmx_test_util.h"
#include "text/byte_order_mark.h"
#include "text/tuning.h"
#include "text/wide_string.h"

namespace {

// A whole document of one unit whose segments hold encodedContent, written to a file of dir.
std::string WriteDocument(const testutil::TempDir& dir, const std::string& name, bool utf16,
                          std::u16string_view sourceCode, std::string_view encodedContent,
                          bool mark = true) {
  std::string bytes;
  {
    TmxWriter writer;
    writer.Open(std::make_unique<StringSink>(bytes), utf16, sourceCode, mark);
    writer.WriteHeader();
    const UnitFields fields(utf16);
    writer.BeginUnit(1, fields);
    writer.WriteEncodedVariant(sourceCode, {}, encodedContent);
    writer.EndUnit();
    EXPECT_TRUE(writer.Finish());
    EXPECT_FALSE(writer.Failed());
  }
  const std::string path = dir.File(name);
  testutil::WriteFile(path, bytes);
  return path;
}

TEST(TmxWriter, WritesMarkedUtf8AndUtf16) {
  testutil::TempDir dir;
  const std::string a = WriteDocument(dir, "a.tmx", false, u"EN-US", "\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_VALID_TMX(a);
  const std::string utf8 = testutil::ReadFile(a);
  EXPECT_EQ(utf8.substr(0, 3), ByteOrderMark(OutputEncoding::kUtf8));
  EXPECT_EQ(utf8.substr(3, 24), "<?xml version=\"1.0\" ?>\r\n");
  EXPECT_NE(utf8.find("\r\n        <seg>\xC3\xA9\xF0\x9F\x98\x80</seg>\r\n"), std::string::npos);
  EXPECT_NE(utf8.find("\r\n    srclang=\"EN-US\"\r\n"), std::string::npos);
  EXPECT_EQ(utf8.substr(utf8.size() - 19), "  </body>\r\n</tmx>\r\n");

  const std::string b =
      WriteDocument(dir, "b.tmx", true, u"EN-US", std::string("\xE9\0=\xD8\0\xDE", 6));
  EXPECT_VALID_TMX(b);
  const std::string utf16 = testutil::ReadFile(b);
  EXPECT_EQ(utf16.substr(0, 2), ByteOrderMark(OutputEncoding::kUtf16le));
  EXPECT_EQ(utf16.substr(2, 6), std::string("<\0?\0x\0", 6));
  EXPECT_NE(
      utf16.find(std::string("<\0s\0e\0g\0>\0\xE9\0=\xD8\0\xDE<\0/\0s\0e\0g\0>\0\r\0\n\0", 32)),
      std::string::npos);
  EXPECT_EQ(utf16.substr(utf16.size() - 16), std::string("<\0/\0t\0m\0x\0>\0\r\0\n\0", 16));

  // Units converted apart from the document carry no mark.
  const std::string c = WriteDocument(dir, "c.tmx", false, u"EN-US", "x", false);
  EXPECT_EQ(testutil::ReadFile(c).substr(0, 5), "<?xml");

  OutputBuffer closed;
  EXPECT_FALSE(closed.Append("x"));
  EXPECT_FALSE(closed.Flush());
}

// A content up to a piece's size goes into the output in one, a longer one in pieces: either
// way it stands whole in its <seg> line.
TEST(TmxWriter, ContentOfAnySizeStandsWholeInItsSegment) {
  testutil::TempDir dir;
  for (const size_t size : {size_t{0}, tuning::kPieceBytes - 1, tuning::kPieceBytes,
                            tuning::kPieceBytes + 1, 3 * tuning::kPieceBytes + 5}) {
    std::string content;
    for (size_t i = 0; i < size; ++i) content += static_cast<char>('a' + i % 26);
    const std::string path = WriteDocument(dir, "a.tmx", false, u"EN-US", content);
    EXPECT_VALID_TMX(path);
    EXPECT_NE(testutil::ReadFile(path).find(">\r\n        <seg>" + content +
                                            "</seg>\r\n      </tuv>\r\n    </tu>\r\n"),
              std::string::npos)
        << size;
  }
}

TEST(TmxWriter, HeaderLeavesOutCharactersXmlForbids) {
  testutil::TempDir dir;
  const std::u16string code = std::u16string(u"a\u0001b\u000Bc\u001Fd\tX\uFFFEe\uFFFF") +
                              u"\xD800" + u"f" + u"\xDC00" + u"g\u0085";
  const std::string path = WriteDocument(dir, "a.tmx", false, code, "x");
  EXPECT_VALID_TMX(path);
  const std::string bytes = testutil::ReadFile(path);
  EXPECT_NE(bytes.find("\r\n    srclang=\"abcd\tXefg\xC2\x85\"\r\n"), std::string::npos);
  EXPECT_NE(bytes.find(" srclang=\"abcd\tXefg\xC2\x85\">\r\n"), std::string::npos);
}

// Language codes are encoded once and kept for a few languages: units in more languages than
// are kept, in turn, still name each of theirs.
TEST(TmxWriter, EachVariantNamesItsLanguage) {
  const std::u16string codes[] = {u"EN-US", u"DE-DE", u"FR-FR", u"JA", u"\u00C9S", u"IT", u""};
  std::string bytes;
  TmxWriter writer;
  writer.Open(std::make_unique<StringSink>(bytes), false, u"EN-US", true);
  writer.WriteHeader();
  const UnitFields fields(false);
  std::string expected;
  int number = 0;
  for (int round = 0; round < 3; ++round) {
    for (const std::u16string& code : codes) {
      writer.BeginUnit(++number, fields);
      writer.WriteEncodedVariant(code, {}, "x");
      writer.EndUnit();
      expected += "<tuv xml:lang=\"" + ToUtf8(code) + "\">";
    }
  }
  EXPECT_TRUE(writer.Finish());
  testutil::TempDir dir;
  testutil::WriteFile(dir.File("codes.tmx"), bytes);
  EXPECT_VALID_TMX(dir.File("codes.tmx"));
  std::string written;
  for (size_t at = bytes.find("<tuv"); at != std::string::npos; at = bytes.find("<tuv", at + 1))
    written += bytes.substr(at, bytes.find('>', at) + 1 - at);
  EXPECT_EQ(written, expected);
}

// A unit's date, user and count fields as <tuv> attributes. Values that need no escaping are
// copied from the file's bytes when no report is kept; with a report every value is decoded
// and escaped. Both ways give the same attributes.
struct FieldCase {
  const char* tag;
  const char* value;
  unsigned codePage;
  const char* expected;  // the encoded attributes of a unit with this one field
};

TEST(UnitFields, AttributesAreTheSameWithAndWithoutAReport) {
  const FieldCase cases[] = {
      {"CrD", "26072002, 10:03:33", 1252, " creationdate=\"20020726T100333Z\""},
      {"ChD", "29022004", 1252, " changedate=\"20040229T000000Z\""},
      {"UsD", "31122001, 23:59:59 and more", 1252, " lastusagedate=\"20011231T235959Z\""},
      {"CrD", "29022001", 1252, ""},            // no such day
      {"CrD", "2902200", 1252, ""},             // too short
      {"CrD", "01012001, 24:00:00", 1252, ""},  // no such hour
      {"ChD", "01012001, 1x:00:00", 1252, ""},
      {"CrD", "0101200a", 1252, ""},
      {"CrU", "TRANSLATOR20", 1252, " creationid=\"TRANSLATOR20\""},
      {"ChU", "A & B <C> \"D\" 'E'", 1252, " changeid=\"A &amp; B &lt;C&gt; &quot;D&quot; 'E'\""},
      {"CrU", "A&B", 1252, " creationid=\"A&amp;B\""},  // each escaped unit alone
      {"CrU", "x<y", 1252, " creationid=\"x&lt;y\""},
      {"CrU", "x>y", 1252, " creationid=\"x&gt;y\""},
      {"CrU", "say \"hi\"", 1252, " creationid=\"say &quot;hi&quot;\""},
      {"ChU", "tab\tout", 1252, " changeid=\"tabout\""},
      {"CrU", "Jos\xE9~\x7F", 1252, " creationid=\"Jos\xC3\xA9~\x7F\""},
      {"CrU", "\x82\xA0", 932, " creationid=\"\xE3\x81\x82\""},
      {"UsC", "12", 1252, " usagecount=\"12\""},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(std::string(c.tag) + " " + c.value);
    TxtUnit unit;
    TxtField& field = unit.AddField();
    field.tag = c.tag;
    field.value = c.value;
    UnitFields plain;
    plain.Collect(unit, c.codePage);
    EXPECT_EQ(plain.EncodedAttributes(), c.expected);
    ExportReport report;
    UnitFields reported;
    reported.Collect(unit, c.codePage, &report);
    EXPECT_EQ(reported.EncodedAttributes(), c.expected);
    EXPECT_EQ(report.invalidDates.Count(), *c.expected == 0 ? 1 : 0);
  }
}

// An invalid date leaves the value that an earlier field of its kind gave, and its place.
TEST(UnitFields, InvalidDateKeepsTheEarlierValue) {
  TxtUnit unit;
  const std::pair<const char*, const char*> fields[] = {
      {"CrD", "01012001"}, {"CrU", "U"}, {"CrD", "32012001"}, {"CrD", "x"}};
  for (const auto& [tag, value] : fields) {
    TxtField& field = unit.AddField();
    field.tag = tag;
    field.value = value;
  }
  UnitFields plain;
  plain.Collect(unit, 1252);
  EXPECT_EQ(plain.EncodedAttributes(), " creationdate=\"20010101T000000Z\" creationid=\"U\"");
}

// Takes bytes until limit, then fails, giving error as the errno.
class FailingSink : public ByteSink {
 public:
  FailingSink(size_t limit, int error) : m_limit(limit), m_failure(error) {}
  bool Write(const char*, size_t size) override {
    m_failed = m_failed || m_taken + size > m_limit;
    if (!m_failed) m_taken += size;
    return !m_failed;
  }
  bool Flush() override { return !m_failed; }
  int Error() const override { return m_failed ? m_failure : 0; }

 private:
  size_t m_limit;
  int m_failure;
  size_t m_taken = 0;
  bool m_failed = false;
};

struct FailureCase {
  const char* name;
  int sinkError;  // the errno the sink gives
  int expected;   // the errno the writer reports
};

class WriteFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailures, ReportTheErrnoAndWriteNothingMore) {
  TmxWriter writer;
  writer.Open(std::make_unique<FailingSink>(10, GetParam().sinkError), false, u"EN-US");
  writer.WriteHeader();
  EXPECT_FALSE(writer.Failed());  // the header is still in the buffer
  EXPECT_FALSE(writer.Finish());
  EXPECT_TRUE(writer.Failed());
  EXPECT_EQ(writer.Error(), GetParam().expected);
  EXPECT_FALSE(writer.WriteEncoded("more"));
  EXPECT_EQ(writer.Error(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sinks, WriteFailures,
    ::testing::Values(FailureCase{"diskFull", ENOSPC, ENOSPC},
                      // A sink that fails without saying why still fails the document.
                      FailureCase{"noErrno", 0, EIO}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
