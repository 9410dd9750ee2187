// SPDX-License-Identifier: MIT
// Look-ups in the language table.
#include "text/language_catalogue.h"

#include <algorithm>
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

namespace {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const auto fold = [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

std::string LanguageCodeOfName(std::string_view name) {
  for (const LanguageRecord& record : LanguageTable()) {
    if (EqualIgnoringAsciiCase(LoadStringText(record.stringId), name)) return record.code;
  }
  return {};
}

int PickedCodePage(std::string_view code) {
  for (const unsigned char mask : {kFamilyWindows, kFamilyDos, kFamilyIso}) {
    if (const unsigned resolved = ResolveCodePage(code, mask, nullptr); resolved != 0) {
      return static_cast<int>(resolved);
    }
  }
  return 0;
}

int ListedCodePage(std::string_view code) {
  const std::string picked = LanguageCodeOfName(LanguageDisplayName(code));
  return picked.empty() ? 0 : PickedCodePage(picked);
}
