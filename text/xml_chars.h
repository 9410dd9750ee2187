// SPDX-License-Identifier: MIT
// Characters that XML 1.0 does not allow in a document never reach the TMX file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// U+0000-U+0008, U+000B, U+000C, U+000E-U+001F, U+FFFE and U+FFFF (surrogates are judged in
// pairs by the writers below).
constexpr bool IsXmlForbiddenUnit(char16_t c) {
  return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF;
}

// Writes the text as UTF-8 to dst, which has room for 3 bytes a unit, leaving out forbidden
// characters and unpaired surrogates; returns the bytes written.
size_t EncodeXmlSafeUtf8(std::u16string_view text, char* dst);
// Writes the text as UTF-16 little-endian bytes to dst, which has room for 2 bytes a unit, with
// the same characters left out; returns the bytes written.
size_t EncodeXmlSafeUtf16le(std::u16string_view text, char* dst);
// One of the two, as the document is UTF-16 little-endian (utf16) or UTF-8; dst has room for 3
// bytes a unit.
inline size_t EncodeXmlSafe(std::u16string_view text, bool utf16, char* dst) {
  return utf16 ? EncodeXmlSafeUtf16le(text, dst) : EncodeXmlSafeUtf8(text, dst);
}
// The same, appended to out.
void AppendXmlSafe(std::string& out, std::u16string_view text, bool utf16);
