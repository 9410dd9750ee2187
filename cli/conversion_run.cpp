// SPDX-License-Identifier: MIT
#include "cli/conversion_run.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/file_conversion.h"
#include "cli/platform.h"
#include "cli/quoting.h"
#include "cli/report_file.h"
#include "cli/run_summary.h"
#include "cli/terminal_progress.h"
#include "engine/file_identity.h"
#include "engine/file_system.h"
#include "engine/report_json.h"

namespace {

// The files a run reads and writes, each known by the file it names (FileIdentity), so that two
// spellings of one file are caught before anything is converted.
struct RunFiles {
  std::vector<std::string> inputs;   // identities of the TXT files (empty: a stream)
  std::vector<std::string> outputs;  // identities of their TMX files (empty: a stream)
};

std::string InputFile(const std::string& txtPath) {
  return txtPath == "-" ? "/dev/stdin" : txtPath;
}

// No two TXT files may write one TMX file, nor one of them write over another's TXT file.
int CheckOutputs(const CliOptions& options, RunFiles& files, FILE* err) {
  std::map<std::string, size_t> written;  // identity (or spelling) of a TMX file -> its TXT file
  const std::vector<std::string>& txts = options.txtPaths;
  for (size_t i = 0; i < txts.size(); ++i) {
    const std::string tmx = TmxPathOf(options, txts[i]);
    files.inputs.push_back(FileIdentity(InputFile(txts[i])));
    files.outputs.push_back(options.WritesStandardOutput() ? std::string() : FileIdentity(tmx));
    const std::string key = files.outputs.back().empty() ? "path:" + tmx : files.outputs.back();
    const auto [at, added] = written.emplace(key, i);
    if (!added) {
      return PrintUsageError(QuoteName(txts[at->second]) + " and " + QuoteName(txts[i]) +
                                 " would both be written to " +
                                 QuoteName(TmxPathOf(options, txts[at->second])),
                             err);
    }
  }
  for (size_t i = 0; i < txts.size(); ++i) {
    for (size_t j = 0; j < txts.size(); ++j) {
      if (j == i || files.outputs[i].empty() || files.outputs[i] != files.inputs[j]) continue;
      return PrintUsageError(QuoteName(txts[i]) + " would be written to " +
                                 QuoteName(TmxPathOf(options, txts[i])) +
                                 ", which is the TXT file " + QuoteName(txts[j]),
                             err);
    }
  }
  return 0;
}

// The report must not be written over a file the run reads or writes.
int CheckReport(const CliOptions& options, RunFiles& files, FILE* out, FILE* err) {
  if (!options.reportPath) return 0;
  const std::string report = FileIdentity(*options.reportPath);
  if (report.empty()) return 0;  // a stream (or a folder, refused when it is opened)
  if (options.WritesStandardOutput())
    files.outputs.push_back(DescriptorIdentity(DescriptorOf(out)));
  std::string named;  // what the report would be written over
  for (size_t i = 0; i < files.inputs.size() && named.empty(); ++i) {
    if (files.inputs[i] == report) named = "the TXT file " + QuoteName(options.txtPaths[i]);
  }
  for (size_t i = 0; i < files.outputs.size() && named.empty(); ++i) {
    if (files.outputs[i] != report) continue;
    named = i < options.txtPaths.size()
                ? "the TMX file " + QuoteName(TmxPathOf(options, options.txtPaths[i]))
                : std::string("standard output, where the TMX goes");
  }
  if (named.empty()) return 0;
  return PrintUsageError(
      "--report " + QuoteName(*options.reportPath) + " names " + named + "; choose another file",
      err);
}

// What must hold before the first file is touched: standard input needs -o, no file of the run
// may be written twice or over another, and the output folder must be one.
int CheckRun(const CliOptions& options, FILE* out, FILE* err) {
  if (options.ReadsStandardInput() && !options.tmxPath) {
    return PrintUsageError("reading standard input needs -o FILE (or -o - for standard output)",
                           err);
  }
  RunFiles files;
  if (const int status = CheckOutputs(options, files, err); status != 0) return status;
  if (const int status = CheckReport(options, files, out, err); status != 0) return status;
  if (options.outputDir) {
    FileFacts facts;
    const int number = !TheFileSystem().Facts(*options.outputDir, true, facts) ? errno
                       : facts.folder                                          ? 0
                                                                               : ENOTDIR;
    if (number != 0) {
      std::fprintf(err, "velmar2tmx-cli: --output-dir %s: %s\n",
                   QuoteName(*options.outputDir).c_str(), std::strerror(number));
      return kExitFile;
    }
  }
  return 0;
}

int ReportFailure(const std::string& path, const std::string& error, FILE* err) {
  std::fprintf(err, "velmar2tmx-cli: cannot write the report %s: %s\n", QuoteName(path).c_str(),
               error.c_str());
  return kExitFile;
}

}  // namespace

int RunConversions(const CliOptions& options, const GivenLanguages& given, FILE* out, FILE* err) {
  if (const int status = CheckRun(options, out, err); status != 0) return status;
  ReportFile reportFile;
  std::string error;
  if (options.reportPath && !reportFile.Open(*options.reportPath, error)) {
    return ReportFailure(*options.reportPath, error, err);
  }
  std::vector<FileOutcome> files;
  std::vector<ExportReport> reports;
  int status = kExitConverted;
  for (size_t i = 0; i < options.txtPaths.size() && !TerminalProgress::Interrupted(); ++i) {
    CliOptions file = options;
    file.txtPath = options.txtPaths[i];
    ExportReport* report = options.reportPath ? &reports.emplace_back() : nullptr;
    files.push_back(ConvertFile(file, given, {i + 1, options.txtPaths.size()}, report, out, err));
    status = WorseStatus(status, files.back().status);
    if (options.Batch() && !options.quiet)
      std::fprintf(out, "%s\n", FileLine(files.back()).c_str());
    if (files.back().status == kExitInterrupted) break;
  }
  // A stop that came once the last file was in place has nothing left to stop.
  if (files.size() < options.txtPaths.size()) status = kExitInterrupted;
  if (options.Batch() && !options.quiet) {
    std::fprintf(out, "%s\n", BatchSummaryLine(files).c_str());
  }
  if (options.reportPath && !reportFile.Write(ReportJson(reports), error))
    status = WorseStatus(status, ReportFailure(*options.reportPath, error, err));
  return status;
}
