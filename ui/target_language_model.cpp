// SPDX-License-Identifier: MIT
#include "ui/target_language_model.h"

bool IsAllLanguagesCode(std::string_view code) {
  return code == kAllLanguagesCode;
}

ComboModel TargetLanguageComboModel(std::string_view currentCode) {
  ComboModel model = LanguageComboModel(currentCode);
  model.items.insert(model.items.begin(), ComboItem{kAllLanguagesText, kAllLanguagesCode, 0});
  if (IsAllLanguagesCode(currentCode)) {
    model.selected = 0;
  } else if (model.selected >= 0) {
    ++model.selected;
  }
  return model;
}
