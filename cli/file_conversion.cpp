// SPDX-License-Identifier: MIT
#include "cli/file_conversion.h"

#include <memory>

#include "cli/command_line.h"
#include "cli/export_report.h"
#include "cli/platform.h"
#include "cli/quoting.h"
#include "cli/run_summary.h"
#include "cli/terminal_progress.h"
#include "engine/export_outcome.h"
#include "engine/file_system.h"
#include "engine/tmx_exporter.h"
#include "engine/tmx_path.h"

namespace {

// The defaults come from reading the start of the TXT file, and the conversion reads it again
// from the start. A pipe, a terminal or a device (standard input from a pipe, "<(zcat ...)", a
// named pipe) can be read only once: the analysis would use up units the conversion then misses.
int CheckReadOnceInput(const CliOptions& options, FILE* err) {
  if (options.source && (options.target || options.allLanguages)) return 0;
  FileFacts facts;
  if (!TheFileSystem().Facts(options.TxtFile(), true, facts) || facts.regular || facts.folder) {
    return 0;  // a file that cannot be opened is reported when it is opened
  }
  std::fprintf(err,
               "velmar2tmx-cli: %s can be read only once (a pipe or a device): give %s, as "
               "finding the languages would use up the input\n",
               ShownPath(options.TxtFile()).c_str(),
               options.allLanguages ? "-s" : "both -s and -t");
  if (!options.Batch()) std::fprintf(err, "Try 'velmar2tmx-cli --help' for more information.\n");
  return kExitUsage;
}

// Why a file failed before its conversion began, for the report.
const char* EarlyFailure(int status) {
  switch (status) {
    case kExitFile:
      return "the TXT file cannot be read";
    case kExitNothing:
      return "no language found in the TXT file";
    case kExitInterrupted:
      return "";
    default:
      return "no languages to convert could be chosen";
  }
}

void NoteEarlyFailure(const FileOutcome& file, const CliOptions& options, ExportReport* report) {
  if (!report) return;
  report->txtPath = options.TxtFile();
  report->tmxPath = file.tmxPath;
  report->outcome = OutcomeName(file.status == kExitInterrupted ? ExportResult::Stop::Abandoned
                                                                : ExportResult::Stop::Failed);
  report->error = EarlyFailure(file.status);
}

ExportRequest MakeRequest(const CliOptions& options, const LanguageChoice& choice,
                          const std::string& tmxPath, FILE* out) {
  ExportRequest request;
  request.txtPath = options.TxtFile();
  if (options.WritesStandardOutput()) {
    request.tmxPath = "/dev/stdout";
    std::fflush(out);
    request.outputFd = DescriptorOf(out);
  } else {
    request.tmxPath = tmxPath;
    request.noClobber = options.noClobber;
  }
  request.sourceCode = choice.sourceCode;
  request.sourceCodePage = choice.sourceCodePage;
  request.targetCode = choice.targetCode;
  request.targetCodePage = choice.targetCodePage;
  request.allLanguages = options.allLanguages;
  request.codePages = choice.codePages;
  request.utf16Output = options.utf16;
  request.threads = options.threads;
  return request;
}

// "File 2 of 5 'b.txt': " before the percentage of a batch; nothing for a single file.
std::string ProgressLabel(const CliOptions& options, const FilePosition& position) {
  if (position.count < 2) return std::string();
  return "File " + std::to_string(position.number) + " of " + std::to_string(position.count) + " " +
         ShownPath(options.txtPath) + ": ";
}

void Convert(const CliOptions& options, const LanguageChoice& choice, const FilePosition& position,
             ExportReport* report, FileOutcome& file, FILE* out, FILE* err) {
  ExportRequest request = MakeRequest(options, choice, file.tmxPath, out);
  request.report = report;
  auto progress = std::make_unique<TerminalProgress>(err, !options.quiet && IsTerminal(err));
  progress->SetLabel(ProgressLabel(options, position));
  CTmxExporter exporter;
  const ExportResult result = exporter.Export(request, progress.get());
  progress.reset();  // ends the progress line before the message

  ReportContext context;
  context.txtPath = request.txtPath;
  context.tmxPath = request.tmxPath;
  context.toStandardOutput = options.WritesStandardOutput();
  context.quiet = options.quiet || options.Batch();  // a batch has its line per file instead
  context.sourceCode = choice.sourceCode;
  context.targetCode = choice.targetCode;
  file.status = ReportExport(result, context, out, err);
  file.unitsWritten = result.stop == ExportResult::Stop::Done ? result.unitsWritten : 0;
  file.skipped = result.skipped;
  if (file.status == kExitConverted && !context.quiet) {
    std::fprintf(context.toStandardOutput ? err : out, "%s\n",
                 SummaryLine(file.unitsWritten, file.skipped).c_str());
  }
}

}  // namespace

std::string TmxPathOf(const CliOptions& options, const std::string& txtPath) {
  if (options.tmxPath) return *options.tmxPath;
  const std::string derived = DeriveTmxPath(txtPath);
  if (!options.outputDir) return derived;
  const size_t slash = LastSeparator(derived);
  const std::string name = slash == std::string::npos ? derived : derived.substr(slash + 1);
  const std::string& dir = *options.outputDir;
  return LastSeparator(dir) == dir.size() - 1 ? dir + name : dir + "/" + name;
}

FileOutcome ConvertFile(const CliOptions& options, const GivenLanguages& given,
                        const FilePosition& position, ExportReport* report, FILE* out, FILE* err) {
  FileOutcome file;
  file.txtPath = options.txtPath;
  file.tmxPath = TmxPathOf(options, options.txtPath);
  LanguageChoice choice;
  file.status = CheckReadOnceInput(options, err);
  if (file.status == 0) file.status = ChooseLanguages(options, given, choice, err);
  if (file.status != 0) {
    NoteEarlyFailure(file, options, report);
    return file;
  }
  Convert(options, choice, position, report, file, out, err);
  return file;
}
