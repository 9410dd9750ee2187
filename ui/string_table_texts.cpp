// SPDX-License-Identifier: MIT
#include "ui/string_table_texts.h"

#include <QCoreApplication>

#include "ui/ui_strings.h"

namespace {

// The texts of the string table that the desktop tool shows, marked for the translation tools
// (lupdate finds them here).
[[maybe_unused]] constexpr const char* kShown[] = {
    QT_TRANSLATE_NOOP("StringTable", "Exit the application"),
    QT_TRANSLATE_NOOP("StringTable", "&About VELMAR\u00AE 2 TMX..."),
    QT_TRANSLATE_NOOP("StringTable", "Idle"),
    QT_TRANSLATE_NOOP("StringTable", "Path to a VELMAR\u00AE Vovuzaduz text format file"),
    QT_TRANSLATE_NOOP("StringTable", "Browse for a VELMAR\u00AE Vovuzaduz file"),
    QT_TRANSLATE_NOOP("StringTable", "Path to a TMX file to create"),
    QT_TRANSLATE_NOOP("StringTable", "Specify the TMX file to create"),
    QT_TRANSLATE_NOOP("StringTable", "Export the VELMAR\u00AE Vovuzaduz file to TMX format"),
    QT_TRANSLATE_NOOP("StringTable", "About VELMAR\u00AE 2 TMX..."),
    QT_TRANSLATE_NOOP("StringTable", "Source language of the TMX file"),
    QT_TRANSLATE_NOOP("StringTable", "Target language of the TMX file"),
    QT_TRANSLATE_NOOP("StringTable", "Source encoding of the TMX file"),
    QT_TRANSLATE_NOOP("StringTable", "Target encoding of the TMX file"),
    QT_TRANSLATE_NOOP("StringTable",
                      "Analyse the VELMAR\u00AE Vovuzaduz file for source and target languages"),
    QT_TRANSLATE_NOOP("StringTable", "Are you sure you want to exit?"),
    QT_TRANSLATE_NOOP("StringTable", "Please specify a VELMAR\u00AE Vovuzaduz text file"),
    QT_TRANSLATE_NOOP("StringTable", "Please specify a TMX file to create"),
    QT_TRANSLATE_NOOP("StringTable", "VELMAR\u00AE export files|*.txt|All files|*.*||"),
    QT_TRANSLATE_NOOP("StringTable", "TMX files|*.tmx|All files|*.*||"),
    QT_TRANSLATE_NOOP("StringTable", "Exporting..."),
};

}  // namespace

QString UiText(int id) {
  return UiText(LoadUiText(id));
}

QString UiText(const std::string& text) {
  return QCoreApplication::translate("StringTable", text.c_str());
}
