// SPDX-License-Identifier: MIT
// Leading integer of a text, read as the C runtime's _wtoi reads it, and the decimal form of an
// integer.
#pragma once

#include <climits>
#include <string_view>

// Skips leading white space, takes an optional sign and the digits up to the first other
// character; 0 when there are no digits. Values beyond the int range give INT_MAX or INT_MIN.
constexpr int WideToInt(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// Writes the decimal form of number ("-" before a negative one) so that it ends just before
// end, and gives its first unit; end must have 11 units of room before it. Numbers are written
// for every placeholder and element, so they are built in place and appended once. Units are
// char16_t or, for bytes, char.
template <typename Unit>
inline Unit* WriteDecimalBefore(Unit* end, int number) {
  Unit* first = end;
  unsigned value = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
  do {
    *--first = static_cast<Unit>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  if (number < 0) *--first = '-';
  return first;
}
