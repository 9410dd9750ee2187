// SPDX-License-Identifier: MIT
#include "text/escaped_text.h"

namespace {

// Length of the UTF-8 sequence at text[at], 0 when the bytes there are not UTF-8.
size_t Utf8Length(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  size_t length = 0;
  unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

void AppendEscaped(std::string& out, unsigned char c) {
  static const char kNamed[] = "abtnvfr";  // 0x07 to 0x0D
  out.push_back('\\');
  if (c >= 0x07 && c <= 0x0D) {
    out.push_back(kNamed[c - 0x07]);
    return;
  }
  out.push_back(static_cast<char>('0' + ((c >> 6) & 7)));
  out.push_back(static_cast<char>('0' + ((c >> 3) & 7)));
  out.push_back(static_cast<char>('0' + (c & 7)));
}

}  // namespace

std::string EscapeText(std::string_view text, bool escapeQuote) {
  std::string out;
  out.reserve(text.size() + 2);
  for (size_t at = 0; at < text.size();) {
    const auto c = static_cast<unsigned char>(text[at]);
    const size_t length = Utf8Length(text, at);
    const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
    if (length == 0 || c < 0x20 || c == 0x7F || c1) {
      // A C1 control is escaped byte by byte, like a byte that is not UTF-8.
      const size_t count = c1 ? 2 : 1;
      for (size_t i = 0; i < count; ++i)
        AppendEscaped(out, static_cast<unsigned char>(text[at + i]));
      at += count;
      continue;
    }
    if (c == '\\' || (escapeQuote && c == '\'')) out.push_back('\\');
    out.append(text.substr(at, length));
    at += length;
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8Length(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}
