// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "text/wide_string.h"

TEST(WideStringSmoke, MidClamps) { EXPECT_EQ(WideString(u"abcdef").Mid(-3, 2), u"ab"); }
