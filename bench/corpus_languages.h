// SPDX-License-Identifier: MIT
// The languages of the generated corpus: their code forms, code page and words in that page.
#pragma once

#include <cstddef>

struct CorpusLanguage {
  const char* codes[4];  // catalogue form first, then other forms a TXT file uses; nullptr ends
  int codePage;          // code page of the words; 65001 is UTF-8 text
  bool doubleByte;       // the words hold two-byte characters (whole characters only)
  const char* const* words;
  size_t wordCount;
};

const CorpusLanguage* CorpusLanguages();
size_t CorpusLanguageCount();

// Language codes that are no catalogue code in any form, or odd forms of one.
extern const char* const kOddLanguageCodes[];
extern const size_t kOddLanguageCodeCount;
