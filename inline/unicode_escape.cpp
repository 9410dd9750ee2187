// SPDX-License-Identifier: MIT
#include "inline/unicode_escape.h"

#include "text/code_page.h"
#include "text/surrogates.h"

namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

constexpr int kMaxFallbackCount = 1 << 20;

}  // namespace

bool ReadUnicodeEscape(std::u16string_view text, size_t pos, UnicodeEscape& escape) {
  if (pos + 2 >= text.size() || text[pos] != u'\\' || text[pos + 1] != u'u') return false;
  size_t i = pos + 2;
  const bool negative = text[i] == u'-';
  if (negative) ++i;
  if (i >= text.size() || !IsDigit(text[i])) return false;
  uint32_t value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    value = (value * 10u + static_cast<uint32_t>(text[i] - u'0')) & 0xFFFFu;
    ++i;
  }
  if (negative) value = (0x10000u - value) & 0xFFFFu;
  if (i < text.size() && text[i] == u' ') ++i;
  escape.unit = static_cast<char16_t>(value);
  escape.end = i;
  return true;
}

bool ReadFallbackCountWord(std::u16string_view word, int& count) {
  if (word.size() < 4 || word.substr(0, 3) != u"\\uc") return false;
  int value = 0;
  for (size_t i = 3; i < word.size(); ++i) {
    if (!IsDigit(word[i])) return false;
    value = value * 10 + (word[i] - u'0');
    if (value > kMaxFallbackCount) value = kMaxFallbackCount;
  }
  count = value;
  return true;
}

size_t SkipUnicodeFallback(std::u16string_view text, size_t pos, int byteCount, unsigned codePage) {
  int remaining = byteCount;
  while (remaining > 0 && pos < text.size()) {
    const char16_t c = text[pos];
    if (c == u'\\' || c == u'{' || c == u'}') break;
    size_t length = 1;
    if (utf16::IsHighSurrogate(c) && pos + 1 < text.size() &&
        utf16::IsLowSurrogate(text[pos + 1])) {
      length = 2;
    }
    // Every code page a segment can be in keeps ASCII in one byte.
    const int bytes = c < 0x80 ? 1 : EncodedByteCount(codePage, text.substr(pos, length));
    remaining -= bytes > 0 ? bytes : 1;
    pos += length;
  }
  return pos;
}
