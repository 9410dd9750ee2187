// SPDX-License-Identifier: MIT
#include "text/code_page_gb18030.h"

#include <algorithm>
#include <cstdint>

#include "text/code_page_data.h"
#include "text/surrogates.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsLead(unsigned char b) {
  return b >= 0x81 && b <= 0xFE;
}
bool IsTwoByteTrail(unsigned char b) {
  return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
bool IsDigit(unsigned char b) {
  return b >= 0x30 && b <= 0x39;
}

// The code point of a four-byte sequence; U+FFFD when it has no mapping.
char32_t FourByteCodePoint(const unsigned char* s) {
  const std::uint32_t index =
      ((s[0] - 0x81u) * 10 + (s[1] - 0x30u)) * 1260 + (s[2] - 0x81u) * 10 + (s[3] - 0x30u);
  const std::span<const FourByteRange> ranges = Gb18030FourByteRanges();
  const auto it =
      std::upper_bound(ranges.begin(), ranges.end(), index,
                       [](std::uint32_t i, const FourByteRange& r) { return i < r.firstIndex; });
  if (it == ranges.begin()) return kReplacement;
  const FourByteRange& range = *(it - 1);
  if (index - range.firstIndex >= range.count) return kReplacement;
  return range.firstCodePoint + (index - range.firstIndex);
}

struct Step {
  std::size_t bytes;  // bytes taken
  char32_t codePoint;
};

// The character at s[0], a lead byte, with n bytes left.
Step LeadStep(const unsigned char* s, std::size_t n) {
  if (n < 2) return {n, kReplacement};
  if (IsTwoByteTrail(s[1])) {
    const DecodeTable& table = Gb18030Table();
    return {2, table.pairs[table.leadRow[s[0]] - 1u][s[1]]};
  }
  if (!IsDigit(s[1])) return {s[1] == 0xFF ? 2u : 1u, kReplacement};
  if (n < 3) return {n, kReplacement};
  if (!IsLead(s[2])) return {1, kReplacement};
  if (n < 4) return {n, kReplacement};
  if (!IsDigit(s[3])) return {1, kReplacement};
  return {4, FourByteCodePoint(s)};
}

}  // namespace

std::size_t DecodeGb18030(const unsigned char* s, std::size_t n, char16_t* d,
                          std::size_t capacity) {
  const DecodeTable& table = Gb18030Table();
  std::size_t count = 0;
  const auto emit = [&](char16_t unit) {
    if (d && count == capacity) return false;
    if (d) d[count] = unit;
    ++count;
    return true;
  };
  std::size_t i = 0;
  while (i < n) {
    if (!IsLead(s[i])) {
      if (!emit(table.single[s[i]])) break;
      ++i;
      continue;
    }
    const Step step = LeadStep(s + i, n - i);
    i += step.bytes;
    if (step.codePoint > 0xFFFF) {
      if (!emit(utf16::HighSurrogateOf(step.codePoint))) break;
      if (!emit(utf16::LowSurrogateOf(step.codePoint))) break;
    } else if (!emit(static_cast<char16_t>(step.codePoint))) {
      break;
    }
  }
  return count;
}
