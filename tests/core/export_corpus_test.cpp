// SPDX-License-Identifier: MIT
// A generated corpus of varied TXT files (the generator of velmar-make-corpus) converted by the
// command line on several threads, for a pair of languages and for all of them: every document
// is read by a strict XML parser against the TMX 1.4 DTD and holds what every document must hold.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/valid.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "bench/corpus_file.h"
#include "tests/core/tmx_test_util.h"

namespace {

// The sanitizers make each conversion many times slower: a smaller share of the corpus then.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer) || __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr uint64_t kSeed = 20;
constexpr int kFiles = kSanitized ? 60 : 300;

// One inline element of a <seg>: its name, x and i (empty when absent) and its content.
struct Inline {
  std::string name, x, i, code;
};
struct Tuv {
  std::string lang;
  std::vector<Inline> elements;  // in document order
};
struct Tu {
  std::string tuid, srclang;
  std::vector<Tuv> tuvs;
};

std::string Attribute(xmlNodePtr node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (!value) return {};
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

// xml:lang lives in the XML namespace.
std::string Lang(xmlNodePtr node) {
  xmlChar* value = xmlNodeGetLang(node);
  if (!value) return {};
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::string Content(xmlNodePtr node) {
  xmlChar* value = xmlNodeGetContent(node);
  std::string text(value ? reinterpret_cast<const char*>(value) : "");
  xmlFree(value);
  return text;
}

bool Is(xmlNodePtr node, const char* name) {
  return node->type == XML_ELEMENT_NODE &&
         xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

Tuv ReadTuv(xmlNodePtr tuv) {
  Tuv result{Lang(tuv), {}};
  for (xmlNodePtr seg = tuv->children; seg; seg = seg->next) {
    if (!Is(seg, "seg")) continue;
    for (xmlNodePtr e = seg->children; e; e = e->next) {
      if (e->type != XML_ELEMENT_NODE) continue;
      result.elements.push_back({reinterpret_cast<const char*>(e->name), Attribute(e, "x"),
                                 Attribute(e, "i"), Content(e)});
    }
  }
  return result;
}

using DocPtr = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

// Parsed without recovery and without the network, then validated against the project's DTD.
::testing::AssertionResult ReadTmx(const std::string& path, std::vector<Tu>& units) {
  DocPtr doc(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR), xmlFreeDoc);
  if (!doc) return ::testing::AssertionFailure() << path << " is not well-formed XML";
  static const std::unique_ptr<xmlDtd, decltype(&xmlFreeDtd)> dtd(
      xmlParseDTD(nullptr, reinterpret_cast<const xmlChar*>(VELMAR_DTD_PATH)), xmlFreeDtd);
  if (!dtd) return ::testing::AssertionFailure() << "cannot read the DTD " << VELMAR_DTD_PATH;
  std::unique_ptr<xmlValidCtxt, decltype(&xmlFreeValidCtxt)> context(xmlNewValidCtxt(),
                                                                     xmlFreeValidCtxt);
  if (!xmlValidateDtd(context.get(), doc.get(), dtd.get())) {
    return ::testing::AssertionFailure() << path << " is not valid against the TMX 1.4 DTD";
  }
  xmlNodePtr body = xmlDocGetRootElement(doc.get())->children;
  while (body && !Is(body, "body")) body = body->next;
  for (xmlNodePtr tu = body ? body->children : nullptr; tu; tu = tu->next) {
    if (!Is(tu, "tu")) continue;
    Tu unit{Attribute(tu, "tuid"), Attribute(tu, "srclang"), {}};
    for (xmlNodePtr tuv = tu->children; tuv; tuv = tuv->next) {
      if (Is(tuv, "tuv")) unit.tuvs.push_back(ReadTuv(tuv));
    }
    units.push_back(std::move(unit));
  }
  return ::testing::AssertionSuccess();
}

// The i values of a segment: the n <bpt> elements number 1 to n in order, and each has exactly
// one <ept> of its i after it; no <ept> without one.
void CheckPairs(const Tuv& tuv, const std::string& where) {
  std::map<std::string, int> open;  // i of each <bpt> met: <ept> elements seen since
  int bpts = 0;
  for (const Inline& e : tuv.elements) {
    if (e.name == "bpt") {
      EXPECT_EQ(e.i, std::to_string(++bpts)) << where;
      open[e.i] = 0;
    } else if (e.name == "ept") {
      const auto it = open.find(e.i);
      ASSERT_NE(it, open.end()) << where << ": <ept i=\"" << e.i << "\"> before its <bpt>";
      EXPECT_EQ(++it->second, 1) << where << ": a second <ept i=\"" << e.i << "\">";
    }
  }
  for (const auto& [i, epts] : open) {
    EXPECT_EQ(epts, 1) << where << ": <bpt i=\"" << i << "\"> without its <ept>";
  }
}

// Every x of another language names an element of the source with that x and the same code, and
// no two of them name the same. The one exception: the source element may be missing, when the
// clean-up removed its placeholder at an end of the source segment after the target paired with
// its record.
void CheckLinks(const Tuv& source, const Tuv& other, const std::string& where) {
  std::multimap<std::string, std::string> sourceCodes;
  for (const Inline& e : source.elements) {
    if (!e.x.empty()) sourceCodes.emplace(e.x, e.code);
  }
  std::vector<std::string> taken;
  for (const Inline& e : other.elements) {
    if (e.x.empty()) continue;
    // A source element pairs with one element of each other language at most.
    EXPECT_EQ(std::find(taken.begin(), taken.end(), e.x), taken.end())
        << where << " (" << other.lang << "): x=" << e.x << " twice";
    taken.push_back(e.x);
    const auto [first, last] = sourceCodes.equal_range(e.x);
    if (first == last) continue;
    std::string codes;
    for (auto it = first; it != last; ++it) codes += " \"" + it->second + "\"";
    const bool same = std::any_of(first, last, [&](const auto& p) { return p.second == e.code; });
    EXPECT_TRUE(same) << where << " (" << other.lang << "): x=" << e.x << " with the code \""
                      << e.code << "\" names source elements of other code:" << codes;
  }
}

struct Mode {
  const char* name;
  bool allLanguages;
  const char* extra;  // further options
};

void PrintTo(const Mode& m, std::ostream* os) {
  *os << m.name;
}

// Command-line words for a corpus file: its options, made fit for all languages (the target
// language goes; its code page becomes --codepage CODE=N).
std::vector<std::string> Arguments(const std::string& options, const Mode& mode) {
  std::istringstream words(options);
  std::vector<std::string> args;
  std::string word, target, targetCodePage;
  while (words >> word) {
    if (mode.allLanguages && word == "-t") {
      words >> target;
    } else if (mode.allLanguages && word == "--target-codepage") {
      words >> targetCodePage;
    } else {
      args.push_back(word);
    }
  }
  if (mode.allLanguages) args.push_back("--all-languages");
  if (!target.empty() && !targetCodePage.empty()) {
    args.push_back("--codepage");
    args.push_back(target + "=" + targetCodePage);
  }
  std::istringstream extra(mode.extra);
  while (extra >> word) args.push_back(word);
  return args;
}

// The languages of the report, source first.
std::vector<std::string> ReportLanguages(const nlohmann::json& file) {
  std::vector<std::string> languages{file["source"]["language"].get<std::string>()};
  for (const auto& other : file["languages"]) languages.push_back(other["language"]);
  return languages;
}

// The source's <tuv> comes first; the others are languages of the report, each once (in a pair:
// the target). Every segment's i values pair up and every x of another language is linked.
void CheckUnit(const Tu& unit, const std::vector<std::string>& languages, bool allLanguages,
               const std::string& where) {
  ASSERT_GE(unit.tuvs.size(), 2u) << where;
  if (!allLanguages) {
    EXPECT_EQ(unit.tuvs.size(), 2u) << where;
    EXPECT_EQ(unit.tuvs[1].lang, languages.at(1)) << where;
  }
  EXPECT_EQ(unit.srclang, languages[0]) << where;
  EXPECT_EQ(unit.tuvs[0].lang, languages[0]) << where << ": the source comes first";
  std::vector<std::string> seen;
  for (size_t k = 0; k < unit.tuvs.size(); ++k) {
    const Tuv& tuv = unit.tuvs[k];
    EXPECT_NE(std::find(languages.begin(), languages.end(), tuv.lang), languages.end())
        << where << ": <tuv> " << k << " of " << tuv.lang << ", no language of the report";
    EXPECT_EQ(std::find(seen.begin(), seen.end(), tuv.lang), seen.end())
        << where << ": a second <tuv> of " << tuv.lang;
    seen.push_back(tuv.lang);
    CheckPairs(tuv, where + " " + tuv.lang);
    if (k > 0) CheckLinks(unit.tuvs[0], tuv, where);
  }
}

void CheckDocument(const std::string& tmx, const nlohmann::json& file, bool allLanguages,
                   const std::string& name) {
  const int64_t written = file["unitsWritten"];
  EXPECT_EQ(file["unitsRead"].get<int64_t>(),
            written + file["unitsSkipped"]["total"].get<int64_t>())
      << name;
  if (written == 0) {
    EXPECT_FALSE(testutil::FileExists(tmx)) << name << ": no units, yet a document";
    return;
  }
  std::vector<Tu> units;
  ASSERT_TRUE(ReadTmx(tmx, units)) << name;
  EXPECT_EQ(static_cast<int64_t>(units.size()), written) << name;
  const std::vector<std::string> languages = ReportLanguages(file);
  long previous = 0;
  for (const Tu& unit : units) {
    const std::string where = name + " tuid " + unit.tuid;
    const long tuid = std::strtol(unit.tuid.c_str(), nullptr, 10);
    EXPECT_GT(tuid, previous) << where << ": tuid values go up";
    previous = tuid;
    CheckUnit(unit, languages, allLanguages, where);
  }
}

class ExportCorpus : public ::testing::TestWithParam<Mode> {};

TEST_P(ExportCorpus, EveryDocumentHoldsItsUnitsInOrder) {
  const Mode& mode = GetParam();
  testutil::TempDir dir;
  int documents = 0;
  for (int index = 0; index < kFiles; ++index) {
    const CorpusFile corpus = MakeCorpusFile(kSeed, static_cast<uint64_t>(index));
    const std::string name = "file " + std::to_string(index) + " (" + corpus.args + ")";
    const std::string txt = dir.File("in.txt"), tmx = dir.File("out.tmx");
    const std::string report = dir.File("report.json");
    std::remove(tmx.c_str());
    testutil::WriteFile(txt, corpus.text);
    std::vector<std::string> args = Arguments(corpus.args, mode);
    for (const char* word : {"--threads", "3", "-q", "--report"}) args.push_back(word);
    args.insert(args.end(), {report, "-o", tmx, txt});
    std::string out, err;
    const int status = testutil::RunCli(args, out, err);
    ASSERT_TRUE(testutil::FileExists(report)) << name << ": status " << status << "\n" << err;
    const nlohmann::json json = nlohmann::json::parse(testutil::ReadFile(report));
    ASSERT_EQ(json["files"].size(), 1u) << name;
    CheckDocument(tmx, json["files"][0], mode.allLanguages, name);
    if (testutil::FileExists(tmx)) ++documents;
    if (HasFatalFailure()) return;
  }
  // Most files of the corpus have units to write.
  EXPECT_GT(documents, kFiles / 2);
}

INSTANTIATE_TEST_SUITE_P(Modes, ExportCorpus,
                         ::testing::Values(Mode{"pair", false, ""},
                                           Mode{"pair_utf16", false, "--utf16"},
                                           Mode{"all_languages", true, ""}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
