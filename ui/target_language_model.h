// SPDX-License-Identifier: MIT
// The Target list's items: an entry "(all languages)" at the top, which writes every language of
// each unit into one TMX, then every catalogue language. The Source list has no such entry.
#pragma once

#include <string_view>

#include "ui/combo_model.h"

// The entry's code in the dialog state and in the TargetLang setting; no catalogue code is "*".
inline constexpr char kAllLanguagesCode[] = "*";
inline constexpr char kAllLanguagesText[] = "(all languages)";

bool IsAllLanguagesCode(std::string_view code);

// The all-languages entry followed by LanguageComboModel's items; currentCode's item selected
// (the entry for kAllLanguagesCode).
ComboModel TargetLanguageComboModel(std::string_view currentCode);
