// SPDX-License-Identifier: MIT
// What the page asks of the converter, as JSON in and JSON out: the catalogue for its lists,
// the analysis of a chosen TXT file, and one conversion. Plain C++ over the engine, so that it
// runs the same in the browser and in the native tests; the bindings to JavaScript are in
// wasm_exports.cpp.
#pragma once

#include <string>

class ProgressReporter;

// {"languages": [{"code", "name", "codePage"}], "codePages": [{"codePage", "name"}]}: every
// catalogue language (sorted by name, with the code page the language lists pick) and every
// supported code page.
std::string CatalogueJson();

// The languages of the first units of the TXT file, as the analysis lists them:
// {"ok": true, "languages": [{"code", "name", "codePage", "known"}], "source", "target",
//  "tmxName"} with the default source and target ("" when none can be chosen) and the name of
// the TMX file; or {"ok": false, "error": "..."} when the file cannot be read or holds no
// language.
std::string AnalyseJson(const std::string& txtPath, ProgressReporter* progress);

// Converts as the request asks:
// {"txtPath", "source", "target" ("*" for all languages), "sourceCodePage", "targetCodePage"
//  (0 or absent: the language's own), "codePages": {"CODE": N}, "utf16": bool}.
// The TMX bytes go to outputFd. Gives {"outcome": "written" | "nothing written" |
// "interrupted" | "failed", "message", "unitsRead", "unitsWritten", "skipped": {"noSource",
// "noTarget", "unresolved", "total"}, "changed": bool, "report": "<the report document>"}.
// A request that cannot be carried out (unknown language, unsupported code page) gives
// "failed" with the reason in "message".
std::string ConvertJson(const std::string& requestJson, int outputFd, ProgressReporter* progress);
