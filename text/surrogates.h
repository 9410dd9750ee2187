// SPDX-License-Identifier: MIT
// UTF-16 surrogates: the units U+D800-U+DBFF (high) and U+DC00-U+DFFF (low), a pair of which
// stands for one character from U+10000 on.
#pragma once

namespace utf16 {

constexpr bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}
// The character a high and a low surrogate stand for.
constexpr char32_t FromSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}
// The high and the low surrogate of a character from U+10000 to U+10FFFF.
constexpr char16_t HighSurrogateOf(char32_t c) {
  return static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
}
constexpr char16_t LowSurrogateOf(char32_t c) {
  return static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
}

}  // namespace utf16
