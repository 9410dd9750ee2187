// SPDX-License-Identifier: MIT
// Other forms of the catalogue's language codes found in Vovuzaduz TXT files.
#pragma once

#include <span>

struct LanguageAlias {
  const char* catalogueCode;    // code of the language table, e.g. "EN-US"
  const char* vovuzaduzCode;    // underscore form, e.g. "EN_US"; may be empty
  const char* threeLetterCode;  // e.g. "USE"; may be empty
  int codePage;                 // code page given for a code resolved through this row
};

// The 148 rows in the order in which they are searched.
std::span<const LanguageAlias> LanguageAliasTable();
