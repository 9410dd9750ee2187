// SPDX-License-Identifier: MIT
// TXT dates ("DDMMYYYY, HH:MM:SS") become TMX dates ("YYYYMMDDTHHMMSSZ").
#include "engine/tmx_exporter.h"

namespace {

// Reads count decimal digits at pos; false when one of them is not a digit.
bool ReadDigits(std::u16string_view value, size_t pos, size_t count, int& out) {
  out = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    const char16_t c = value[i];
    if (c < u'0' || c > u'9') return false;
    out = out * 10 + (c - u'0');
  }
  return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

void AppendNumber(std::u16string& out, int value, int width) {
  char16_t digits[8];
  for (int i = width - 1; i >= 0; --i) {
    digits[i] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  }
  out.append(digits, static_cast<size_t>(width));
}

}  // namespace

bool FormatTmxDate(std::u16string_view value, std::u16string& out) {
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
  AppendNumber(out, year, 4);
  AppendNumber(out, month, 2);
  AppendNumber(out, day, 2);
  out.push_back(u'T');
  AppendNumber(out, hour, 2);
  AppendNumber(out, minute, 2);
  AppendNumber(out, second, 2);
  out.push_back(u'Z');
  return true;
}
