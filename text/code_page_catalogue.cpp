// SPDX-License-Identifier: MIT
// The process-wide code page catalogue and the operations that read it. It is built once, on
// first use, and never changes afterwards, so any thread may read it.
#include "text/code_page_catalogue.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "text/code_page_table.h"
#include "text/string_table.h"

namespace {

struct Catalogue {
  std::vector<CodePageRecord> records;
  // The language list of each record split at its blanks (views into records[i].languages).
  std::vector<std::vector<std::string_view>> tokens;
  // The answers for the language table's codes and the single families, worked out once: the
  // export asks for them on every segment line.
  std::unordered_map<std::string_view, std::array<const CodePageRecord*, 3>> byLanguage;
};

std::vector<std::string_view> SplitAtBlanks(std::string_view text) {
  std::vector<std::string_view> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t blank = text.find(' ', pos);
    if (blank == std::string_view::npos) blank = text.size();
    if (blank > pos) out.push_back(text.substr(pos, blank - pos));
    pos = blank + 1;
  }
  return out;
}

// The display name of a record as the catalogue shows it: the string resource's text when the
// record names one.
void TakeDisplayString(CodePageRecord& record) {
  if (record.displayStringId != 0) record.displayName = LoadStringText(record.displayStringId);
}

// The record for a language: a list holding the whole code, else one holding its two-letter
// prefix, else the last record of the family without languages; nullptr when there is none.
const CodePageRecord* Search(const Catalogue& catalogue, std::string_view languageCode,
                             unsigned char familyMask) {
  const size_t count = catalogue.records.size();
  const CodePageRecord* fallback = nullptr;
  auto pass = [&](std::string_view key) -> const CodePageRecord* {
    for (size_t i = 0; i < count; ++i) {
      const CodePageRecord& record = catalogue.records[i];
      if ((record.family & familyMask) == 0) continue;
      if (record.languages.empty()) {
        fallback = &record;
        continue;
      }
      for (std::string_view token : catalogue.tokens[i]) {
        if (token == key) return &record;
      }
    }
    return nullptr;
  };
  const CodePageRecord* result = pass(languageCode);
  if (!result) result = pass(languageCode.substr(0, 2));
  return result ? result : fallback;
}

constexpr unsigned char kSingleFamilies[3] = {kFamilyWindows, kFamilyDos, kFamilyIso};

// The records of the static table, sorted by code page, with their display strings.
std::vector<CodePageRecord> StaticRecords() {
  std::vector<CodePageRecord> list;
  for (const StaticCodePage& s : StaticCodePageTable()) {
    CodePageRecord record;
    record.displayName = s.displayName;
    record.codePage = s.codePage;
    record.languages = s.languages;
    record.family = s.family;
    record.displayStringId = s.displayStringId;
    TakeDisplayString(record);
    InsertFirstOfCodePage(list, std::move(record));
  }
  return list;
}

// Builds the catalogue in place: tokens and byLanguage point into the records.
void Build(Catalogue& catalogue) {
  catalogue.records = StaticRecords();
  catalogue.tokens.reserve(catalogue.records.size());
  for (const CodePageRecord& record : catalogue.records) {
    catalogue.tokens.push_back(SplitAtBlanks(record.languages));
  }
  for (const LanguageRecord& language : LanguageTable()) {
    std::array<const CodePageRecord*, 3> answers{};
    for (size_t f = 0; f < answers.size(); ++f) {
      answers[f] = Search(catalogue, language.code, kSingleFamilies[f]);
    }
    catalogue.byLanguage.emplace(language.code, answers);
  }
}

// The catalogue, built on first use; the initialisation of a function-local static is
// thread-safe, and nothing changes it afterwards.
const Catalogue& Built() {
  static const Catalogue catalogue = [] {
    Catalogue c;
    Build(c);
    return c;
  }();
  return catalogue;
}

}  // namespace

void InsertFirstOfCodePage(std::vector<CodePageRecord>& list, CodePageRecord record) {
  const auto at = std::lower_bound(
      list.begin(), list.end(), record.codePage,
      [](const CodePageRecord& r, unsigned codePage) { return r.codePage < codePage; });
  if (at != list.end() && at->codePage == record.codePage) return;
  list.insert(at, std::move(record));
}

std::span<const CodePageRecord> CodePageCatalogue() {
  return Built().records;
}

unsigned ResolveCodePage(std::string_view languageCode, unsigned char familyMask,
                         std::string* displayName) {
  const Catalogue& catalogue = Built();
  const CodePageRecord* result = nullptr;
  const auto* family =
      std::find(std::begin(kSingleFamilies), std::end(kSingleFamilies), familyMask);
  const auto known = catalogue.byLanguage.find(languageCode);
  if (family != std::end(kSingleFamilies) && known != catalogue.byLanguage.end()) {
    result = known->second[static_cast<size_t>(family - std::begin(kSingleFamilies))];
  } else {
    result = Search(catalogue, languageCode, familyMask);
  }
  if (displayName) {
    if (result)
      *displayName = result->displayName;
    else
      displayName->clear();
  }
  return result ? result->codePage : 0;
}

std::string CodePageName(unsigned codePage) {
  for (const CodePageRecord& record : Built().records) {
    if (record.codePage == codePage) return record.displayName;
  }
  return {};
}
