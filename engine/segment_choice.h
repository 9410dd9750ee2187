// SPDX-License-Identifier: MIT
// Which segments of a unit become <tuv> elements: the source and the target segment, or with
// all languages the source and every other language of the unit, in the order of their first
// Seg lines. A language's last Seg line in the unit counts; an empty one means none.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/export_request.h"
#include "engine/txt_unit.h"

class LanguageResolver;

// A language as the TMX names it and as its segments are decoded.
struct OutputLanguage {
  std::string code;          // catalogue code
  std::u16string attribute;  // the code, escaped for an attribute
  int codePage = 0;
};

struct ChosenSegment {
  const TxtSegment* segment = nullptr;
  const OutputLanguage* language = nullptr;
};

class SegmentChoice {
 public:
  // resolver maps the codes of Seg lines to catalogue codes.
  SegmentChoice(LanguageResolver& resolver, const ExportRequest& request);

  enum class Skip { kNone, kNoSource, kNoTarget, kUnresolved };
  // Chooses the unit's segments; the reason when the unit is not to be written.
  Skip Choose(const TxtUnit& unit);

  const ChosenSegment& Source() const { return m_source; }
  // The segments after the source, in the order they are written.
  const std::vector<ChosenSegment>& Others() const { return m_others; }
  const OutputLanguage& SourceLanguage() const { return m_sourceLanguage; }
  // Every language after the source that a unit has held so far, in the order first met.
  const std::vector<const OutputLanguage*>& LanguagesMet() const { return m_met; }

  // What became of each Seg line of the last unit chosen from (by its index in the unit).
  enum class Fate : uint8_t {
    kChosen,    // the last of a chosen language: written unless empty
    kRepeated,  // a later Seg line of its language counts
    kUnknown,   // its code names no known language
    kOther,     // a language other than the chosen ones
  };
  const std::vector<Fate>& Fates() const { return m_fates; }
  // The language of each Seg line: its catalogue code, or the code as read when it has none.
  const std::vector<std::string>& Codes() const { return m_codes; }

 private:
  const OutputLanguage* LanguageOf(const std::string& code);
  void NoteOther(const TxtSegment& segment, const std::string& code);
  // Marks the Seg line that chosen held as replaced by a later one.
  void NoteRepeated(const ChosenSegment& chosen);

  LanguageResolver& m_resolver;
  const ExportRequest& m_request;
  OutputLanguage m_sourceLanguage;
  std::map<std::string, OutputLanguage> m_languages;  // every language met, by catalogue code
  std::vector<const OutputLanguage*> m_met;
  ChosenSegment m_source;
  std::vector<ChosenSegment> m_others;
  std::string m_code;                   // scratch: a Seg line's code during resolution
  const TxtSegment* m_first = nullptr;  // the unit's first Seg line
  std::vector<Fate> m_fates;
  std::vector<std::string> m_codes;
};
