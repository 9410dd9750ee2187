// SPDX-License-Identifier: MIT
// RTF Unicode escapes: "\uN" stands for the UTF-16 unit N (N + 65536 when negative) and is
// followed by fallback characters for readers without Unicode; "\ucN" says how many bytes of
// fallback follow each escape (1 unless a "\ucN" word says otherwise).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct UnicodeEscape {
  char16_t unit = 0;  // the character written
  size_t end = 0;     // the position after the digits and the one space that may end them
};

// True when text[pos] is a backslash that begins "\u", an optional "-" and at least one digit.
// Digits beyond 16 bits keep the low 16 bits of the value.
bool ReadUnicodeEscape(std::u16string_view text, size_t pos, UnicodeEscape& escape);

// True when the control word (backslash included) is "\uc" followed by digits only; count gets
// the number (limited to a large bound).
bool ReadFallbackCountWord(std::u16string_view word, int& count);

// The position after the fallback of an escape that ends at pos: characters are passed over
// while fewer than byteCount bytes (in the code page) have been passed over; a backslash, a
// brace or the end of the text is never passed over.
size_t SkipUnicodeFallback(std::u16string_view text, size_t pos, int byteCount, unsigned codePage);
