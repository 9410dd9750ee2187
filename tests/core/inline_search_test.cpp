// SPDX-License-Identifier: MIT
// The searches the scanners pass over text with: unit sets (eight units at a time) and the
// resumable forward search.
#include <gtest/gtest.h>

#include <string>

#include "inline/forward_search.h"
#include "text/unit_set.h"

namespace {

TEST(UnitSet, FindsTheFirstMemberAtEveryOffset) {
  constexpr UnitSet kSet(u"<&\u00A0");
  for (size_t length = 0; length < 40; ++length) {
    for (size_t at = 0; at <= length; ++at) {
      std::u16string text(length, u'a');
      if (at < length) text[at] = (at % 3 == 0) ? u'<' : (at % 3 == 1) ? u'&' : u'\u00A0';
      for (size_t from = 0; from <= length; ++from) {
        const size_t expected = (at < length && at >= from) ? at : length;
        ASSERT_EQ(kSet.FindFirst(text, from), expected) << length << " " << at << " " << from;
      }
    }
  }
}

TEST(UnitSet, MembersAndNonMembers) {
  constexpr UnitSet kSet(std::u16string_view(u"\0{\uFFFF", 3));
  EXPECT_TRUE(kSet.Contains(u'\0'));
  EXPECT_TRUE(kSet.Contains(u'{'));
  EXPECT_TRUE(kSet.Contains(u'\uFFFF'));
  EXPECT_FALSE(kSet.Contains(u'}'));
  EXPECT_FALSE(kSet.Contains(u'\u007B' + 0x100));  // same low byte as "{"
  EXPECT_EQ(kSet.FindFirst(u"abcdefghij\u017Bk{", 0), 12u);
  EXPECT_EQ(kSet.FindFirst(u"abc", 7), 3u);  // a start past the end gives the end
}

TEST(ForwardSearch, AnswersAsAFreshSearchWouldWithGrowingStarts) {
  const std::u16string text = u"a b  c   d";
  auto isBlank = [&](size_t i) { return text[i] == u' '; };
  ForwardSearch search;
  EXPECT_EQ(search.Next(0, 1, isBlank), 1u);  // nothing before the limit: the limit
  EXPECT_EQ(search.Next(0, text.size(), isBlank), 1u);
  EXPECT_EQ(search.Next(1, text.size(), isBlank), 1u);
  EXPECT_EQ(search.Next(2, 3, isBlank), 3u);
  EXPECT_EQ(search.Next(2, text.size(), isBlank), 3u);
  EXPECT_EQ(search.Next(5, 5, isBlank), 5u);
  EXPECT_EQ(search.Next(5, text.size(), isBlank), 6u);
  EXPECT_EQ(search.Next(9, text.size(), isBlank), 10u);
  EXPECT_EQ(search.Next(0, text.size(), isBlank), 1u);  // a smaller start searches afresh
}

TEST(ForwardSearch, TestsEachPositionOnceWhileStartsGrow) {
  const std::u16string text(1000, u'x');
  int tests = 0;
  auto never = [&](size_t) {
    ++tests;
    return false;
  };
  ForwardSearch search;
  for (size_t from = 0; from < text.size(); from += 10) {
    EXPECT_EQ(search.Next(from, text.size(), never), text.size());
  }
  EXPECT_EQ(tests, 1000);
}

}  // namespace
