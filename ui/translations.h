// SPDX-License-Identifier: MIT
// The user's language: the tool's own translations (German, French, Spanish, Japanese, built
// into the program) and Qt's (Yes/No, the file dialogs), chosen by the system locale.
#pragma once

#include <QLocale>

// Loads both translations for the locale into the running application; English needs none.
// Returns true when the tool's own translation for the locale was found.
bool InstallTranslations(const QLocale& locale);
