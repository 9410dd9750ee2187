// SPDX-License-Identifier: MIT
// Language codes compared as they stand, until the catalogue resolves their other forms.
#include "engine/tmx_exporter.h"

bool CTmxExporter::ResolveLanguageCode(std::string& code, int& codePage) {
  if (code.empty()) return false;
  codePage = 1252;
  return true;
}

bool CTmxExporter::Analyse(const std::string& txtPath, LanguageList* list,
                           ProgressReporter* progressBar) {
  (void)txtPath;
  (void)list;
  (void)progressBar;
  return false;
}
