// SPDX-License-Identifier: MIT
// The display names of the language table.
#include "text/language_catalogue.h"

#include <algorithm>
#include <string>

#include "text/string_table.h"

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
