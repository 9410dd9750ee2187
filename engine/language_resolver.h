// SPDX-License-Identifier: MIT
// LanguageResolver: the language codes of a TXT file in every form they take (catalogue "EN-US",
// underscore "EN_US", three-letter "USE", repeated letters "SK-SK") mapped to the catalogue's
// codes. The codes found through the alias table are kept, so that each converter (one a
// thread) asks the table once for each code.
#pragma once

#include <string>
#include <unordered_map>

class LanguageResolver {
 public:
  // Maps code to the catalogue code (in place) and gives its code page; false when the code
  // names no language.
  bool Resolve(std::string& code, int& codePage);

  // Codes resolved through the alias table, as received -> catalogue code.
  const std::unordered_map<std::string, std::string>& Resolved() const { return m_resolved; }
  // Takes code as resolved to catalogueCode (tests: a code that the alias table lacks).
  void Keep(const std::string& code, const std::string& catalogueCode) {
    m_resolved[code] = catalogueCode;
  }

 private:
  std::unordered_map<std::string, std::string> m_resolved;
};
