// SPDX-License-Identifier: MIT
#include "engine/line_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/core/tmx_test_util.h"
#include "text/byte_order_mark.h"

namespace {

std::vector<std::string> ReadAllLines(const std::string& bytes) {
  testutil::TempDir dir;
  const std::string path = dir.File("in.txt");
  testutil::WriteFile(path, bytes);
  CLineFile file;
  EXPECT_TRUE(file.Open(path, "r", kTextPlain));
  EXPECT_EQ(file.GetLength(), static_cast<int64_t>(bytes.size()));
  std::vector<std::string> lines;
  std::string line;
  while (file.ReadLine(line)) lines.push_back(line);
  EXPECT_FALSE(file.ReadFailed());
  return lines;
}

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

class LineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, SplitAsExpected) {
  EXPECT_EQ(ReadAllLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEnds,
    ::testing::Values(
        LineCase{"empty", "", {}}, LineCase{"lfLf", "a\n\nb", {"a", "b"}},
        LineCase{"lfLfLf", "a\n\n\nb", {"a", "", "b"}}, LineCase{"crLf", "a\r\nb", {"a", "b"}},
        LineCase{"lfCr", "a\n\rb", {"a", "b"}}, LineCase{"crCr", "a\r\rb", {"a", "b"}},
        LineCase{"lastLineWithoutEnd", "a\r\nb", {"a", "b"}},
        LineCase{"endsInLineEnd", "a\r\nb\r\n", {"a", "b"}}, LineCase{"onlyLineEnd", "\r\n", {""}},
        LineCase{"nulBytesSkipped", std::string("a\0b\r\nc\0", 8), {"ab", "c"}},
        LineCase{"utf8MarkIsSkipped", "\xEF\xBB\xBF<TrU>\r\n", {"<TrU>"}},
        LineCase{"utf16LeMarked",
                 std::string("\xFF\xFE<\0\xE9\0\r\0\n\0=\0\x3D\xD8x\0", 16),
                 {"<\xC3\xA9", "=\xEF\xBF\xBDx"}},
        LineCase{"utf16LeWithoutMark", std::string("<\0T\0\n\0\0\0x\0", 10), {"<T", "x"}},
        LineCase{
            "utf16BeWithoutMark", std::string("\0<\0T\0\n\0\0\0x\0\xE9", 12), {"<T", "x\xC3\xA9"}},
        LineCase{"utf16BeMarked",
                 std::string("\xFE\xFF\0<\xD8\x3D\xDE\0\0\n\x65\xE5", 12),
                 {"<\xF0\x9F\x98\x80", "\xE6\x97\xA5"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(LineFile, LineEndOnBlockBoundaryIsOneLineEnd) {
  for (size_t offset : {size_t{1}, size_t{2}}) {
    std::string first(CLineFile::kBlockSize - offset, 'x');
    const std::string bytes = first + "\r\n" + "second\r\n";
    EXPECT_EQ(ReadAllLines(bytes), (std::vector<std::string>{first, "second"})) << offset;
  }
}

TEST(LineFile, LongLinesAndManyBlocks) {
  const std::string longLine(3 * CLineFile::kBlockSize + 17, 'y');
  std::string bytes;
  for (int i = 0; i < 500; ++i) bytes += "line " + std::to_string(i) + "\n";
  bytes += longLine + "\r\nend";
  const auto lines = ReadAllLines(bytes);
  ASSERT_EQ(lines.size(), 502u);
  EXPECT_EQ(lines[499], "line 499");
  EXPECT_EQ(lines[500], longLine);
  EXPECT_EQ(lines[501], "end");
}

TEST(LineFile, FolderCannotBeReadAndSaysSo) {
  testutil::TempDir dir;
  CLineFile file;
  ASSERT_TRUE(file.Open(dir.path(), "r", kTextPlain));
  std::string line;
  EXPECT_FALSE(file.ReadLine(line));
  EXPECT_TRUE(file.ReadFailed());
  EXPECT_NE(file.Error(), 0);
}

TEST(LineFile, MissingFileDoesNotOpen) {
  CLineFile file;
  EXPECT_FALSE(file.Open("/nonexistent/velmar.txt", "r", kTextPlain));
  EXPECT_FALSE(file.IsOpen());
}

TEST(LineFile, WritesMarkedUtf8AndUtf16) {
  testutil::TempDir dir;
  {
    CLineFile out;
    ASSERT_TRUE(out.Open(dir.File("a.tmx"), "w", kTextMarked));
    EXPECT_TRUE(out.WriteLine(2, u"<a>\u00E9\U0001F600</a>"));
  }
  EXPECT_EQ(testutil::ReadFile(dir.File("a.tmx")),
            "\xEF\xBB\xBF  <a>\xC3\xA9\xF0\x9F\x98\x80</a>\r\n");
  {
    CLineFile out;
    ASSERT_TRUE(out.Open(dir.File("b.tmx"), "wb", kTextMarked));
    EXPECT_TRUE(out.WriteLine(1, u"\u00E9"));
  }
  EXPECT_EQ(testutil::ReadFile(dir.File("b.tmx")), std::string("\xFF\xFE \0\xE9\0\r\0\n\0", 10));
  // The marks the file writes are those of the one function that names them.
  EXPECT_EQ(testutil::ReadFile(dir.File("a.tmx")).substr(0, 3),
            ByteOrderMark(OutputEncoding::kUtf8));
  EXPECT_EQ(testutil::ReadFile(dir.File("b.tmx")).substr(0, 2),
            ByteOrderMark(OutputEncoding::kUtf16le));
  {
    CLineFile out;
    ASSERT_TRUE(out.Open(dir.File("c.tmx"), "w", kTextPlain));
    EXPECT_TRUE(out.WriteLine(0, u"x"));
  }
  EXPECT_EQ(testutil::ReadFile(dir.File("c.tmx")), "x\r\n");
  CLineFile closed;
  EXPECT_FALSE(closed.WriteLine(0, u"x"));
}

TEST(LineFile, WriterLeavesOutCharactersXmlForbids) {
  testutil::TempDir dir;
  {
    CLineFile out;
    ASSERT_TRUE(out.Open(dir.File("a.tmx"), "w", kTextPlain));
    const std::u16string text = std::u16string(u"a\u0001b\u000Bc\u001Fd\tX\uFFFEe\uFFFF") +
                                u"\xD800" + u"f" + u"\xDC00" + u"g\u0085";
    EXPECT_TRUE(out.WriteLine(0, text));
  }
  EXPECT_EQ(testutil::ReadFile(dir.File("a.tmx")), "abcd\tXefg\xC2\x85\r\n");
}

struct TagCase {
  const char* name;
  std::string line;
  bool accepted;
  std::string tag, lValue, content;
  bool closing;
};

class TagLines : public ::testing::TestWithParam<TagCase> {};

TEST_P(TagLines, Parse) {
  const TagCase& c = GetParam();
  std::string_view tag = "junk", lValue = "junk", content = "junk";
  bool closing = true;
  EXPECT_EQ(ParseTagLine(c.line, tag, lValue, content, closing), c.accepted);
  EXPECT_EQ(tag, c.tag);
  EXPECT_EQ(lValue, c.lValue);
  EXPECT_EQ(content, c.content);
  EXPECT_EQ(closing, c.closing);
}

INSTANTIATE_TEST_SUITE_P(
    Records, TagLines,
    ::testing::Values(
        TagCase{"seg", "<Seg L=EN-US>a > b <c>", true, "Seg", "EN-US", "a > b <c>", false},
        TagCase{"closingUnit", "</TrU>", true, "TrU", "", "", true},
        TagCase{"openingUnit", "<TrU>", true, "TrU", "", "", false},
        TagCase{"longNameCountsAsThree", "<TrUnit>", true, "TrU", "", "", false},
        TagCase{"noGreaterThan", "<TrU", false, "", "", "", false},
        TagCase{"noLessThan", "TrU", false, "", "", "", false},
        TagCase{"att", "<Att L=Client>A, B", true, "Att", "Client", "A, B", false},
        TagCase{"date", "<CrD>26072002, 10:03:33", true, "CrD", "", "26072002, 10:03:33", false},
        TagCase{"shortTag", "<X>y", true, "X", "", "y", false},
        TagCase{"empty", "", false, "", "", "", false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(StyleCodes, ExtractedUpToTheBlank) {
  WideString code(u"junk");
  EXPECT_TRUE(ExtractStyleCode("{\\St \\cs12 {\\StB \\v }{\\StN korvexInternal}}", code));
  EXPECT_EQ(code, u"\\cs12");
  EXPECT_FALSE(ExtractStyleCode("{\\St {\\StN DO_NOT_TRANSLATE}\\cs1}", code));
  EXPECT_EQ(code, u"");
  EXPECT_FALSE(ExtractStyleCode("no code here", code));
}

}  // namespace

namespace {

TEST(LineFile, LengthOfFilesBeyondTwoGigabytes) {
  testutil::TempDir dir;
  const std::string path = dir.File("big.txt");
  testutil::WriteFile(path, "<TrU>\r\n");
  const int64_t size = (int64_t{3} << 30) + 5;  // sparse: takes no disk space
  ASSERT_EQ(::truncate(path.c_str(), size), 0);
  CLineFile file;
  ASSERT_TRUE(file.Open(path, "r", kTextPlain));
  EXPECT_EQ(file.GetLength(), size);
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "<TrU>");
}

}  // namespace
