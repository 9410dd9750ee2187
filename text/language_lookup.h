// SPDX-License-Identifier: MIT
// The one way from a language code to its language and the code page its text is taken in.
// The catalogue knows a language's code page from three sources that differ for some languages
// (the language table, the code's other forms, the code page families); the answer says which
// one it took.
#pragma once

#include <string_view>

#include "text/language_catalogue.h"

// Where the code page of an answer comes from.
enum class CodePageSource : unsigned char {
  kNone,       // no code page (0): the code names no language, or no family gives one
  kCatalogue,  // the language table's code page (LanguageRecord::ansiCodePage)
  kAlias,      // the code page of the language's other forms (LanguageRecord::aliasCodePage)
  kFamily,     // the first code page that the Windows, then the DOS, then the ISO family gives
};

// What the code is.
enum class LanguageQuery : unsigned char {
  // A code as a TXT file writes it: the catalogue's own form ("EN-US") gives the language
  // table's code page; the Vovuzaduz form ("DE_DE", also written "DE-DE"), the three-letter form
  // ("GER") and repeated letters ("SK-SK", "SK_SK") give the alias code page. Exact and
  // case-sensitive.
  kFileCode,
  // A language as the lists pick it: a catalogue code, or a display name (ASCII letters without
  // case); the code page comes from the families, which give one for other text too (as a code:
  // its prefix or their fallback), with no language.
  kPicked,
};

struct LanguageAnswer {
  const LanguageRecord* language = nullptr;  // nullptr when the code names no language
  int codePage = 0;
  CodePageSource source = CodePageSource::kNone;
};

// The language code names and its code page. Each step is a hash look-up (kPicked: for a
// catalogue code), so the export may ask for every segment line; any thread may ask.
LanguageAnswer LookUpLanguage(std::string_view code, LanguageQuery query);
