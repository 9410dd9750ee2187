// SPDX-License-Identifier: MIT
#include "text/escaped_text.h"

#include "text/utf8_decoder.h"

namespace {

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
    const size_t length = utf8::WellFormedLength(text, at);
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
    const size_t length = utf8::WellFormedLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}
