// SPDX-License-Identifier: MIT
#include "cli/language_choice.h"

#include "cli/command_line.h"
#include "engine/tmx_exporter.h"
#include "text/combo_model.h"
#include "text/language_catalogue.h"

namespace {

// The catalogue code behind a display name, as the language lists map it; empty if none.
std::string CodeOfDisplayName(const ComboModel& languages, const std::string& name) {
  const int index = FindStringExact(languages, name);
  return index < 0 ? std::string() : languages.items[static_cast<size_t>(index)].code;
}

// Code page of a catalogue language as the language lists pick it.
int CodePageOf(const ComboModel& languages, const std::string& code) {
  ComboModel selection = languages;
  selection.selected = FindStringExact(languages, LanguageDisplayName(code));
  std::string selectedCode;
  int codePage = 0;
  GetSelectedLanguage(selection, nullptr, selectedCode, codePage);
  return codePage;
}

// Analyses the TXT file; on failure prints why and gives the exit status.
int AnalyseFile(const std::string& path, LanguageList& list, FILE* err) {
  CTmxExporter exporter;
  if (exporter.Analyse(path, &list, nullptr)) return 0;
  const EngineError& e = exporter.LastError();
  std::fprintf(err, "velmar2tmx-cli: cannot %s '%s': %s\n",
               e.kind == EngineError::Kind::OpenInput ? "open" : "read", path.c_str(),
               e.reason.c_str());
  return kExitFile;
}

struct FoundLanguage {
  std::string code;
  std::string name;
};

std::vector<FoundLanguage> FoundLanguages(const LanguageList& list, const ComboModel& languages) {
  std::vector<FoundLanguage> found;
  for (const LanguageEntry& e : list) {
    const std::string code = CodeOfDisplayName(languages, e.name);
    found.push_back({code.empty() ? e.name : code, e.name});
  }
  return found;
}

std::string ListFound(const std::vector<FoundLanguage>& found) {
  if (found.empty()) return "none";
  std::string s;
  for (const FoundLanguage& f : found) {
    if (!s.empty()) s += ", ";
    s += f.code + " (" + f.name + ")";
  }
  return s;
}

// Resolves a code given on the command line; prints the usage error when it does not resolve.
bool ResolveGiven(CTmxExporter& resolver, const char* option, const std::string& given,
                  std::string& code, FILE* err) {
  code = given;
  int codePage = 0;
  if (resolver.ResolveLanguageCode(code, codePage)) return true;
  std::fprintf(err,
               "velmar2tmx-cli: %s: unknown language '%s'; 'velmar2tmx-cli --list-languages' "
               "lists the valid codes\n",
               option, given.c_str());
  return false;
}

}  // namespace

int ChooseLanguages(const CliOptions& options, LanguageChoice& choice, FILE* err) {
  CTmxExporter resolver;
  if (options.source &&
      !ResolveGiven(resolver, "--source", *options.source, choice.sourceCode, err)) {
    return kExitUsage;
  }
  if (options.target &&
      !ResolveGiven(resolver, "--target", *options.target, choice.targetCode, err)) {
    return kExitUsage;
  }
  const ComboModel languages = LanguageComboModel("");
  if (choice.sourceCode.empty() || choice.targetCode.empty()) {
    LanguageList list;
    if (const int status = AnalyseFile(options.txtPath, list, err); status != 0) return status;
    const std::vector<FoundLanguage> found = FoundLanguages(list, languages);
    // Fills code (when not given) with the first catalogue language found that is not other.
    auto choose = [&](std::string& code, const std::string& other, const char* role) {
      for (const FoundLanguage& f : found) {
        if (!code.empty()) break;
        if (f.code != other && FindLanguageRecord(f.code)) code = f.code;
      }
      if (!code.empty()) return true;
      std::fprintf(err, "velmar2tmx-cli: no %s language to choose in '%s'; languages found: %s\n",
                   role, options.txtPath.c_str(), ListFound(found).c_str());
      return false;
    };
    if (!choose(choice.sourceCode, choice.targetCode, "source") ||
        !choose(choice.targetCode, choice.sourceCode, "target")) {
      return kExitUsage;
    }
  }
  choice.sourceCodePage = options.sourceCodePage.value_or(CodePageOf(languages, choice.sourceCode));
  choice.targetCodePage = options.targetCodePage.value_or(CodePageOf(languages, choice.targetCode));
  return 0;
}

int PrintAnalysis(const CliOptions& options, FILE* out, FILE* err) {
  LanguageList list;
  if (const int status = AnalyseFile(options.txtPath, list, err); status != 0) return status;
  const ComboModel languages = LanguageComboModel("");
  const std::vector<FoundLanguage> found = FoundLanguages(list, languages);
  for (size_t i = 0; i < list.size(); ++i) {
    std::fprintf(out, "%s\t%d\t%s\n", found[i].code.c_str(), list[i].codePage,
                 list[i].name.c_str());
  }
  return kExitConverted;
}

int PrintLanguageList(FILE* out) {
  for (const LanguageRecord& r : LanguageTable()) {
    std::fprintf(out, "%s\t%u\t%s\n", r.code, ResolveCodePage(r.code, kFamilyWindows, nullptr),
                 LanguageDisplayName(r.code).c_str());
  }
  return kExitConverted;
}
