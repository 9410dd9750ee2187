// SPDX-License-Identifier: MIT
// The byte-order mark that begins a marked output file in each output encoding.
#pragma once

#include <string_view>

enum class OutputEncoding { kUtf8, kUtf16le };

// EF BB BF for UTF-8, FF FE for UTF-16 little-endian.
constexpr std::string_view ByteOrderMark(OutputEncoding encoding) {
  return encoding == OutputEncoding::kUtf16le ? std::string_view("\xFF\xFE", 2)
                                              : std::string_view("\xEF\xBB\xBF", 3);
}
