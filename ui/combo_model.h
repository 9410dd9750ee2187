// SPDX-License-Identifier: MIT
// What the desktop tool's language and encoding drop-down lists hold and which item is selected,
// without any toolkit: its widgets are bound to these models.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ComboItem {
  std::string text;       // shown text (display name)
  std::string code;       // language lists: the catalogue code
  unsigned codePage = 0;  // encoding lists: the code page
};

// Items in the order a sorted drop-down list shows them; selected is an index or -1.
struct ComboModel {
  std::vector<ComboItem> items;
  int selected = -1;
};

// Every catalogue language, sorted by display name; the item of currentCode's display name
// selected.
ComboModel LanguageComboModel(std::string_view currentCode);
// Every supported catalogue code page, sorted by display name; currentCodePage's name selected.
ComboModel EncodingComboModel(unsigned currentCodePage);
// Index of the item whose text equals text (whole text, case-insensitive), or -1.
int FindStringExact(const ComboModel& model, std::string_view text);
// The selected language's code and the code page it is picked in (LookUpLanguage); moves the
// encoding model's selection (if given) to that code page. Nothing selected: "" and 0.
void GetSelectedLanguage(const ComboModel& languages, ComboModel* encodings, std::string& code,
                         int& codePage);
