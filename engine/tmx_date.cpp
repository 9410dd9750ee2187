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

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Writes value with width digits at p; returns the position after them.
char16_t* PutNumber(char16_t* p, int value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    p[i] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  }
  return p + width;
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
  char16_t text[16];
  char16_t* p = PutNumber(text, year, 4);
  p = PutNumber(p, month, 2);
  p = PutNumber(p, day, 2);
  *p++ = u'T';
  p = PutNumber(p, hour, 2);
  p = PutNumber(p, minute, 2);
  p = PutNumber(p, second, 2);
  *p++ = u'Z';
  out.assign(text, static_cast<size_t>(p - text));
  return true;
}
