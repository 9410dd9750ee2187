// SPDX-License-Identifier: MIT
#include "engine/segment_choice.h"

#include <algorithm>

#include "engine/language_resolver.h"
#include "text/code_page.h"
#include "text/language_lookup.h"
#include "text/xml_escape.h"

namespace {

OutputLanguage MakeLanguage(const std::string& code, int codePage) {
  OutputLanguage language;
  language.code = code;
  AppendXmlAttribute(language.attribute, Decode(kCodePageAnsi, code));
  language.codePage = codePage;
  return language;
}

}  // namespace

SegmentChoice::SegmentChoice(LanguageResolver& resolver, const ExportRequest& request)
    : m_resolver(resolver), m_request(request) {
  m_sourceLanguage = MakeLanguage(request.sourceCode, request.sourceCodePage);
  if (!request.allLanguages) {
    const OutputLanguage& target = m_languages[request.targetCode] =
        MakeLanguage(request.targetCode, request.targetCodePage);
    m_met.push_back(&target);
  }
}

SegmentChoice::Skip SegmentChoice::Choose(const TxtUnit& unit) {
  m_source = {};
  m_others.clear();
  m_first = unit.segments.data();
  m_fates.resize(unit.segmentCount);
  if (m_codes.size() < unit.segmentCount) m_codes.resize(unit.segmentCount);
  bool unresolved = false;
  for (size_t i = 0; i < unit.segmentCount; ++i) {
    const TxtSegment& segment = unit.segments[i];
    m_code = segment.code;
    int codePage = 0;
    m_fates[i] = Fate::kChosen;
    if (!m_resolver.Resolve(m_code, codePage)) {
      unresolved = true;
      m_fates[i] = Fate::kUnknown;
    } else if (m_code == m_request.sourceCode) {
      if (m_source.segment) NoteRepeated(m_source);
      m_source = {&segment, &m_sourceLanguage};
    } else if (m_request.allLanguages || m_code == m_request.targetCode) {
      NoteOther(segment, m_code);
    } else {
      m_fates[i] = Fate::kOther;
    }
    m_codes[i].assign(m_fates[i] == Fate::kUnknown ? segment.code : m_code);
  }
  std::erase_if(m_others, [](const ChosenSegment& c) { return c.segment->text.empty(); });
  if (!m_source.segment || m_source.segment->text.empty()) {
    return unresolved ? Skip::kUnresolved : Skip::kNoSource;
  }
  if (m_others.empty()) return unresolved ? Skip::kUnresolved : Skip::kNoTarget;
  return Skip::kNone;
}

void SegmentChoice::NoteRepeated(const ChosenSegment& chosen) {
  m_fates[static_cast<size_t>(chosen.segment - m_first)] = Fate::kRepeated;
}

void SegmentChoice::NoteOther(const TxtSegment& segment, const std::string& code) {
  for (ChosenSegment& other : m_others) {
    if (other.language->code == code) {
      NoteRepeated(other);
      other.segment = &segment;
      return;
    }
  }
  m_others.push_back({&segment, LanguageOf(code)});
}

// The language of a catalogue code, made when first met: its code page is the one the request
// gives for it, or the one the language lists pick.
const OutputLanguage* SegmentChoice::LanguageOf(const std::string& code) {
  const auto found = m_languages.find(code);
  if (found != m_languages.end()) return &found->second;
  const auto given = m_request.codePages.find(code);
  const int codePage = given != m_request.codePages.end()
                           ? given->second
                           : LookUpLanguage(code, LanguageQuery::kPicked).codePage;
  const OutputLanguage& language = m_languages[code] = MakeLanguage(code, codePage);
  m_met.push_back(&language);
  return &language;
}
