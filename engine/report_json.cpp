// SPDX-License-Identifier: MIT
#include "engine/report_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

std::string CodePointText(uint32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", c);
  return text;
}

// A list of findings: their number, the first entries, and how many more there were.
json ListJson(const ReportList& list, bool withField, bool withValue, bool withCodePoint) {
  json entries = json::array();
  for (const ReportEntry& e : list.Entries()) {
    json entry = {{"line", e.line}};
    if (withField) entry["field"] = e.field;
    if (withValue) entry["value"] = e.value;
    if (withCodePoint) entry["codePoint"] = CodePointText(e.codePoint);
    entries.push_back(std::move(entry));
  }
  return {{"count", list.Count()}, {"entries", std::move(entries)}, {"more", list.More()}};
}

// Seg lines left out with their code: the count, the first lines and codes, and how many more.
json CodeListJson(const ReportList& list) {
  json entries = json::array();
  for (const ReportEntry& e : list.Entries()) {
    entries.push_back({{"line", e.line}, {"code", e.value}});
  }
  return {{"count", list.Count()}, {"entries", std::move(entries)}, {"more", list.More()}};
}

json LeftOutJson(const LeftOutCounts& c) {
  return {{"total", c.Total()},
          {"unknownLanguageCode", c.unknownCode},
          {"otherLanguage", c.otherLanguage},
          {"repeatedLanguage", c.repeated},
          {"empty", c.empty}};
}

// Every Seg line by language (read = written + inSkippedUnits + leftOut.total), and the lines of
// those left out for an unknown code or for a later Seg line of their language.
json SegmentsJson(const ExportReport& r) {
  json languages = json::array();
  for (const auto& [code, c] : r.segments) {
    languages.push_back({{"language", code},
                         {"read", c.read},
                         {"written", c.written},
                         {"inSkippedUnits", c.inSkippedUnits},
                         {"leftOut", LeftOutJson(c.leftOut)}});
  }
  return {{"languages", std::move(languages)},
          {"unknownLanguageCode", CodeListJson(r.unknownCodeSegments)},
          {"repeatedLanguage", CodeListJson(r.repeatedSegments)}};
}

json LanguageJson(const LanguageUse& language) {
  return {{"language", language.code}, {"codePage", language.codePage}};
}

json FileJson(const ExportReport& r) {
  json others = json::array();
  for (const LanguageUse& language : r.others) others.push_back(LanguageJson(language));
  json file = {
      {"input", r.txtPath},
      {"output", r.tmxPath},
      {"outcome", r.outcome},
      {"source", LanguageJson(r.source)},
      {"languages", std::move(others)},
      {"unitsRead", r.unitsRead},
      {"unitsWritten", r.unitsWritten},
      {"unitsSkipped",
       {{"total", r.skipped.Total()},
        {"noSourceSegment", ListJson(r.noSource, false, false, false)},
        {"noTargetSegment", ListJson(r.noTarget, false, false, false)},
        {"unresolvedLanguageCode", ListJson(r.unresolved, false, false, false)}}},
      {"segments", SegmentsJson(r)},
      {"fieldsBetweenUnits", ListJson(r.fieldsBetweenUnits, true, false, false)},
      {"changes",
       {{"forbiddenCharacters", ListJson(r.forbiddenCharacters, false, false, true)},
        {"invalidDates", ListJson(r.invalidDates, true, true, false)},
        {"repeatedFields", ListJson(r.repeatedFields, true, true, false)},
        {"unpairedInlineElements", ListJson(r.unpairedInline, false, false, false)}}},
  };
  if (!r.error.empty()) file["error"] = r.error;
  return file;
}

}  // namespace

std::string ReportJson(const std::vector<ExportReport>& reports) {
  json files = json::array();
  int64_t read = 0, written = 0, skipped = 0;
  for (const ExportReport& r : reports) {
    files.push_back(FileJson(r));
    read += r.unitsRead;
    written += r.unitsWritten;
    skipped += r.skipped.Total();
  }
  const json document = {
      {"files", std::move(files)},
      {"total",
       {{"files", reports.size()},
        {"unitsRead", read},
        {"unitsWritten", written},
        {"unitsSkipped", skipped}}},
  };
  return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}
