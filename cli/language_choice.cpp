// SPDX-License-Identifier: MIT
#include "cli/language_choice.h"

#include <optional>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "cli/export_report.h"
#include "cli/quoting.h"
#include "cli/terminal_progress.h"
#include "engine/tmx_exporter.h"
#include "text/code_page.h"
#include "text/language_catalogue.h"
#include "text/language_lookup.h"

namespace {

// Analyses the TXT file; on failure prints why and gives the exit status. An interrupt stops
// the analysis as it stops a conversion.
int AnalyseFile(const CliOptions& options, LanguageList& list, FILE* err) {
  CTmxExporter exporter;
  TerminalProgress interrupts(err, false);
  AnalysisResult analysis = exporter.Analyse(options.TxtFile(), &interrupts);
  if (!analysis.Failed()) {
    list = std::move(analysis.languages);
    return 0;
  }
  if (analysis.error.kind == EngineError::Kind::Abandoned || TerminalProgress::Interrupted()) {
    std::fprintf(err, "velmar2tmx-cli: interrupted\n");
    return kExitInterrupted;
  }
  PrintEngineError(analysis.error, err);
  return kExitFile;
}

// The message for a file in which the analysis found no language at all; gives the status.
int NoLanguageFound(const CliOptions& options, FILE* err) {
  std::fprintf(err,
               "velmar2tmx-cli: no language found in %s; is it a Velmar Vovuzaduz TXT export?\n",
               ShownPath(options.TxtFile()).c_str());
  return kExitNothing;
}

struct FoundLanguage {
  std::string code;
  std::string name;
};

std::vector<FoundLanguage> FoundLanguages(const LanguageList& list) {
  std::vector<FoundLanguage> found;
  for (const LanguageEntry& e : list) {
    // The catalogue code behind a display name, as the desktop tool's lists map it.
    const std::string code = LanguageCodeOfName(e.name);
    found.push_back({code.empty() ? e.name : code, e.name});
  }
  return found;
}

// "EN-US (English (United States)), DE (German (Germany))", escaped for the terminal.
std::string ListFound(const std::vector<FoundLanguage>& found) {
  std::string s;
  for (const FoundLanguage& f : found) {
    if (!s.empty()) s += ", ";
    s += f.code + " (" + f.name + ")";
  }
  return EscapeControls(s);
}

// ASCII letters to upper case: the catalogue's codes and their other forms are upper case.
std::string UpperCase(std::string code) {
  for (char& c : code) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return code;
}

// Resolves a code given on the command line, in any letter case; prints the usage error when
// it does not resolve.
bool ResolveGiven(CTmxExporter& resolver, const char* option, const std::string& given,
                  std::string& code, FILE* err) {
  int codePage = 0;
  code = given;
  if (resolver.ResolveLanguageCode(code, codePage)) return true;
  code = UpperCase(given);
  if (resolver.ResolveLanguageCode(code, codePage)) return true;
  code.clear();
  std::fprintf(err,
               "velmar2tmx-cli: %s: unknown language %s; 'velmar2tmx-cli --list-languages' "
               "lists the valid codes\n",
               option, QuoteName(given).c_str());
  return false;
}

// Fills code (when not given) with the first catalogue language found that is not other.
bool ChooseDefault(const std::vector<FoundLanguage>& found, std::string& code,
                   const std::string& other, const char* role, const CliOptions& options,
                   FILE* err) {
  for (const FoundLanguage& f : found) {
    if (!code.empty()) break;
    if (f.code != other && FindLanguageRecord(f.code)) code = f.code;
  }
  if (!code.empty()) return true;
  std::fprintf(err, "velmar2tmx-cli: no %s language to choose in %s; languages found: %s\n", role,
               ShownPath(options.TxtFile()).c_str(), ListFound(found).c_str());
  return false;
}

// The code page of a chosen language: the option for its role, --codepage, or the catalogue's.
int CodePageFor(const std::string& code, const std::optional<int>& roleOption,
                const GivenLanguages& given) {
  if (roleOption) return *roleOption;
  const auto found = given.codePages.find(code);
  return found != given.codePages.end() ? found->second
                                        : LookUpLanguage(code, LanguageQuery::kPicked).codePage;
}

}  // namespace

bool CheckCodePage(int codePage, const std::string& option, FILE* err) {
  if (!CanDecodeBytes(static_cast<unsigned>(codePage))) {
    std::fprintf(err, "velmar2tmx-cli: %s: code page %d does not hold 8-bit text\n", option.c_str(),
                 codePage);
    return false;
  }
  if (!IsSupportedCodePage(static_cast<unsigned>(codePage))) {
    std::fprintf(err, "velmar2tmx-cli: %s: code page %d is not supported\n", option.c_str(),
                 codePage);
    return false;
  }
  return true;
}

int ResolveGivenLanguages(const CliOptions& options, GivenLanguages& given, FILE* err) {
  if ((options.sourceCodePage &&
       !CheckCodePage(*options.sourceCodePage, "--source-codepage", err)) ||
      (options.targetCodePage &&
       !CheckCodePage(*options.targetCodePage, "--target-codepage", err))) {
    return kExitUsage;
  }
  CTmxExporter resolver;
  if (options.source &&
      !ResolveGiven(resolver, "--source", *options.source, given.sourceCode, err)) {
    return kExitUsage;
  }
  if (options.target &&
      !ResolveGiven(resolver, "--target", *options.target, given.targetCode, err)) {
    return kExitUsage;
  }
  for (const auto& [code, codePage] : options.codePages) {
    std::string resolved;
    if (!ResolveGiven(resolver, "--codepage", code, resolved, err) ||
        !CheckCodePage(codePage, "--codepage " + EscapeControls(code), err)) {
      return kExitUsage;
    }
    given.codePages[resolved] = codePage;  // the last one given for a language counts
  }
  return 0;
}

int ChooseLanguages(const CliOptions& options, const GivenLanguages& given, LanguageChoice& choice,
                    FILE* err) {
  choice = LanguageChoice();
  choice.sourceCode = given.sourceCode;
  choice.targetCode = given.targetCode;
  if (choice.sourceCode.empty() || (choice.targetCode.empty() && !options.allLanguages)) {
    LanguageList list;
    if (const int status = AnalyseFile(options, list, err); status != 0) return status;
    if (list.empty()) return NoLanguageFound(options, err);
    const std::vector<FoundLanguage> found = FoundLanguages(list);
    if (!ChooseDefault(found, choice.sourceCode, choice.targetCode, "source", options, err) ||
        (!options.allLanguages &&
         !ChooseDefault(found, choice.targetCode, choice.sourceCode, "target", options, err))) {
      return kExitUsage;
    }
  }
  choice.sourceCodePage = CodePageFor(choice.sourceCode, options.sourceCodePage, given);
  if (options.allLanguages) {
    choice.codePages = given.codePages;
  } else {
    choice.targetCodePage = CodePageFor(choice.targetCode, options.targetCodePage, given);
  }
  return 0;
}

int PrintAnalysis(const CliOptions& options, FILE* out, FILE* err) {
  LanguageList list;
  if (const int status = AnalyseFile(options, list, err); status != 0) return status;
  if (list.empty()) return NoLanguageFound(options, err);
  const std::vector<FoundLanguage> found = FoundLanguages(list);
  for (size_t i = 0; i < list.size(); ++i) {
    // A code the catalogue does not know is the file's own text: escaped like a file name.
    std::fprintf(out, "%s\t%d\t%s\n", EscapeControls(found[i].code).c_str(), list[i].codePage,
                 EscapeControls(list[i].name).c_str());
  }
  return kExitConverted;
}

int PrintLanguageList(FILE* out) {
  for (const LanguageRecord& r : LanguageTable()) {
    std::fprintf(out, "%s\t%d\t%s\n", r.code,
                 LookUpLanguage(r.code, LanguageQuery::kPicked).codePage,
                 LanguageDisplayName(r.code).c_str());
  }
  return kExitConverted;
}
