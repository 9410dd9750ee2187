// SPDX-License-Identifier: MIT
#include "bench/corpus_file.h"

#include <cstdio>
#include <vector>

#include "bench/corpus_languages.h"
#include "bench/corpus_random.h"
#include "bench/corpus_segments.h"
#include "bench/rtf_segments.h"

namespace {

struct StyleSheetVariant {
  const char* internalLine;  // nullptr: no such line
  const char* dntLine;
  const char* internal;  // the codes the segments use
  const char* doNotTranslate;
};

const StyleSheetVariant kStyleSheets[] = {
    {nullptr, nullptr, "\\cs6", "\\cs8"},
    {"{\\St \\cs6 {\\StB \\v\\f1\\fs24\\sub\\cf12 }{\\StN korvexInternal}}",
     "{\\St \\cs8 {\\StB \\cf6\\f1\\lang1024 }{\\StN DO_NOT_TRANSLATE}}}", "\\cs6", "\\cs8"},
    {"{\\St \\cs1 {\\StN korvexInternal}}", "{\\St \\cs2 {\\StN DO_NOT_TRANSLATE}}}", "\\cs1",
     "\\cs2"},
    {"{\\St \\cs12 {\\StN korvexInternal}}", "{\\St \\cs15 {\\StN DO_NOT_TRANSLATE}}}", "\\cs12",
     "\\cs15"},
    {"{\\St \\cs3{\\StN korvexInternal}}", "{\\St \\cs4{\\StN DO_NOT_TRANSLATE}}}", "\\cs6",
     "\\cs8"},
    {"{\\St \\s5 {\\StN korvexInternal}}", nullptr, "\\cs6", "\\cs9"},
};

class FileBuilder {
 public:
  FileBuilder(uint64_t seed, uint64_t index)
      : m_rng(seed * 0x100000001B3ull ^ (index + 1) * 0x9E3779B97F4A7C15ull) {}

  CorpusFile Build();

 private:
  void Line(const std::string& text) { m_file.text += text + m_lineEnd; }
  void ChooseLanguages();
  void ChooseArgs();
  void StyleSheet();
  void Unit();
  void Fields();
  void Field(const char* tag);
  void Segments();
  void Noise();
  std::string Date();
  std::string FieldValue();
  std::string Segment(const CorpusLanguage& language, const CorpusRandom& layout);
  const char* CodeForm(const CorpusLanguage& language);

  CorpusRandom m_rng;
  CorpusFile m_file;
  std::string m_lineEnd;
  const CorpusLanguage* m_source = nullptr;
  const CorpusLanguage* m_target = nullptr;
  const CorpusLanguage* m_third = nullptr;
  const StyleSheetVariant* m_sheet = nullptr;
  CorpusStyles m_styles;
  bool m_heavy = false;
  bool m_dntInUnits = false;
};

CorpusFile FileBuilder::Build() {
  m_lineEnd = m_rng.Chance(60) ? "\r\n" : "\n";
  m_heavy = m_rng.OneIn(2);
  ChooseLanguages();
  ChooseArgs();
  StyleSheet();
  const unsigned size = m_rng.Below(10);
  const unsigned units = size < 6   ? 1 + m_rng.Below(30)
                         : size < 9 ? 30 + m_rng.Below(120)
                                    : 150 + m_rng.Below(150);
  for (unsigned i = 0; i < units; ++i) {
    if (m_rng.OneIn(30)) Noise();
    Unit();
  }
  if (m_rng.OneIn(5)) m_file.text.resize(m_file.text.size() - m_lineEnd.size());
  return std::move(m_file);
}

void FileBuilder::ChooseLanguages() {
  const auto count = static_cast<unsigned>(CorpusLanguageCount());
  const CorpusLanguage* languages = CorpusLanguages();
  m_source = &languages[m_rng.OneIn(2) ? 0 : m_rng.Below(count)];
  do {
    m_target = &languages[m_rng.Below(count)];
  } while (m_target == m_source);
  m_third = &languages[m_rng.Below(count)];
  if (m_third == m_source || m_third == m_target) m_third = nullptr;
}

const char* FileBuilder::CodeForm(const CorpusLanguage& language) {
  unsigned forms = 1;
  while (forms < 4 && language.codes[forms]) ++forms;
  return m_rng.Chance(60) ? language.codes[0] : language.codes[m_rng.Below(forms)];
}

void FileBuilder::ChooseArgs() {
  const bool utf8 = m_source->codePage == 65001 || m_target->codePage == 65001;
  std::string& args = m_file.args;
  if (utf8 || m_rng.Chance(30)) {
    const bool reverse = m_rng.OneIn(8);
    args += std::string("-s ") + CodeForm(reverse ? *m_target : *m_source);
    args += std::string(" -t ") + CodeForm(reverse ? *m_source : *m_target);
    if (reverse) std::swap(m_source, m_target);
  }
  if (m_source->codePage == 65001) args += " --source-codepage 65001";
  if (m_target->codePage == 65001) args += " --target-codepage 65001";
  if (!utf8 && m_rng.OneIn(12))
    args += m_rng.OneIn(2) ? " --target-codepage 1250" : " --source-codepage 1251";
  if (!args.empty() && args[0] == ' ') args.erase(0, 1);
}

void FileBuilder::StyleSheet() {
  m_sheet = &m_rng.Pick(kStyleSheets);
  const bool matching = m_rng.Chance(85);
  m_styles.internal = matching ? m_sheet->internal : "\\cs6";
  m_styles.doNotTranslate = matching ? m_sheet->doNotTranslate : "\\cs8";
  if (!m_sheet->internalLine && !m_sheet->dntLine) return;
  Line("<RTF Preamble>");
  Line("<FontTable>");
  Line("{\\fonttbl");
  Line("{\\f1 \\fmodern\\fprq1 \\fcharset0 Courier New;}}");
  Line("<StyleSheet>");
  Line("{\\stylesheet");
  Line("{\\St \\s0 {\\StN Normal}}");
  if (m_sheet->internalLine) Line(m_sheet->internalLine);
  m_dntInUnits = !m_sheet->dntLine || m_rng.OneIn(6);
  if (!m_dntInUnits) Line(m_sheet->dntLine);
  Line("</RTF Preamble>");
}

void FileBuilder::Noise() {
  static const char* const kNoise[] = {"<Foo>bar",     "<Seg>no language",
                                       "plain line",   "",
                                       "<>",           "<Txt L=Outside>field before its unit",
                                       "<CrU>EARLY",   "<TrUnit>",
                                       "</TrU>",       "<Seg L=EN-US>outside",
                                       "< Seg L=DE>x", "<ChD>01012001"};
  Line(m_rng.Pick(kNoise));
}

void FileBuilder::Unit() {
  Line(m_rng.OneIn(40) ? "<TrU (copy)>" : "<TrU>");
  const bool fieldsFirst = m_rng.Chance(80);
  if (fieldsFirst) Fields();
  Segments();
  if (!fieldsFirst) Fields();
  if (m_dntInUnits && m_rng.OneIn(20)) {
    Line("<Txt L=Style>{\\St " + m_styles.doNotTranslate + " {\\StN DO_NOT_TRANSLATE}}");
  }
  Line("</TrU>");
}

void FileBuilder::Fields() {
  static const char* const kTags[] = {"CrD", "CrU", "ChD", "ChU", "UsD", "UsC", "Att", "Txt"};
  for (const char* tag : kTags) {
    if (!m_rng.Chance(45)) continue;
    Field(tag);
    if (m_rng.OneIn(8)) Field(tag);  // repeated
  }
}

void FileBuilder::Field(const char* tag) {
  static const char* const kAttNames[] = {"Client", "Project", "Subject Area", "A&B", "x\"y",
                                          "<Name>", ""};
  static const char* const kTxtNames[] = {"Note", "Context", "Q&A", "say \"hi\"", "T\tab"};
  const std::string name = tag;
  if (name == "CrD" || name == "ChD" || name == "UsD") {
    Line("<" + name + ">" + Date());
  } else if (name == "UsC") {
    Line("<UsC>" + (m_rng.OneIn(10) ? std::string("many") : std::to_string(m_rng.Below(500))));
  } else if (name == "Att") {
    std::string value = FieldValue();
    for (unsigned more = m_rng.Below(4); more > 0; --more) value += ", " + FieldValue();
    if (m_rng.OneIn(6)) value += ", ";
    if (m_rng.OneIn(12)) value.clear();
    Line(std::string("<Att L=") + m_rng.Pick(kAttNames) + ">" + value);
  } else if (name == "Txt") {
    Line(std::string("<Txt L=") + m_rng.Pick(kTxtNames) + ">" +
         (m_rng.OneIn(8) ? std::string() : FieldValue() + " " + FieldValue()));
  } else {
    Line("<" + name + ">" + FieldValue());
  }
}

std::string FileBuilder::Date() {
  static const char* const kOdd[] = {"31022004, 25:61:61",
                                     "00000000",
                                     "1234567",
                                     "29022004",
                                     "2902200410",
                                     "abcdefgh, ij:kl:mn",
                                     "99999999, 99:99:99",
                                     "01011900, 00:00:00",
                                     "31129999, 23:59:59",
                                     "",
                                     "0101197",
                                     "01/02/2003 10:11:12",
                                     "29022001, 10:00"};
  if (m_rng.OneIn(6)) return m_rng.Pick(kOdd);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02u%02u%04u, %02u:%02u:%02u", 1 + m_rng.Below(28),
                1 + m_rng.Below(12), 1990 + m_rng.Below(40), m_rng.Below(24), m_rng.Below(60),
                m_rng.Below(60));
  return buffer;
}

std::string FileBuilder::FieldValue() {
  static const char* const kSpecials[] = {"A & B", "<b>",    "\"quoted\"", "tab\there",
                                          "x > y", "'apos'", "]]>"};
  if (m_rng.OneIn(5)) return m_rng.Pick(kSpecials);
  std::string value;
  for (unsigned words = 1 + m_rng.Below(3); words > 0; --words) {
    if (!value.empty()) value += ' ';
    value += m_target->words[m_rng.Below(static_cast<unsigned>(m_target->wordCount))];
  }
  return value;
}

std::string FileBuilder::Segment(const CorpusLanguage& language, const CorpusRandom& layout) {
  if (m_heavy && language.codePage == 1252 && m_rng.OneIn(4)) {
    return MakeRtfHeavySegment(static_cast<unsigned>(m_rng.Below(1000)),
                               static_cast<int>(m_rng.Below(1000)));
  }
  return MakeCorpusSegment(layout, m_rng, language, m_styles, m_heavy || m_rng.OneIn(5));
}

void FileBuilder::Segments() {
  const CorpusRandom layout(m_rng.Next());
  const CorpusRandom otherLayout(m_rng.Next());
  const unsigned missing = m_rng.Below(12);  // 0: no source, 1: no target
  std::vector<std::string> lines;
  if (missing != 0) {
    lines.push_back(std::string("<Seg L=") + CodeForm(*m_source) + ">" +
                    Segment(*m_source, layout));
  }
  if (missing != 1) {
    const CorpusRandom& targetLayout = m_rng.Chance(85) ? layout : otherLayout;
    lines.push_back(std::string("<Seg L=") + CodeForm(*m_target) + ">" +
                    Segment(*m_target, targetLayout));
  }
  if (m_third && m_rng.OneIn(4)) {
    lines.push_back(std::string("<Seg L=") + CodeForm(*m_third) + ">" + Segment(*m_third, layout));
  }
  if (m_rng.OneIn(15)) {
    lines.push_back(std::string("<Seg L=") +
                    kOddLanguageCodes[m_rng.Below(static_cast<unsigned>(kOddLanguageCodeCount))] +
                    ">" + Segment(*m_source, layout));
  }
  if (!lines.empty() && m_rng.OneIn(20)) lines.push_back(lines.front());  // a later copy wins
  if (lines.size() > 1 && m_rng.OneIn(4)) std::swap(lines.front(), lines.back());
  for (const std::string& line : lines) Line(line);
}

}  // namespace

CorpusFile MakeCorpusFile(uint64_t seed, uint64_t index) {
  return FileBuilder(seed, index).Build();
}
