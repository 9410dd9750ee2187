// SPDX-License-Identifier: MIT
#include "inline/byte_escapes.h"

#include "text/code_page.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The position of the first "\\'" at or after from, or npos. The apostrophe is searched for:
// RTF holds a backslash every few characters, an apostrophe seldom.
size_t FindEscape(std::string_view segment, size_t from) {
  for (size_t quote = segment.find('\'', from + 1); quote != std::string_view::npos;
       quote = segment.find('\'', quote + 1)) {
    if (segment[quote - 1] == '\\') return quote - 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::string DecodeByteEscapes(std::string_view segment) {
  std::string out;
  DecodeByteEscapes(segment, out);
  return out;
}

void DecodeByteEscapes(std::string_view segment, std::string& out) {
  const std::string_view decoded = ByteEscapesDecoded(segment, out);
  if (decoded.data() != out.data()) out.assign(decoded);
}

std::string_view ByteEscapesDecoded(std::string_view segment, std::string& buffer) {
  size_t at = FindEscape(segment, 0);
  if (at == std::string_view::npos) return segment;
  buffer.clear();
  buffer.reserve(segment.size());
  size_t i = 0;
  for (; at != std::string_view::npos && segment.size() - at >= 4; at = FindEscape(segment, i)) {
    buffer.append(segment.substr(i, at - i));
    const int high = HexValue(segment[at + 2]);
    if (high < 0) {
      buffer.append(segment.substr(at, 4));
    } else {
      const int low = HexValue(segment[at + 3]);
      const int value = low < 0 ? high : high * 16 + low;
      buffer.push_back(static_cast<char>(value));
    }
    i = at + 4;
  }
  buffer.append(segment.substr(i));
  return buffer;
}

void DecodeUnicodeWithByteEscapes(std::string_view segment, unsigned codePage, std::u16string& out,
                                  std::string& bytes) {
  size_t i = 0;
  size_t at = FindEscape(segment, 0);
  while (at != std::string_view::npos && segment.size() - at >= 4) {
    DecodeAppend(kCodePageUtf8, segment.substr(i, at - i), out);
    // A run of escapes gives bytes in the code page, decoded together (a lead byte and its
    // trail byte may stand in two escapes).
    bytes.clear();
    i = at;
    while (i == at && segment.size() - at >= 4) {
      const int high = HexValue(segment[at + 2]);
      if (high < 0) break;
      const int low = HexValue(segment[at + 3]);
      const int value = low < 0 ? high : high * 16 + low;
      bytes.push_back(static_cast<char>(value));
      i = at + 4;
      at = FindEscape(segment, i);
    }
    DecodeAppend(codePage, bytes, out);
    if (i == at && segment.size() - at >= 4) {
      // An escape without a hexadecimal digit stays as it is.
      DecodeAppend(kCodePageUtf8, segment.substr(at, 4), out);
      i = at + 4;
      at = FindEscape(segment, i);
    }
  }
  DecodeAppend(kCodePageUtf8, segment.substr(i), out);
}
