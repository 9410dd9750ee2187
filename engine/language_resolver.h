// SPDX-License-Identifier: MIT
// LanguageResolver: the language codes of a TXT file in every form they take (catalogue "EN-US",
// underscore "EN_US", three-letter "USE", repeated letters "SK-SK") mapped to the catalogue's
// codes through LookUpLanguage. Each converter (one a thread) has its own and looks each code up
// once: the export resolves every segment line's code.
#pragma once

#include <string>
#include <unordered_map>

#include "text/language_lookup.h"

class LanguageResolver {
 public:
  // The language of code and its code page, with where the code page comes from: a catalogue
  // code gives the language table's, a code in another form the alias code page the first time
  // and the code page the lists pick for its language from then on (the families' answer).
  LanguageAnswer Answer(const std::string& code) { return Known(code).answer; }
  // Maps code to the catalogue code (in place) and gives its code page; false when the code
  // names no language.
  bool Resolve(std::string& code, int& codePage);

  // Codes resolved in another form than the catalogue's, as received -> catalogue code.
  const std::unordered_map<std::string, std::string>& Resolved() const { return m_resolved; }
  // Takes code as resolved to catalogueCode (tests: a code that has no such form).
  void Keep(const std::string& code, const std::string& catalogueCode) {
    m_resolved[code] = catalogueCode;
    m_known.erase(code);
  }

 private:
  struct Resolution {
    LanguageAnswer answer;  // answer.source kNone: the code names no language
    std::string code;       // the catalogue code it resolves to
  };
  // This time's resolution of code; a code that names a language is remembered with its answer
  // for the next time.
  Resolution Known(const std::string& code);
  // Looks code up as a file writes it, or as the language kept for it; keeps a code found in
  // another form.
  Resolution LookUp(const std::string& code);

  std::unordered_map<std::string, std::string> m_resolved;
  std::unordered_map<std::string, Resolution> m_known;  // code as received -> its next answer
};
