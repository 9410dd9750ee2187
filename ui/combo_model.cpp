// SPDX-License-Identifier: MIT
// The contents and selection of the language and encoding drop-down lists.
#include "ui/combo_model.h"

#include <algorithm>

#include "text/code_page.h"
#include "text/language_catalogue.h"
#include "text/language_lookup.h"
#include "text/string_table.h"

namespace {

unsigned char FoldCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// Case-insensitive order of a sorted drop-down list.
bool LessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(x) == FoldCase(y);
         });
}

void SortItems(std::vector<ComboItem>& items) {
  std::stable_sort(items.begin(), items.end(), [](const ComboItem& a, const ComboItem& b) {
    return LessIgnoringCase(a.text, b.text);
  });
}

}  // namespace

ComboModel LanguageComboModel(std::string_view currentCode) {
  ComboModel model;
  model.items.reserve(LanguageTable().size());
  for (const LanguageRecord& record : LanguageTable()) {
    ComboItem item;
    item.text = LoadStringText(record.stringId);
    item.code = record.code;
    model.items.push_back(std::move(item));
  }
  SortItems(model.items);
  model.selected = FindStringExact(model, LanguageDisplayName(currentCode));
  return model;
}

ComboModel EncodingComboModel(unsigned currentCodePage) {
  ComboModel model;
  for (const CodePageRecord& record : CodePageCatalogue()) {
    if (!IsSupportedCodePage(record.codePage)) continue;
    ComboItem item;
    item.text = record.displayName;
    item.codePage = record.codePage;
    model.items.push_back(std::move(item));
  }
  SortItems(model.items);
  model.selected = FindStringExact(model, CodePageName(currentCodePage));
  return model;
}

int FindStringExact(const ComboModel& model, std::string_view text) {
  for (size_t i = 0; i < model.items.size(); ++i) {
    if (EqualIgnoringCase(model.items[i].text, text)) return static_cast<int>(i);
  }
  return -1;
}

void GetSelectedLanguage(const ComboModel& languages, ComboModel* encodings, std::string& code,
                         int& codePage) {
  codePage = 0;
  code.clear();
  if (languages.selected < 0 || static_cast<size_t>(languages.selected) >= languages.items.size()) {
    return;
  }
  code = languages.items[static_cast<size_t>(languages.selected)].code;
  codePage = LookUpLanguage(code, LanguageQuery::kPicked).codePage;
  if (codePage == 0) return;
  if (encodings) {
    encodings->selected =
        FindStringExact(*encodings, CodePageName(static_cast<unsigned>(codePage)));
  }
}
