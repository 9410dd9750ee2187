// SPDX-License-Identifier: MIT
// Language-code resolution. Export calls it for every segment line, so a code met before is one
// hash look-up.
#include <string>
#include <utility>

#include "engine/language_resolver.h"
#include "engine/tmx_exporter.h"
#include "text/language_lookup.h"

LanguageResolver::Resolution LanguageResolver::LookUp(const std::string& code) {
  const LanguageAnswer answer = LookUpLanguage(code, LanguageQuery::kFileCode);
  // A catalogue code stands for itself and is never kept.
  if (answer.source == CodePageSource::kCatalogue) return {answer, code};
  // A code met before in another form is answered as the lists pick its language.
  if (const auto kept = m_resolved.find(code); kept != m_resolved.end()) {
    return {LookUpLanguage(kept->second, LanguageQuery::kPicked), kept->second};
  }
  if (!answer.language) return {};
  m_resolved.emplace(code, answer.language->code);
  return {answer, answer.language->code};
}

LanguageResolver::Resolution LanguageResolver::Known(const std::string& code) {
  if (const auto known = m_known.find(code); known != m_known.end()) return known->second;
  Resolution now = LookUp(code);
  if (now.answer.source == CodePageSource::kNone) return now;
  // From the next time on, a code in another form is answered from what was kept.
  Resolution next = now.answer.source == CodePageSource::kAlias ? LookUp(code) : now;
  m_known.emplace(code, std::move(next));
  return now;
}

bool LanguageResolver::Resolve(std::string& code, int& codePage) {
  if (const auto known = m_known.find(code); known != m_known.end()) {
    // The way of every segment line's code after the first: nothing copied but the code.
    code = known->second.code;
    codePage = known->second.answer.codePage;
    return true;
  }
  const Resolution now = Known(code);
  if (now.answer.source == CodePageSource::kNone) return false;
  code = now.code;
  codePage = now.answer.codePage;
  return true;
}

bool CTmxExporter::ResolveLanguageCode(std::string& code, int& codePage) {
  return m_languageResolver.Resolve(code, codePage);
}
