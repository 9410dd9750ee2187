// SPDX-License-Identifier: MIT
// The catalogue of selectable languages and of the code pages that carry their text.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct LanguageRecord {
  int stringId;                 // string resource of the display name
  const char* code;             // catalogue code, e.g. "EN-US"
  unsigned ansiCodePage;        // code page of the language's text
  const char* vovuzaduzCode;    // underscore form in TXT files, e.g. "EN_US"; may be empty
  const char* threeLetterCode;  // e.g. "USE"; may be empty
  unsigned aliasCodePage;  // code page of a code read in another form; 0: the language has none
};

// Code page families (mask bits).
inline constexpr unsigned char kFamilyWindows = 1;
inline constexpr unsigned char kFamilyDos = 2;
inline constexpr unsigned char kFamilyIso = 4;

struct CodePageRecord {
  std::string displayName;
  unsigned codePage = 0;
  std::string charsetName;
  std::string aliases[10];
  unsigned char gdiCharset = 0;
  std::string languages;  // catalogue codes separated by single spaces
  unsigned char family = 0;
  int displayStringId = 0;
};

// The 149 selectable languages in their stored order.
std::span<const LanguageRecord> LanguageTable();
// The record of the language table whose code equals code exactly, or nullptr.
const LanguageRecord* FindLanguageRecord(std::string_view code);

// The code page catalogue, sorted by code page. It is built on first use and never changes
// afterwards: any thread may read it, and the records stay valid until the program ends.
std::span<const CodePageRecord> CodePageCatalogue();

// Code page of a language for a family mask (0 if none); displayName (may be null) receives the
// chosen record's display name. The code page a language is taken in is LookUpLanguage's
// (language_lookup.h), which asks this for the families.
unsigned ResolveCodePage(std::string_view languageCode, unsigned char familyMask,
                         std::string* displayName);
// Display name of the first catalogue record with the code page, or "".
std::string CodePageName(unsigned codePage);
// Display name of a catalogue language, or the code itself when the table has none.
std::string LanguageDisplayName(std::string_view code);
// The code of the first language of the table whose display name equals name (ASCII letters
// compared without case), or "". A list sorted by name shows this one first among its namesakes.
std::string LanguageCodeOfName(std::string_view name);
