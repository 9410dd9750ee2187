// SPDX-License-Identifier: MIT
#include "text/wide_string.h"

#include <algorithm>
#include <ostream>

#include "text/code_page.h"
#include "text/code_page_data.h"
#include "text/surrogates.h"

WideString::WideString(const char16_t* text) : m_text(text ? text : u"") {}
WideString::WideString(std::u16string_view text) : m_text(text) {}
WideString::WideString(std::u16string&& text) noexcept : m_text(std::move(text)) {}
WideString::WideString(std::string_view narrow) : m_text(Decode(kCodePageAnsi, narrow)) {}

WideString& WideString::operator=(std::u16string_view text) {
  m_text.assign(text.data(), text.size());
  return *this;
}
WideString& WideString::operator=(const char16_t* text) {
  m_text.assign(text ? text : u"");
  return *this;
}
WideString& WideString::operator+=(std::u16string_view text) {
  m_text.append(text);
  return *this;
}
WideString& WideString::operator+=(const WideString& text) {
  m_text.append(text.m_text);
  return *this;
}
WideString& WideString::operator+=(const char16_t* text) {
  if (text) m_text.append(text);
  return *this;
}
WideString& WideString::operator+=(char16_t ch) {
  m_text.push_back(ch);
  return *this;
}

WideString operator+(const WideString& a, const WideString& b) {
  std::u16string s;
  s.reserve(a.m_text.size() + b.m_text.size());
  s.append(a.m_text).append(b.m_text);
  return WideString(std::move(s));
}
WideString operator+(const WideString& a, const char16_t* b) {
  return a + WideString(b);
}
WideString operator+(const char16_t* a, const WideString& b) {
  return WideString(a) + b;
}

char16_t LowerChar(char16_t ch) {
  if (ch < 0x80) return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch + 32) : ch;
  if (utf16::IsSurrogate(ch)) return ch;
  const std::span<const LowerCaseRange> ranges = LowerCaseRanges();
  const auto it =
      std::upper_bound(ranges.begin(), ranges.end(), ch,
                       [](char16_t c, const LowerCaseRange& range) { return c < range.first; });
  if (it == ranges.begin()) return ch;
  const LowerCaseRange& range = *(it - 1);
  if (ch > range.last || (ch - range.first) % range.step != 0) return ch;
  return static_cast<char16_t>(ch + range.delta);
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  AppendUtf8(text, out);
  return out;
}

WideString FromUtf8(std::string_view text) {
  return WideString(Decode(kCodePageUtf8, text));
}

void PrintTo(const WideString& text, std::ostream* os) {
  *os << '"' << ToUtf8(text.str()) << '"';
}
