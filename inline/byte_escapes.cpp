// SPDX-License-Identifier: MIT
#include "inline/byte_escapes.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeByteEscapes(std::string_view segment) {
  std::string out;
  DecodeByteEscapes(segment, out);
  return out;
}

void DecodeByteEscapes(std::string_view segment, std::string& out) {
  out.clear();
  const size_t end = segment.find('\0');
  if (end != std::string_view::npos) segment = segment.substr(0, end);
  if (segment.find("\\'") == std::string_view::npos) {
    out.assign(segment);
    return;
  }
  out.reserve(segment.size());
  size_t i = 0;
  while (i < segment.size()) {
    const size_t at = segment.find("\\'", i);
    if (at == std::string_view::npos || segment.size() - at < 4) break;
    out.append(segment.substr(i, at - i));
    const int high = HexValue(segment[at + 2]);
    if (high < 0) {
      out.append(segment.substr(at, 4));
    } else {
      const int low = HexValue(segment[at + 3]);
      const int value = low < 0 ? high : high * 16 + low;
      if (value == 0) return;  // a NUL byte ends the segment text
      out.push_back(static_cast<char>(value));
    }
    i = at + 4;
  }
  out.append(segment.substr(i));
}
