// SPDX-License-Identifier: MIT
// Look-ups in the language table.
#include "text/language_catalogue.h"

#include <string>
#include <unordered_map>

#include "text/string_table.h"

namespace {

// Catalogue code -> first record of the table with that code.
const std::unordered_map<std::string_view, const LanguageRecord*>& LanguageIndex() {
  static const auto index = [] {
    std::unordered_map<std::string_view, const LanguageRecord*> map;
    for (const LanguageRecord& record : LanguageTable()) map.emplace(record.code, &record);
    return map;
  }();
  return index;
}

}  // namespace

const LanguageRecord* FindLanguageRecord(std::string_view code) {
  const auto& index = LanguageIndex();
  const auto it = index.find(code);
  return it == index.end() ? nullptr : it->second;
}

std::string LanguageDisplayName(std::string_view code) {
  const LanguageRecord* record = FindLanguageRecord(code);
  if (record) {
    std::string name = LoadStringText(record->stringId);
    if (!name.empty()) return name;
  }
  return std::string(code);
}
