// SPDX-License-Identifier: MIT
// The two per-user settings: the last source and target language code, in group "Settings" of
// the application's QSettings (organisation "Norvane", application "VELMAR® 2 TMX").
#pragma once

#include <QString>

struct LanguageSettings {
  QString sourceLang;
  QString targetLang;
};

inline constexpr char kSettingsGroup[] = "Settings";
inline constexpr char kSourceLangKey[] = "SourceLang";
inline constexpr char kTargetLangKey[] = "TargetLang";
inline constexpr char kDefaultSourceLang[] = "EN-US";
inline constexpr char kDefaultTargetLang[] = "FR";

// Absent values give the defaults; a stored empty value stays empty.
LanguageSettings LoadLanguageSettings();
// Failures to write are silent: the next start uses whatever is stored.
void SaveLanguageSettings(const LanguageSettings& settings);
