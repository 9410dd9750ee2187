// SPDX-License-Identifier: MIT
// LanguageResolver: the language codes of a TXT file in every form they take (catalogue "EN-US",
// underscore "EN_US", three-letter "USE", repeated letters "SK-SK") mapped to the catalogue's
// codes through LookUpLanguage. The codes found in another form than the catalogue's are kept,
// so that each converter (one a thread) looks each of them up once.
#pragma once

#include <string>
#include <unordered_map>

#include "text/language_lookup.h"

class LanguageResolver {
 public:
  // The language of code and its code page, with where the code page comes from: a catalogue
  // code gives the language table's, a code in another form the alias code page the first time
  // and the code page the lists pick for its language from then on (the families' answer).
  LanguageAnswer Answer(const std::string& code);
  // Maps code to the catalogue code (in place) and gives its code page; false when the code
  // names no language.
  bool Resolve(std::string& code, int& codePage);

  // Codes resolved in another form than the catalogue's, as received -> catalogue code.
  const std::unordered_map<std::string, std::string>& Resolved() const { return m_resolved; }
  // Takes code as resolved to catalogueCode (tests: a code that has no such form).
  void Keep(const std::string& code, const std::string& catalogueCode) {
    m_resolved[code] = catalogueCode;
  }

 private:
  // The catalogue code kept for code, or nullptr.
  const std::string* Kept(const std::string& code) const;
  // The answer for code as a file writes it; keeps a code found in another form.
  LanguageAnswer FileAnswer(const std::string& code);

  std::unordered_map<std::string, std::string> m_resolved;
};
