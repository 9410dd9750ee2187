// SPDX-License-Identifier: MIT
#include "engine/line_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "engine/txt_reader.h"
#include "tests/core/tmx_test_util.h"

namespace {

std::vector<std::string> ReadAllLines(const std::string& bytes) {
  testutil::TempDir dir;
  const std::string path = dir.File("in.txt");
  testutil::WriteFile(path, bytes);
  LineReader file;
  EXPECT_TRUE(file.Open(path));
  EXPECT_EQ(file.Length(), static_cast<int64_t>(bytes.size()));
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

TEST(LineReader, LineEndOnBlockBoundaryIsOneLineEnd) {
  for (size_t offset : {size_t{1}, size_t{2}}) {
    std::string first(LineReader::kBlockSize - offset, 'x');
    const std::string bytes = first + "\r\n" + "second\r\n";
    EXPECT_EQ(ReadAllLines(bytes), (std::vector<std::string>{first, "second"})) << offset;
  }
}

// UTF-16 over several blocks: a pair whose high surrogate ends the first block (after the mark,
// it holds kBlockSize / 2 - 1 units), and lines longer than a block, in both byte orders.
TEST(LineReader, Utf16OverSeveralBlocks) {
  const size_t firstBlockUnits = LineReader::kBlockSize / 2 - 1;
  const std::string xs(firstBlockUnits - 1, 'x'), ys(LineReader::kBlockSize + 3, 'y');
  const std::u16string text = std::u16string(xs.begin(), xs.end()) + u"\U0001F600\r\n" +
                              u"two \u00E9\r\n" + std::u16string(ys.begin(), ys.end()) + u"\nend";
  for (const bool little : {true, false}) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t c : text) {
      const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
      bytes += little ? std::string{low, high} : std::string{high, low};
    }
    EXPECT_EQ(ReadAllLines(bytes),
              (std::vector<std::string>{xs + "\xF0\x9F\x98\x80", "two \xC3\xA9", ys, "end"}))
        << little;
  }
}

TEST(LineReader, LongLinesAndManyBlocks) {
  const std::string longLine(3 * LineReader::kBlockSize + 17, 'y');
  std::string bytes;
  for (int i = 0; i < 500; ++i) bytes += "line " + std::to_string(i) + "\n";
  bytes += longLine + "\r\nend";
  const auto lines = ReadAllLines(bytes);
  ASSERT_EQ(lines.size(), 502u);
  EXPECT_EQ(lines[499], "line 499");
  EXPECT_EQ(lines[500], longLine);
  EXPECT_EQ(lines[501], "end");
}

TEST(LineReader, FolderCannotBeReadAndSaysSo) {
  testutil::TempDir dir;
  LineReader file;
  ASSERT_TRUE(file.Open(dir.path()));
  std::string line;
  EXPECT_FALSE(file.ReadLine(line));
  EXPECT_TRUE(file.ReadFailed());
  EXPECT_NE(file.Error(), 0);
}

TEST(LineReader, MissingFileDoesNotOpen) {
  LineReader file;
  EXPECT_FALSE(file.Open("/nonexistent/velmar.txt"));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Error(), ENOENT);
  std::string line;
  EXPECT_FALSE(file.ReadLine(line));
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

TEST(LineReader, LengthOfFilesBeyondTwoGigabytes) {
  testutil::TempDir dir;
  const std::string path = dir.File("big.txt");
  testutil::WriteFile(path, "<TrU>\r\n");
  const int64_t size = (int64_t{3} << 30) + 5;  // sparse: takes no disk space
  ASSERT_EQ(::truncate(path.c_str(), size), 0);
  LineReader file;
  ASSERT_TRUE(file.Open(path));
  EXPECT_EQ(file.Length(), size);
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "<TrU>");
}

}  // namespace
