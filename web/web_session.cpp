// SPDX-License-Identifier: MIT
#include "web/web_session.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

#include "engine/report_json.h"
#include "engine/tmx_exporter.h"
#include "engine/tmx_path.h"
#include "text/code_page.h"
#include "text/language_catalogue.h"
#include "text/language_lookup.h"
#include "text/string_table.h"

using nlohmann::json;

namespace {

std::string Dump(const json& document) {
  return document.dump(-1, ' ', false, json::error_handler_t::replace);
}

char FoldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Sorts the entries of a list by their "name", ASCII letters without case, as the desktop tool's
// drop-down lists are sorted (namesakes keep their catalogue order).
void SortByName(json& list) {
  std::stable_sort(list.begin(), list.end(), [](const json& a, const json& b) {
    const std::string x = a["name"], y = b["name"];
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                        [](char l, char r) { return FoldCase(l) < FoldCase(r); });
  });
}

// The name shown for a file: the last part of its path.
std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The first catalogue language found that is not other, as the desktop tool preselects.
std::string DefaultLanguage(const json& found, const std::string& other) {
  for (const json& language : found) {
    const std::string code = language["code"];
    if (language["known"] && code != other) return code;
  }
  return std::string();
}

// The page's words for a failed analysis or conversion, with the cause that Describe gives.
std::string FailureMessage(const EngineError& e) {
  const ErrorDescription d = Describe(e);
  if (e.work == EngineError::Work::Analysis) {
    const std::string what = e.kind == EngineError::Kind::OpenInput ? "opened" : "read";
    return "The file cannot be " + what + (d.reason.empty() ? "." : ": " + d.reason + ".");
  }
  return e.kind == EngineError::Kind::WriteOutput ? "The TMX could not be written: " + d.reason
                                                  : "The TXT file cannot be read: " + d.reason;
}

}  // namespace

std::string CatalogueJson() {
  json languages = json::array();
  for (const LanguageRecord& record : LanguageTable()) {
    languages.push_back(
        {{"code", record.code},
         {"name", LoadStringText(record.stringId)},
         {"codePage", LookUpLanguage(record.code, LanguageQuery::kPicked).codePage}});
  }
  SortByName(languages);
  json codePages = json::array();
  for (const CodePageRecord& record : CodePageCatalogue()) {
    if (!IsSupportedCodePage(record.codePage)) continue;
    codePages.push_back({{"codePage", record.codePage}, {"name", record.displayName}});
  }
  SortByName(codePages);
  return Dump({{"languages", std::move(languages)}, {"codePages", std::move(codePages)}});
}

std::string AnalyseJson(const std::string& txtPath, ProgressReporter* progress) {
  CTmxExporter exporter;
  const AnalysisResult analysis = exporter.Analyse(txtPath, progress);
  if (analysis.Failed()) return Dump({{"ok", false}, {"error", FailureMessage(analysis.error)}});
  const LanguageList& list = analysis.languages;
  if (list.empty()) {
    return Dump({{"ok", false},
                 {"error", "No language found: this is not a Velmar Vovuzaduz TXT export."}});
  }
  json found = json::array();
  for (const LanguageEntry& entry : list) {
    const std::string code = LanguageCodeOfName(entry.name);
    const bool known = !code.empty() && FindLanguageRecord(code) != nullptr;
    found.push_back({{"code", code.empty() ? entry.name : code},
                     {"name", entry.name},
                     {"codePage", entry.codePage},
                     {"known", known}});
  }
  const std::string source = DefaultLanguage(found, std::string());
  const std::string target = DefaultLanguage(found, source);
  return Dump({{"ok", true},
               {"languages", std::move(found)},
               {"source", source},
               {"target", target},
               {"tmxName", BaseName(DeriveTmxPath(BaseName(txtPath)))}});
}

namespace {

struct Refusal {
  std::string message;  // empty when the request can be carried out
};

// The code page for a language: the one asked for its role, the one asked for the language
// ("codePages"), or the one the language lists pick.
int CodePageFor(const json& request, const char* key, const std::string& code) {
  const auto asked = request.find(key);
  if (asked != request.end() && asked->is_number_integer() && asked->get<int>() > 0) {
    return asked->get<int>();
  }
  const auto pages = request.find("codePages");
  if (pages != request.end() && pages->is_object()) {
    const auto page = pages->find(code);
    if (page != pages->end() && page->is_number_integer()) return page->get<int>();
  }
  return LookUpLanguage(code, LanguageQuery::kPicked).codePage;
}

bool Usable(int codePage) {
  const auto page = static_cast<unsigned>(codePage);
  return codePage > 0 && CanDecodeBytes(page) && IsSupportedCodePage(page);
}

std::string Text(const json& request, const char* key) {
  const auto found = request.find(key);
  return found != request.end() && found->is_string() ? found->get<std::string>() : "";
}

// Fills the request from the page's choices; the reason when they cannot be used.
Refusal FillRequest(const json& asked, CTmxExporter& exporter, ExportRequest& request) {
  request.txtPath = Text(asked, "txtPath");
  request.tmxPath = DeriveTmxPath(request.txtPath);
  request.sourceCode = Text(asked, "source");
  request.targetCode = Text(asked, "target");
  request.allLanguages = request.targetCode == "*";
  int ignored = 0;
  if (!exporter.ResolveLanguageCode(request.sourceCode, ignored)) {
    return {"Unknown source language."};
  }
  if (request.allLanguages) {
    request.targetCode.clear();
  } else if (!exporter.ResolveLanguageCode(request.targetCode, ignored)) {
    return {"Unknown target language."};
  }
  request.sourceCodePage = CodePageFor(asked, "sourceCodePage", request.sourceCode);
  request.targetCodePage =
      request.allLanguages ? 0 : CodePageFor(asked, "targetCodePage", request.targetCode);
  if (!Usable(request.sourceCodePage) ||
      (!request.allLanguages && !Usable(request.targetCodePage))) {
    return {"The code page is not supported."};
  }
  const auto found = asked.find("codePages");
  const json pages = found != asked.end() ? *found : json::object();
  for (auto it = pages.begin(); pages.is_object() && it != pages.end(); ++it) {
    std::string code = it.key();
    if (!it->is_number_integer() || !exporter.ResolveLanguageCode(code, ignored) ||
        !Usable(it->get<int>())) {
      return {"The code page of " + it.key() + " cannot be used."};
    }
    request.codePages[code] = it->get<int>();
  }
  const auto utf16 = asked.find("utf16");
  request.utf16Output = utf16 != asked.end() && utf16->is_boolean() && utf16->get<bool>();
  request.threads = 1;
  return {};
}

std::string OutcomeMessage(const ExportResult& result, const ExportRequest& request) {
  switch (result.stop) {
    case ExportResult::Stop::Done:
      return std::to_string(result.unitsWritten) +
             (result.unitsWritten == 1 ? " unit written." : " units written.");
    case ExportResult::Stop::NothingWritten:
      return request.allLanguages
                 ? "No unit written: no unit holds " + request.sourceCode + " and another language."
                 : "No unit written: no unit holds both " + request.sourceCode + " and " +
                       request.targetCode + ".";
    case ExportResult::Stop::Abandoned:
      return "Cancelled: nothing was written.";
    case ExportResult::Stop::Failed:
      break;
  }
  return FailureMessage(result.error);
}

bool Changed(const ExportReport& r) {
  return r.forbiddenCharacters.Count() + r.invalidDates.Count() + r.repeatedFields.Count() +
             r.unpairedInline.Count() >
         0;
}

}  // namespace

std::string ConvertJson(const std::string& requestJson, int outputFd, ProgressReporter* progress) {
  const json asked = json::parse(requestJson, nullptr, false);
  if (!asked.is_object()) return Dump({{"outcome", "failed"}, {"message", "Bad request."}});
  CTmxExporter exporter;
  ExportRequest request;
  const Refusal refusal = FillRequest(asked, exporter, request);
  if (!refusal.message.empty()) {
    return Dump({{"outcome", "failed"}, {"message", refusal.message}});
  }
  ExportReport report;
  request.report = &report;
  request.outputFd = outputFd;
  const ExportResult result = exporter.Export(request, progress);
  const SkipCounts& s = result.skipped;
  return Dump({{"outcome", report.outcome},
               {"message", OutcomeMessage(result, request)},
               {"unitsRead", result.unitsRead},
               {"unitsWritten", result.unitsWritten},
               {"skipped",
                {{"noSource", s.noSource},
                 {"noTarget", s.noTarget},
                 {"unresolved", s.unresolved},
                 {"total", s.Total()}}},
               {"changed", Changed(report)},
               {"report", ReportJson({report})}});
}
