// SPDX-License-Identifier: MIT
// WideString: the UTF-16 string in which segment content, tag texts and TMX body text are held.
// A thin wrapper of std::u16string (appends are amortised).
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

class WideString {
 public:
  WideString() = default;
  WideString(const char16_t* text);              // NOLINT: implicit like the C string types
  WideString(std::u16string_view text);          // NOLINT
  WideString(std::u16string&& text) noexcept;    // NOLINT
  explicit WideString(std::string_view narrow);  // converted in code page 0 (Windows-1252)

  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }
  char16_t operator[](int index) const { return m_text[static_cast<size_t>(index)]; }
  const char16_t* c_str() const { return m_text.c_str(); }
  operator std::u16string_view() const { return m_text; }  // NOLINT
  const std::u16string& str() const { return m_text; }
  std::u16string& str() { return m_text; }

  WideString& operator=(std::u16string_view text);
  WideString& operator=(const char16_t* text);
  WideString& operator+=(std::u16string_view text);
  WideString& operator+=(const WideString& text);
  WideString& operator+=(const char16_t* text);
  WideString& operator+=(char16_t ch);

  friend WideString operator+(const WideString& a, const WideString& b);
  friend WideString operator+(const WideString& a, const char16_t* b);
  friend WideString operator+(const char16_t* a, const WideString& b);
  friend bool operator==(const WideString& a, const WideString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const WideString& a, const char16_t* b) { return a.m_text == b; }

 private:
  std::u16string m_text;
};

// Lowers one UTF-16 unit the way the C runtime's towlower does for the Latin, Greek and Cyrillic
// letters (other units come back unchanged).
char16_t LowerChar(char16_t ch);

// For test failure messages.
void PrintTo(const WideString& text, std::ostream* os);

// UTF-8 of a WideString (for tests and messages).
std::string ToUtf8(std::u16string_view text);
// WideString from UTF-8 text.
WideString FromUtf8(std::string_view text);
