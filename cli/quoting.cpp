// SPDX-License-Identifier: MIT
#include "cli/quoting.h"

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

std::string Escape(std::string_view text, bool quote) {
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
    if (c == '\\' || (quote && c == '\'')) out.push_back('\\');
    out.append(text.substr(at, length));
    at += length;
  }
  return out;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
  return Escape(text, false);
}

std::string QuoteName(std::string_view text) {
  std::string quoted(1, '\'');
  quoted += Escape(text, true);
  quoted.push_back('\'');
  return quoted;
}

std::string ShownPath(std::string_view path) {
  if (path == "/dev/stdin") return "standard input";
  if (path == "/dev/stdout") return "standard output";
  return QuoteName(path);
}
