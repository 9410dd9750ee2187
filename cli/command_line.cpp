// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <unistd.h>

#include <memory>
#include <string>

#include "cli/language_choice.h"
#include "cli/options.h"
#include "cli/terminal_progress.h"
#include "engine/tmx_exporter.h"
#include "engine/tmx_path.h"
#include "text/code_page.h"
#include "text/string_table.h"

namespace {

void PrintExportError(const EngineError& e, FILE* err) {
  switch (e.kind) {
    case EngineError::Kind::OpenInput:
      std::fprintf(err, "velmar2tmx-cli: cannot open '%s': %s\n", e.path.c_str(), e.reason.c_str());
      break;
    case EngineError::Kind::ReadInput:
      std::fprintf(err, "velmar2tmx-cli: cannot read '%s': %s\n", e.path.c_str(), e.reason.c_str());
      break;
    case EngineError::Kind::CreateOutput:
      std::fprintf(err, "velmar2tmx-cli: cannot create '%s': %s\n", e.path.c_str(),
                   e.reason.c_str());
      break;
    case EngineError::Kind::WriteOutput:
      std::fprintf(err, "velmar2tmx-cli: cannot write '%s': %s\n", e.path.c_str(),
                   e.reason.c_str());
      break;
    case EngineError::Kind::SameFile:
      std::fprintf(err, "velmar2tmx-cli: '%s' is the TXT file itself; choose another TMX file\n",
                   e.path.c_str());
      break;
    case EngineError::Kind::OutputExists:
      std::fprintf(err, "velmar2tmx-cli: '%s' exists; not replaced\n", e.path.c_str());
      break;
    case EngineError::Kind::Abandoned:
      std::fprintf(err, "velmar2tmx-cli: interrupted; '%s' was not written\n", e.path.c_str());
      break;
    case EngineError::Kind::None:
      break;
  }
}

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

bool CheckCodePage(const std::optional<int>& codePage, const char* option, FILE* err) {
  if (codePage && !IsSupportedCodePage(static_cast<unsigned>(*codePage))) {
    std::fprintf(err, "velmar2tmx-cli: %s: code page %d is not supported\n", option, *codePage);
    return false;
  }
  return true;
}

}  // namespace

int RunCommandLine(int argc, char** argv, FILE* out, FILE* err) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(argc, argv, options, error)) {
    std::fprintf(err, "velmar2tmx-cli: %s\nTry 'velmar2tmx-cli --help' for more information.\n",
                 error.c_str());
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(CliUsage().c_str(), out);
    return kExitConverted;
  }
  if (options.version) {
    std::fprintf(out, "velmar2tmx-cli %s\n", VELMAR_VERSION);
    return kExitConverted;
  }
  if (options.listLanguages) return PrintLanguageList(out);
  if (options.analyse) return PrintAnalysis(options, out, err);
  if (!CheckCodePage(options.sourceCodePage, "--source-codepage", err) ||
      !CheckCodePage(options.targetCodePage, "--target-codepage", err)) {
    return kExitUsage;
  }

  LanguageChoice choice;
  if (const int status = ChooseLanguages(options, choice, err); status != 0) return status;

  const std::string tmxPath =
      options.tmxPath.empty() ? DeriveTmxPath(options.txtPath) : options.tmxPath;
  auto progress =
      std::make_unique<TerminalProgress>(err, !options.quiet && ::isatty(::fileno(err)) != 0);

  CTmxExporter exporter;
  ExportRequest request;
  request.txtPath = options.txtPath;
  request.tmxPath = tmxPath;
  request.sourceCode = choice.sourceCode;
  request.sourceCodePage = choice.sourceCodePage;
  request.targetCode = choice.targetCode;
  request.targetCodePage = choice.targetCodePage;
  request.utf16Output = options.utf16;
  const ExportResult result = exporter.Export(request, progress.get());
  progress.reset();
  const int count = result.Count();
  if (result.stop == ExportResult::Stop::Abandoned) {
    PrintExportError(result.error, err);
    return kExitInterrupted;
  }
  if (count < 0) {
    PrintExportError(result.error, err);
    return kExitFile;
  }
  if (count == 0) {
    std::fprintf(out, "%s\n", LoadStringText(IDS_NOTHING_EXPORTED).c_str());
    return kExitNothing;
  }
  std::fprintf(out, "%s\n", FinishedMessage(count).c_str());
  return kExitConverted;
}
