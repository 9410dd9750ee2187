// SPDX-License-Identifier: MIT
// Language-code resolution. Export calls it for every segment line, so each step is a hash
// look-up.
#include <string>

#include "engine/language_resolver.h"
#include "engine/tmx_exporter.h"
#include "text/language_catalogue.h"
#include "text/language_lookup.h"

const std::string* LanguageResolver::Kept(const std::string& code) const {
  // A catalogue code stands for itself and is never kept.
  if (m_resolved.empty() || FindLanguageRecord(code)) return nullptr;
  const auto kept = m_resolved.find(code);
  return kept == m_resolved.end() ? nullptr : &kept->second;
}

LanguageAnswer LanguageResolver::FileAnswer(const std::string& code) {
  const LanguageAnswer answer = LookUpLanguage(code, LanguageQuery::kFileCode);
  if (answer.source == CodePageSource::kAlias) m_resolved.emplace(code, answer.language->code);
  return answer;
}

LanguageAnswer LanguageResolver::Answer(const std::string& code) {
  const std::string* kept = Kept(code);
  return kept ? LookUpLanguage(*kept, LanguageQuery::kPicked) : FileAnswer(code);
}

bool LanguageResolver::Resolve(std::string& code, int& codePage) {
  if (const std::string* kept = Kept(code)) {
    codePage = LookUpLanguage(*kept, LanguageQuery::kPicked).codePage;
    code = *kept;
    return true;
  }
  const LanguageAnswer answer = FileAnswer(code);
  if (!answer.language) return false;
  if (answer.source == CodePageSource::kAlias) code = answer.language->code;
  codePage = answer.codePage;
  return true;
}

bool CTmxExporter::ResolveLanguageCode(std::string& code, int& codePage) {
  return m_languageResolver.Resolve(code, codePage);
}
