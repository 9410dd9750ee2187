// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "cli/export_report.h"
#include "cli/language_choice.h"
#include "cli/options.h"
#include "cli/quoting.h"
#include "cli/terminal_progress.h"
#include "engine/tmx_exporter.h"
#include "engine/tmx_path.h"
#include "text/code_page.h"

namespace {

int UsageError(const std::string& message, FILE* err) {
  std::fprintf(err, "velmar2tmx-cli: %s\nTry 'velmar2tmx-cli --help' for more information.\n",
               message.c_str());
  return kExitUsage;
}

bool CheckCodePage(const std::optional<int>& codePage, const char* option, FILE* err) {
  if (!codePage) return true;
  if (!CanDecodeBytes(static_cast<unsigned>(*codePage))) {
    std::fprintf(err, "velmar2tmx-cli: %s: code page %d does not hold 8-bit text\n", option,
                 *codePage);
    return false;
  }
  if (!IsSupportedCodePage(static_cast<unsigned>(*codePage))) {
    std::fprintf(err, "velmar2tmx-cli: %s: code page %d is not supported\n", option, *codePage);
    return false;
  }
  return true;
}

// The defaults come from reading the start of the TXT file, and the conversion reads it again
// from the start. A pipe, a terminal or a device (standard input from a pipe, "<(zcat ...)", a
// named pipe) can be read only once: the analysis would use up units the conversion then misses.
int CheckReadOnceInput(const CliOptions& options, FILE* err) {
  if (options.source && options.target) return 0;
  struct stat st {};
  if (::stat(options.TxtFile().c_str(), &st) != 0 || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
    return 0;  // a file that cannot be opened is reported when it is opened
  }
  return UsageError(ShownPath(options.TxtFile()) +
                        " can be read only once (a pipe or a device): give both -s and -t, as "
                        "finding the languages would use up the input",
                    err);
}

// Standard input has no name to put the TMX file beside.
int CheckStandardInput(const CliOptions& options, FILE* err) {
  if (options.ReadsStandardInput() && !options.tmxPath) {
    return UsageError("reading standard input needs -o FILE (or -o - for standard output)", err);
  }
  return CheckReadOnceInput(options, err);
}

int Convert(const CliOptions& options, const LanguageChoice& choice, FILE* out, FILE* err) {
  ExportRequest request;
  request.txtPath = options.TxtFile();
  if (options.WritesStandardOutput()) {
    request.tmxPath = "/dev/stdout";
    std::fflush(out);
    request.outputFd = ::fileno(out);
  } else {
    request.tmxPath = options.tmxPath ? *options.tmxPath : DeriveTmxPath(options.txtPath);
    request.noClobber = options.noClobber;
  }
  request.sourceCode = choice.sourceCode;
  request.sourceCodePage = choice.sourceCodePage;
  request.targetCode = choice.targetCode;
  request.targetCodePage = choice.targetCodePage;
  request.utf16Output = options.utf16;

  auto progress =
      std::make_unique<TerminalProgress>(err, !options.quiet && ::isatty(::fileno(err)) != 0);
  CTmxExporter exporter;
  const ExportResult result = exporter.Export(request, progress.get());
  progress.reset();  // ends the progress line before the message

  ReportContext context;
  context.txtPath = request.txtPath;
  context.tmxPath = request.tmxPath;
  context.toStandardOutput = options.WritesStandardOutput();
  context.quiet = options.quiet;
  context.sourceCode = choice.sourceCode;
  context.targetCode = choice.targetCode;
  return ReportExport(result, context, out, err);
}

int RunCommand(int argc, char** argv, FILE* out, FILE* err) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(argc, argv, options, error)) return UsageError(error, err);
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
  if (const int status = CheckStandardInput(options, err); status != 0) return status;

  LanguageChoice choice;
  if (const int status = ChooseLanguages(options, choice, err); status != 0) return status;
  return Convert(options, choice, out, err);
}

}  // namespace

int RunCommandLine(int argc, char** argv, FILE* out, FILE* err) {
  const int status = RunCommand(argc, argv, out, err);
  // What went to out (messages, --analyse, --list-languages) must have arrived, as with every
  // GNU tool: "velmar2tmx-cli --list-languages > /dev/full" is an error.
  errno = 0;
  if (std::fflush(out) != 0 || std::ferror(out)) {
    const int number = errno;
    std::fprintf(err, "velmar2tmx-cli: write error on standard output%s%s\n", number ? ": " : "",
                 number ? std::strerror(number) : "");
    return status == kExitConverted ? kExitFile : status;
  }
  return status;
}
