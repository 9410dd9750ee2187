// SPDX-License-Identifier: MIT
#include "cli/export_report.h"

#include "cli/command_line.h"
#include "cli/quoting.h"
#include "text/string_table.h"

namespace {

// Message 1022 with the count, its line ends as LF.
std::string FinishedMessage(int count) {
  std::string text = LoadStringText(IDS_FINISHED);
  const size_t at = text.find("%i");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(count));
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

void PrintInterrupted(const ReportContext& context, FILE* err) {
  if (context.toStandardOutput) {
    std::fprintf(err, "velmar2tmx-cli: interrupted; the TMX on standard output is incomplete\n");
  } else {
    std::fprintf(err, "velmar2tmx-cli: interrupted; %s was not written\n",
                 ShownPath(context.tmxPath).c_str());
  }
}

void PrintNothingWritten(const ReportContext& context, FILE* err) {
  if (context.targetCode.empty()) {  // --all-languages
    std::fprintf(err,
                 "velmar2tmx-cli: no unit written: no unit of %s holds %s and another language\n",
                 ShownPath(context.txtPath).c_str(), context.sourceCode.c_str());
  } else {
    std::fprintf(err, "velmar2tmx-cli: no unit written: no unit of %s holds both %s and %s\n",
                 ShownPath(context.txtPath).c_str(), context.sourceCode.c_str(),
                 context.targetCode.c_str());
  }
  if (!context.toStandardOutput) {
    std::fprintf(err, "velmar2tmx-cli: %s was neither created nor replaced\n",
                 ShownPath(context.tmxPath).c_str());
  }
  std::fprintf(err, "velmar2tmx-cli: --analyse lists the languages of the TXT file\n");
}

}  // namespace

int ReportExport(const ExportResult& result, const ReportContext& context, FILE* out, FILE* err) {
  switch (result.stop) {
    case ExportResult::Stop::Abandoned:
      PrintInterrupted(context, err);
      return kExitInterrupted;
    case ExportResult::Stop::Failed:
      PrintEngineError(result.error, err);
      return kExitFile;
    case ExportResult::Stop::NothingWritten:
      PrintNothingWritten(context, err);
      return kExitNothing;
    case ExportResult::Stop::Done:
      break;
  }
  if (!context.quiet) {
    std::fprintf(context.toStandardOutput ? err : out, "%s\n",
                 FinishedMessage(result.unitsWritten).c_str());
  }
  return kExitConverted;
}

void PrintEngineError(const EngineError& error, FILE* err) {
  const auto shown = [](const std::string& path) { return ShownPath(path); };
  std::fprintf(err, "velmar2tmx-cli: %s\n", Describe(error, shown).sentence.c_str());
}
