// SPDX-License-Identifier: MIT
// TXT dates ("DDMMYYYY, HH:MM:SS") become TMX dates ("YYYYMMDDTHHMMSSZ").
#include <iterator>

#include "engine/tmx_exporter.h"

namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The places of a value's digits: "DDMMYYYY", then "HH:MM:SS" after ", " when the value holds a
// time.
constexpr size_t kDatePlaces = 8;
constexpr size_t kDigitPlaces[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 13, 14, 16, 17};

template <typename Char>
bool FormatDate(std::basic_string_view<Char> value, std::basic_string<Char>& out) {
  if (value.size() < 8) return false;
  const bool timed = value.size() >= 18;
  int digits[std::size(kDigitPlaces)] = {};
  for (size_t k = 0; k < (timed ? std::size(kDigitPlaces) : kDatePlaces); ++k) {
    // A unit below "0" wraps round to a large value, as one above "9" is.
    const unsigned digit = static_cast<unsigned>(value[kDigitPlaces[k]]) - unsigned{'0'};
    if (digit > 9) return false;
    digits[k] = static_cast<int>(digit);
  }
  const auto number = [&digits](size_t k) { return digits[k] * 10 + digits[k + 1]; };
  const int day = number(0), month = number(2), year = number(4) * 100 + number(6);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || number(8) > 23 ||
      number(10) > 59 || number(12) > 59) {
    return false;
  }
  // The digits read are those written, in another order; a value without a time has none.
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
