// SPDX-License-Identifier: MIT
// TXT dates ("DDMMYYYY, HH:MM:SS") become TMX dates ("YYYYMMDDTHHMMSSZ").
#include "engine/tmx_exporter.h"

namespace {

// Reads count decimal digits at pos; false when one of them is not a digit.
template <typename Char>
bool ReadDigits(std::basic_string_view<Char> value, size_t pos, size_t count, int& out) {
  out = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    const Char c = value[i];
    if (c < Char('0') || c > Char('9')) return false;
    out = out * 10 + (c - Char('0'));
  }
  return true;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

template <typename Char>
bool FormatDate(std::basic_string_view<Char> value, std::basic_string<Char>& out) {
  out.clear();
  if (value.size() < 8) return false;
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  if (!ReadDigits(value, 0, 2, day) || !ReadDigits(value, 2, 2, month) ||
      !ReadDigits(value, 4, 4, year)) {
    return false;
  }
  if (value.size() >= 18 && (!ReadDigits(value, 10, 2, hour) || !ReadDigits(value, 13, 2, minute) ||
                             !ReadDigits(value, 16, 2, second))) {
    return false;
  }
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59) {
    return false;
  }
  // The digits read are those written, in another order; a value without a time has none.
  const bool timed = value.size() >= 18;
  const auto at = [&](size_t i) { return timed ? value[i] : Char('0'); };
  const Char text[16] = {value[4], value[5], value[6],  value[7], value[2], value[3],
                         value[0], value[1], Char('T'), at(10),   at(11),   at(13),
                         at(14),   at(16),   at(17),    Char('Z')};
  out.assign(text, 16);
  return true;
}

}  // namespace

bool FormatTmxDate(std::u16string_view value, std::u16string& out) {
  return FormatDate(value, out);
}

bool FormatTmxDate(std::string_view value, std::string& out) {
  return FormatDate(value, out);
}
