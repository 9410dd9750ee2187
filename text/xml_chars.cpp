// SPDX-License-Identifier: MIT
#include "text/xml_chars.h"

#include "text/surrogates.h"
#include "text/utf8_encoder.h"

namespace {

using utf16::IsHighSurrogate;
using utf16::IsLowSurrogate;

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
    } else if (IsHighSurrogate(c)) {
      if (i + 1 < n && IsLowSurrogate(text[i + 1])) {
        put(c);
        put(text[i + 1]);
        ++i;
      }
    } else if (IsLowSurrogate(c)) {
      // unpaired low surrogate: left out
    } else if (c != 0xFFFE && c != 0xFFFF) {
      put(c);
    }
  }
}

}  // namespace

size_t EncodeXmlSafeUtf8(std::u16string_view text, char* dst) {
  return EncodeUtf8<Utf8Mode::kXmlSafe>(text.data(), text.size(), dst);
}

size_t EncodeXmlSafeUtf16le(std::u16string_view text, char* dst) {
  char* d = dst;
  ForEachAllowed(text, [&](char16_t c) {
    *d++ = static_cast<char>(c & 0xFF);
    *d++ = static_cast<char>(c >> 8);
  });
  return static_cast<size_t>(d - dst);
}

void AppendXmlSafe(std::string& out, std::u16string_view text, bool utf16) {
  const size_t base = out.size();
  out.resize(base + 3 * text.size());
  out.resize(base + EncodeXmlSafe(text, utf16, out.data() + base));
}
