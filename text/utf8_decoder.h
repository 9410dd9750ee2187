// SPDX-License-Identifier: MIT
// The one UTF-8 decoder of the program. ReadUtf8Sequence reads the sequence at a position the
// lenient way the conversion from UTF-8 text has always read it (a lead byte announces one to
// five continuation bytes, as many of them as follow are taken); IsWellFormed tells whether what
// it read is a well-formed character (shortest form, not a surrogate, at most U+10FFFF).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/surrogates.h"

namespace utf8 {

inline constexpr signed char kNoLead = -1;

// The continuation bytes each byte announces as the first of a sequence: 0 for ASCII, 1-5 for
// 0xC0-0xFD, kNoLead for a continuation byte (0x80-0xBF) and for 0xFE and 0xFF.
constexpr std::array<signed char, 256> MakeLeadTable() {
  std::array<signed char, 256> t{};
  for (int b = 0; b < 256; ++b) {
    t[b] = b < 0x80   ? 0
           : b < 0xC0 ? kNoLead
           : b < 0xE0 ? 1
           : b < 0xF0 ? 2
           : b < 0xF8 ? 3
           : b < 0xFC ? 4
           : b < 0xFE ? 5
                      : kNoLead;
  }
  return t;
}
inline constexpr std::array<signed char, 256> kLeadTable = MakeLeadTable();

struct Sequence {
  size_t length = 1;   // bytes read, the lead byte included
  int announced = 0;   // continuation bytes the lead byte announced, or kNoLead
  int taken = 0;       // continuation bytes that followed (at most announced)
  uint32_t value = 0;  // the bits of the bytes read
};

// The sequence that begins at text[at] (at < text.size()).
inline Sequence ReadUtf8Sequence(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  Sequence s;
  s.announced = kLeadTable[lead];
  if (s.announced <= 0) {
    s.value = lead;
    return s;
  }
  s.value = lead & (0x3Fu >> s.announced);
  size_t i = at + 1;
  while (s.taken < s.announced && i < text.size() &&
         (static_cast<unsigned char>(text[i]) & 0xC0u) == 0x80u) {
    s.value = s.value * 64 + (static_cast<unsigned char>(text[i]) & 0x3Fu);
    ++i;
    ++s.taken;
  }
  s.length = i - at;
  return s;
}

// Whether the sequence is one well-formed character (ASCII included).
inline bool IsWellFormed(const Sequence& s) {
  constexpr uint32_t kLowest[] = {0, 0x80, 0x800, 0x10000};
  return s.announced >= 0 && s.announced <= 3 && s.taken == s.announced &&
         s.value >= kLowest[s.announced] && s.value <= 0x10FFFF && !utf16::IsSurrogate(s.value);
}

// The length of the well-formed UTF-8 character at text[at], or 0 when the bytes there are none.
inline size_t WellFormedLength(std::string_view text, size_t at) {
  const Sequence s = ReadUtf8Sequence(text, at);
  return IsWellFormed(s) ? s.length : 0;
}

}  // namespace utf8
