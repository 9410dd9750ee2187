// SPDX-License-Identifier: MIT
#include "cli/conversion_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command_line.h"
#include "cli/file_conversion.h"
#include "cli/quoting.h"
#include "cli/report_file.h"
#include "cli/report_spool.h"
#include "cli/run_summary.h"
#include "cli/terminal_progress.h"

namespace {

// What must hold before the first file is touched: standard input needs -o, no two TXT files
// may write the same TMX file, and the output folder must be one.
int CheckRun(const CliOptions& options, FILE* err) {
  if (options.ReadsStandardInput() && !options.tmxPath) {
    return PrintUsageError("reading standard input needs -o FILE (or -o - for standard output)",
                           err);
  }
  std::map<std::string, std::string> outputs;  // TMX path -> the TXT path that writes it
  for (const std::string& txt : options.txtPaths) {
    const auto [at, added] = outputs.emplace(TmxPathOf(options, txt), txt);
    if (!added) {
      return PrintUsageError(QuoteName(at->second) + " and " + QuoteName(txt) +
                                 " would both be written to " + QuoteName(at->first),
                             err);
    }
  }
  if (options.outputDir) {
    struct stat st {};
    const int number = ::stat(options.outputDir->c_str(), &st) != 0 ? errno
                       : S_ISDIR(st.st_mode)                        ? 0
                                                                    : ENOTDIR;
    if (number != 0) {
      std::fprintf(err, "velmar2tmx-cli: --output-dir %s: %s\n",
                   QuoteName(*options.outputDir).c_str(), std::strerror(number));
      return kExitFile;
    }
  }
  return 0;
}

// Writes the report; on failure says so and gives status 3.
int WriteReport(const std::string& path, ReportSpool& spool, FILE* err) {
  std::string error;
  if (WriteFileWith(
          path, [&spool](int fd) { return spool.WriteTo(fd); }, error))
    return 0;
  std::fprintf(err, "velmar2tmx-cli: cannot write the report %s: %s\n", QuoteName(path).c_str(),
               error.c_str());
  return kExitFile;
}

// ConvertFile, with running out of memory or threads outside the engine (choosing the languages,
// the messages) a failure of this file only: the next file is tried.
FileOutcome ConvertFileSafely(const CliOptions& options, const GivenLanguages& given,
                              const FilePosition& position, ExportReport* report, FILE* out,
                              FILE* err) {
  try {
    return ConvertFile(options, given, position, report, out, err);
  } catch (const std::bad_alloc&) {
  } catch (const std::system_error&) {
  }
  std::fprintf(err, "velmar2tmx-cli: out of memory converting %s\n",
               ShownPath(options.TxtFile()).c_str());
  FileOutcome file;
  file.txtPath = options.txtPath;
  file.tmxPath = TmxPathOf(options, options.txtPath);
  file.status = kExitFile;
  if (report) {
    *report = ExportReport{};
    report->txtPath = options.TxtFile();
    report->tmxPath = file.tmxPath;
    report->outcome = "failed";
    report->error = "out of memory";
  }
  return file;
}

}  // namespace

int RunConversions(const CliOptions& options, const GivenLanguages& given, FILE* out, FILE* err) {
  if (const int status = CheckRun(options, err); status != 0) return status;
  std::vector<FileOutcome> files;
  // Each file's entry goes out as soon as the file is done: the report's findings do not pile up.
  std::unique_ptr<ReportSpool> spool;
  if (options.reportPath) spool = std::make_unique<ReportSpool>();
  int status = kExitConverted;
  for (size_t i = 0; i < options.txtPaths.size() && !TerminalProgress::Interrupted(); ++i) {
    CliOptions file = options;
    file.txtPath = options.txtPaths[i];
    ExportReport report;
    files.push_back(ConvertFileSafely(file, given, {i + 1, options.txtPaths.size()},
                                      spool ? &report : nullptr, out, err));
    if (spool) spool->Add(report);
    status = WorseStatus(status, files.back().status);
    if (options.Batch() && !options.quiet)
      std::fprintf(out, "%s\n", FileLine(files.back()).c_str());
    if (files.back().status == kExitInterrupted) break;
  }
  if (TerminalProgress::Interrupted()) status = kExitInterrupted;
  if (options.Batch() && !options.quiet) {
    std::fprintf(out, "%s\n", BatchSummaryLine(files).c_str());
  }
  if (spool) status = WorseStatus(status, WriteReport(*options.reportPath, *spool, err));
  return status;
}
