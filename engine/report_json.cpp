// SPDX-License-Identifier: MIT
#include "engine/report_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "text/escaped_text.h"

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

// A file name as the report holds it: UTF-8 as it is; any other bytes escaped as the messages
// escape them (see ReportName), with "<key>Escaped": true beside it so that the name can be
// told back byte for byte.
void AddName(json& file, const char* key, const std::string& name) {
  if (IsUtf8(name)) {
    file[key] = name;
    return;
  }
  file[key] = EscapeText(name);
  file[std::string(key) + "Escaped"] = true;
}

json FileJson(const ExportReport& r) {
  json others = json::array();
  for (const LanguageUse& language : r.others) others.push_back(LanguageJson(language));
  json file = {
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
  AddName(file, "input", r.txtPath);
  AddName(file, "output", r.tmxPath);
  if (!r.error.empty()) file["error"] = r.error;
  return file;
}

// A value dumped as it stands indent levels deep in the document: its lines after the first
// are indented by two blanks per level.
std::string Nested(const json& value, int indent) {
  const std::string text = value.dump(2, ' ', false, json::error_handler_t::replace);
  const std::string blanks(static_cast<size_t>(2 * indent), ' ');
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    out.push_back(c);
    if (c == '\n') out += blanks;
  }
  return out;
}

}  // namespace

std::string ReportName(const std::string& name) {
  return IsUtf8(name) ? name : EscapeText(name);
}

void ReportTotals::Add(const ExportReport& report) {
  ++files;
  unitsRead += report.unitsRead;
  unitsWritten += report.unitsWritten;
  unitsSkipped += report.skipped.Total();
}

// The keys come in alphabetical order, as the JSON library writes objects: "files", "total".
std::string ReportJsonStart() {
  return "{\n  \"files\": [";
}

std::string ReportJsonFile(const ExportReport& report, bool first) {
  return (first ? "\n    " : ",\n    ") + Nested(FileJson(report), 2);
}

std::string ReportJsonEnd(const ReportTotals& totals) {
  const json total = {{"files", totals.files},
                      {"unitsRead", totals.unitsRead},
                      {"unitsWritten", totals.unitsWritten},
                      {"unitsSkipped", totals.unitsSkipped}};
  return std::string(totals.files > 0 ? "\n  ]" : "]") + ",\n  \"total\": " + Nested(total, 1) +
         "\n}\n";
}

std::string ReportJson(const std::vector<ExportReport>& reports) {
  std::string document = ReportJsonStart();
  ReportTotals totals;
  for (const ExportReport& r : reports) {
    document += ReportJsonFile(r, totals.files == 0);
    totals.Add(r);
  }
  return document + ReportJsonEnd(totals);
}
