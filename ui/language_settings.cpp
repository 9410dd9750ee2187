// SPDX-License-Identifier: MIT
#include "ui/language_settings.h"

#include <QSettings>

LanguageSettings LoadLanguageSettings() {
  QSettings store;
  store.beginGroup(QLatin1String(kSettingsGroup));
  LanguageSettings settings;
  settings.sourceLang =
      store.value(QLatin1String(kSourceLangKey), QLatin1String(kDefaultSourceLang)).toString();
  settings.targetLang =
      store.value(QLatin1String(kTargetLangKey), QLatin1String(kDefaultTargetLang)).toString();
  return settings;
}

void SaveLanguageSettings(const LanguageSettings& settings) {
  QSettings store;
  store.beginGroup(QLatin1String(kSettingsGroup));
  store.setValue(QLatin1String(kSourceLangKey), settings.sourceLang);
  store.setValue(QLatin1String(kTargetLangKey), settings.targetLang);
  store.endGroup();
  store.sync();
}
