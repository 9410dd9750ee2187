// SPDX-License-Identifier: MIT
// The language table indexed by every form of its codes, with the code page each language is
// picked in worked out once.
#include "text/language_lookup.h"

#include <string>
#include <unordered_map>

namespace {

struct Language {
  const LanguageRecord* record = nullptr;
  int picked = 0;  // the code page of the first family that gives one
};

struct LanguageIndex {
  // Catalogue code -> its language.
  std::unordered_map<std::string_view, Language> byCode;
  // Vovuzaduz and three-letter codes -> the language they stand for.
  std::unordered_map<std::string_view, const LanguageRecord*> byOtherForm;
};

int PickedCodePage(std::string_view code) {
  for (const unsigned char mask : {kFamilyWindows, kFamilyDos, kFamilyIso}) {
    if (const unsigned codePage = ResolveCodePage(code, mask, nullptr); codePage != 0) {
      return static_cast<int>(codePage);
    }
  }
  return 0;
}

// Built on first use; the initialisation of a function-local static is thread-safe, and nothing
// changes the index afterwards.
const LanguageIndex& Index() {
  static const LanguageIndex index = [] {
    LanguageIndex built;
    for (const LanguageRecord& record : LanguageTable()) {
      built.byCode.emplace(record.code, Language{&record, PickedCodePage(record.code)});
      if (*record.vovuzaduzCode) built.byOtherForm.emplace(record.vovuzaduzCode, &record);
      if (*record.threeLetterCode) built.byOtherForm.emplace(record.threeLetterCode, &record);
    }
    return built;
  }();
  return index;
}

const Language* FindLanguage(std::string_view code) {
  const auto& byCode = Index().byCode;
  const auto it = byCode.find(code);
  return it == byCode.end() ? nullptr : &it->second;
}

// "SK-SK", "DA_DA": two letters, a separator and the same two letters again.
bool IsRepeatedLetters(std::string_view code) {
  return code.size() == 5 && (code[2] == '-' || code[2] == '_') &&
         code.substr(3) == code.substr(0, 2);
}

// The language of a code in another form than the catalogue's, or nullptr.
const LanguageRecord* FindOtherForm(std::string_view code) {
  // "EN-US" is looked up as "EN_US".
  std::string key(code);
  if (key.size() >= 3 && key[2] == '-') key[2] = '_';
  const auto& byOtherForm = Index().byOtherForm;
  if (const auto it = byOtherForm.find(key); it != byOtherForm.end()) return it->second;
  if (!IsRepeatedLetters(code)) return nullptr;
  const Language* language = FindLanguage(code.substr(0, 2));
  // Only a language with other forms is written with repeated letters.
  return language && language->record->aliasCodePage != 0 ? language->record : nullptr;
}

LanguageAnswer FileCodeAnswer(std::string_view code) {
  // An empty code names no language (the empty cells of the other forms are no codes).
  if (code.empty()) return {};
  if (const Language* language = FindLanguage(code)) {
    const LanguageRecord* record = language->record;
    return {record, static_cast<int>(record->ansiCodePage), CodePageSource::kCatalogue};
  }
  if (const LanguageRecord* record = FindOtherForm(code)) {
    return {record, static_cast<int>(record->aliasCodePage), CodePageSource::kAlias};
  }
  return {};
}

LanguageAnswer PickedAnswer(std::string_view code) {
  const Language* language = FindLanguage(code);
  if (!language) {
    // A language is picked by its name too.
    const std::string named = LanguageCodeOfName(code);
    if (!named.empty()) language = FindLanguage(named);
  }
  if (language) return {language->record, language->picked, CodePageSource::kFamily};
  // Other text: what the families give for it as a code (their fallback, say).
  const int codePage = PickedCodePage(code);
  return {nullptr, codePage, codePage != 0 ? CodePageSource::kFamily : CodePageSource::kNone};
}

}  // namespace

const LanguageRecord* FindLanguageRecord(std::string_view code) {
  const Language* language = FindLanguage(code);
  return language ? language->record : nullptr;
}

LanguageAnswer LookUpLanguage(std::string_view code, LanguageQuery query) {
  return query == LanguageQuery::kFileCode ? FileCodeAnswer(code) : PickedAnswer(code);
}
