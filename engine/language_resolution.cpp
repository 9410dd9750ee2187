// SPDX-License-Identifier: MIT
// Language-code resolution. Export calls it for every segment line, so each step is a hash
// look-up.
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/language_aliases.h"
#include "engine/language_resolver.h"
#include "engine/tmx_exporter.h"
#include "text/language_catalogue.h"

namespace {

using AliasIndex = std::unordered_map<std::string_view, const LanguageAlias*>;

// Vovuzaduz and three-letter codes -> the first alias row holding the code in either column.
const AliasIndex& AliasByOtherCode() {
  static const AliasIndex index = [] {
    AliasIndex map;
    for (const LanguageAlias& row : LanguageAliasTable()) {
      // emplace keeps an earlier row: the table is searched in order.
      if (*row.vovuzaduzCode) map.emplace(row.vovuzaduzCode, &row);
      if (*row.threeLetterCode) map.emplace(row.threeLetterCode, &row);
    }
    return map;
  }();
  return index;
}

// Catalogue codes -> the first alias row of the code.
const AliasIndex& AliasByCatalogueCode() {
  static const AliasIndex index = [] {
    AliasIndex map;
    for (const LanguageAlias& row : LanguageAliasTable()) map.emplace(row.catalogueCode, &row);
    return map;
  }();
  return index;
}

const LanguageAlias* Find(const AliasIndex& index, std::string_view key) {
  const auto it = index.find(key);
  return it == index.end() ? nullptr : it->second;
}

// "SK-SK", "DA_DA": two letters, a separator and the same two letters again.
bool IsRepeatedLetters(std::string_view code) {
  return code.size() == 5 && (code[2] == '-' || code[2] == '_') &&
         code.substr(3) == code.substr(0, 2);
}

}  // namespace

bool LanguageResolver::Resolve(std::string& code, int& codePage) {
  // An empty L value names no language (it would otherwise meet the empty cells of the alias
  // table).
  if (code.empty()) return false;

  // 1. A catalogue code stands for itself.
  if (const LanguageRecord* record = FindLanguageRecord(code)) {
    codePage = static_cast<int>(record->ansiCodePage);
    return true;
  }

  // 2. Resolved before by this converter.
  if (const auto cached = m_resolved.find(code); cached != m_resolved.end()) {
    code = cached->second;
    codePage = static_cast<int>(ResolveCodePage(code, kFamilyWindows, nullptr));
    return true;
  }

  // 3. "EN-US" is looked up as "EN_US".
  std::string key = code;
  if (key.size() >= 3 && key[2] == '-') key[2] = '_';

  // 4. The Vovuzaduz or three-letter form; 5. repeated letters.
  const LanguageAlias* row = Find(AliasByOtherCode(), key);
  if (!row && IsRepeatedLetters(code)) {
    row = Find(AliasByCatalogueCode(), std::string_view(code).substr(0, 2));
  }
  if (!row) return false;
  m_resolved.emplace(code, row->catalogueCode);
  code = row->catalogueCode;
  codePage = row->codePage;
  return true;
}

bool CTmxExporter::ResolveLanguageCode(std::string& code, int& codePage) {
  return m_languageResolver.Resolve(code, codePage);
}
