// SPDX-License-Identifier: MIT
#include "text/wide_string.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ostream>
#include <vector>

#include "text/code_page.h"

WideString::WideString(const char16_t* text) : m_text(text ? text : u"") {}
WideString::WideString(std::u16string_view text) : m_text(text) {}
WideString::WideString(std::u16string&& text) noexcept : m_text(std::move(text)) {}
WideString::WideString(std::string_view narrow) : m_text(Decode(kCodePageAnsi, narrow)) {}
WideString::WideString(char16_t ch, int count)
    : m_text(count > 0 ? static_cast<size_t>(count) : 0, ch) {}

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
WideString operator+(const WideString& a, const char16_t* b) { return a + WideString(b); }
WideString operator+(const char16_t* a, const WideString& b) { return WideString(a) + b; }

WideString WideString::Mid(int start) const { return Mid(start, INT_MAX); }

WideString WideString::Mid(int start, int count) const {
  if (start < 0) start = 0;
  if (count < 0) count = 0;
  const int length = GetLength();
  if (start >= length) return WideString();
  const int available = length - start;
  if (count > available) count = available;
  return WideString(std::u16string_view(m_text).substr(static_cast<size_t>(start),
                                                       static_cast<size_t>(count)));
}

WideString WideString::Left(int count) const {
  if (count < 0) return WideString();
  return Mid(0, count);
}

WideString WideString::Right(int count) const {
  if (count < 0) return WideString();
  const int length = GetLength();
  if (count >= length) return *this;
  return Mid(length - count, count);
}

int WideString::Find(std::u16string_view text) const {
  const size_t at = m_text.find(text);
  return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int WideString::Find(char16_t ch) const {
  const size_t at = m_text.find(ch);
  return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int WideString::Find(std::u16string_view text, int start) const {
  const int length = GetLength();
  if (start < 0) start = 0;
  if (start >= length) return -1;
  const size_t n = text.size();
  if (n == 0) return start;
  if (n > static_cast<size_t>(length - start)) return -1;
  std::u16string lowered(text);
  for (char16_t& c : lowered) c = LowerChar(c);
  const size_t last = static_cast<size_t>(length) - n;
  for (size_t i = static_cast<size_t>(start); i <= last; ++i) {
    if (LowerChar(m_text[i]) != lowered[0]) continue;
    size_t k = 1;
    while (k < n && LowerChar(m_text[i + k]) == lowered[k]) ++k;
    if (k == n) return static_cast<int>(i);
  }
  return -1;
}

int WideString::Replace(std::u16string_view oldText, std::u16string_view newText) {
  if (oldText.empty()) return 0;
  size_t at = m_text.find(oldText);
  if (at == std::u16string::npos) return 0;
  std::u16string out;
  out.reserve(m_text.size());
  size_t from = 0;
  int count = 0;
  while (at != std::u16string::npos) {
    out.append(m_text, from, at - from);
    out.append(newText);
    from = at + oldText.size();
    ++count;
    at = m_text.find(oldText, from);
  }
  out.append(m_text, from, std::u16string::npos);
  m_text.swap(out);
  return count;
}

int WideString::Remove(char16_t ch) {
  const size_t before = m_text.size();
  std::erase(m_text, ch);
  return static_cast<int>(before - m_text.size());
}

void WideString::MakeLower() {
  for (char16_t& c : m_text) c = LowerChar(c);
}

void WideString::Format(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void WideString::FormatV(const char16_t* format, va_list args) {
  std::u16string out;
  for (const char16_t* p = format; *p; ++p) {
    if (*p != u'%') {
      out.push_back(*p);
      continue;
    }
    ++p;
    if (*p == u'%') {
      out.push_back(u'%');
      continue;
    }
    bool isLong = false;
    while (*p == u'l' || *p == u'h') {
      isLong = isLong || *p == u'l';
      ++p;
    }
    if (*p == u'd' || *p == u'i') {
      const long long value = isLong ? va_arg(args, long) : va_arg(args, int);
      char digits[32];
      const int n = std::snprintf(digits, sizeof digits, "%lld", value);
      out.append(digits, digits + n);
    } else if (*p == u's') {
      const char16_t* s = va_arg(args, const char16_t*);
      out.append(s ? s : u"(null)");
    } else if (*p == 0) {
      break;
    } else {
      out.push_back(u'%');
      out.push_back(*p);
    }
  }
  m_text.swap(out);
}

char16_t LowerChar(char16_t ch) {
  if (ch < 0x80) return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch + 32) : ch;
  if (ch >= 0xD800 && ch <= 0xDFFF) return ch;
  const UChar32 lowered = u_tolower(static_cast<UChar32>(ch));
  return lowered <= 0xFFFF ? static_cast<char16_t>(lowered) : ch;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  AppendUtf8(text, out);
  return out;
}

WideString FromUtf8(std::string_view text) { return WideString(Decode(kCodePageUtf8, text)); }

void PrintTo(const WideString& text, std::ostream* os) { *os << '"' << ToUtf8(text.str()) << '"'; }
