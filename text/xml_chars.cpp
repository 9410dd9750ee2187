// SPDX-License-Identifier: MIT
#include "text/xml_chars.h"

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Calls put(unit) for every unit that may stay, and put(high), put(low) for valid pairs.
template <typename Put>
void ForEachAllowed(std::u16string_view text, Put&& put) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c >= 0x20 && c < 0xD800) {
      put(c);
    } else if (c < 0x20) {
      if (!IsXmlForbiddenUnit(c)) put(c);
    } else if (IsHigh(c)) {
      if (i + 1 < n && IsLow(text[i + 1])) {
        put(c);
        put(text[i + 1]);
        ++i;
      }
    } else if (IsLow(c)) {
      // unpaired low surrogate: left out
    } else if (c != 0xFFFE && c != 0xFFFF) {
      put(c);
    }
  }
}

}  // namespace

void AppendXmlSafeUtf8(std::u16string_view text, std::string& out) {
  out.reserve(out.size() + text.size() + text.size() / 4);
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      if (c >= 0x20 || c == 0x09 || c == 0x0A || c == 0x0D) out.push_back(static_cast<char>(c));
      continue;
    }
    if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
      continue;
    }
    if (IsHigh(c)) {
      if (i + 1 < n && IsLow(text[i + 1])) {
        const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                            (static_cast<char32_t>(text[i + 1]) - 0xDC00);
        ++i;
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
      }
      continue;
    }
    if (IsLow(c) || c == 0xFFFE || c == 0xFFFF) continue;
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendXmlSafeUtf16le(std::u16string_view text, std::string& out) {
  out.reserve(out.size() + text.size() * 2);
  ForEachAllowed(text, [&](char16_t c) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  });
}

std::u16string StripXmlForbidden(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  ForEachAllowed(text, [&](char16_t c) { out.push_back(c); });
  return out;
}
