// SPDX-License-Identifier: MIT
// WideString: the UTF-16 string in which segment content, tag texts and TMX body text are held.
// Positions are clamped, searches answer -1 when they find nothing. Copies share their buffer
// until one of them changes (std::u16string backing, so appends are amortised).
#pragma once

#include <cstdarg>
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
  WideString(char16_t ch, int count);

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
  void Reserve(int capacity) { m_text.reserve(static_cast<size_t>(capacity)); }

  friend WideString operator+(const WideString& a, const WideString& b);
  friend WideString operator+(const WideString& a, const char16_t* b);
  friend WideString operator+(const char16_t* a, const WideString& b);
  friend bool operator==(const WideString& a, const WideString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const WideString& a, const char16_t* b) { return a.m_text == b; }

  // Characters from start to the end, or count characters from start (clamped).
  WideString Mid(int start) const;
  WideString Mid(int start, int count) const;
  WideString Left(int count) const;
  WideString Right(int count) const;

  // First occurrence from index 0, case-sensitive; -1 when there is none.
  int Find(std::u16string_view text) const;
  // First occurrence at or after start, compared case-insensitively; -1 when there is none.
  int Find(std::u16string_view text, int start) const;
  int Find(char16_t ch) const;

  // Replaces every occurrence, left to right without overlap; returns the number replaced.
  int Replace(std::u16string_view oldText, std::u16string_view newText);
  // Removes every occurrence of ch; returns the number removed.
  int Remove(char16_t ch);
  void MakeLower();

  // printf-style formatting with %d, %i, %ld (integers), %s (const char16_t*) and %%.
  void Format(const char16_t* format, ...);
  void FormatV(const char16_t* format, va_list args);

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
