// SPDX-License-Identifier: MIT
#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallTranslations(const QLocale& locale) {
  // Kept for the life of the application: the translators are owned by it.
  auto* qt = new QTranslator(QCoreApplication::instance());
  if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt);
  } else {
    delete qt;
  }
  auto* own = new QTranslator(QCoreApplication::instance());
  if (own->load(locale, QStringLiteral("velmar2tmx"), QStringLiteral("_"),
                QStringLiteral(":/velmar/i18n"))) {
    QCoreApplication::installTranslator(own);
    return true;
  }
  delete own;
  return false;
}
