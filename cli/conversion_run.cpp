// SPDX-License-Identifier: MIT
#include "cli/conversion_run.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "cli/command_line.h"
#include "cli/export_report.h"
#include "cli/file_conversion.h"
#include "cli/platform.h"
#include "cli/quoting.h"
#include "cli/report_file.h"
#include "cli/report_spool.h"
#include "cli/run_summary.h"
#include "cli/terminal_progress.h"
#include "engine/file_identity.h"
#include "engine/file_system.h"

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
  std::map<std::string, size_t> read;  // identity of a TXT file -> its place
  for (size_t j = 0; j < txts.size(); ++j) {
    if (!files.inputs[j].empty()) read.emplace(files.inputs[j], j);
  }
  for (size_t i = 0; i < txts.size(); ++i) {
    const auto at = files.outputs[i].empty() ? read.end() : read.find(files.outputs[i]);
    if (at == read.end() || at->second == i) continue;  // its own TXT file: refused when opened
    return PrintUsageError(QuoteName(txts[i]) + " would be written to " +
                               QuoteName(TmxPathOf(options, txts[i])) + ", which is the TXT file " +
                               QuoteName(txts[at->second]),
                           err);
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

int ReportFailure(const std::string& path, const EngineError& error, FILE* err) {
  std::fprintf(err, "velmar2tmx-cli: cannot write the report %s: %s\n", QuoteName(path).c_str(),
               error.reason.c_str());
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
  EngineError failure;
  failure.Set(EngineError::Kind::OutOfMemory, options.TxtFile(), 0);
  PrintEngineError(failure, err);
  FileOutcome file;
  file.txtPath = options.txtPath;
  file.tmxPath = TmxPathOf(options, options.txtPath);
  file.status = kExitFile;
  if (report) {
    *report = ExportReport{};
    report->txtPath = options.TxtFile();
    report->tmxPath = file.tmxPath;
    report->outcome = "failed";
    report->error = failure.reason;
  }
  return file;
}

}  // namespace

int RunConversions(const CliOptions& options, const GivenLanguages& given, FILE* out, FILE* err) {
  if (const int status = CheckRun(options, out, err); status != 0) return status;
  ReportFile reportFile;
  if (options.reportPath) {
    const EngineError error = reportFile.Open(*options.reportPath);
    if (error.Failed()) return ReportFailure(*options.reportPath, error, err);
  }
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
  // A stop that came once the last file was in place has nothing left to stop.
  if (files.size() < options.txtPaths.size()) status = kExitInterrupted;
  if (options.Batch() && !options.quiet) {
    std::fprintf(out, "%s\n", BatchSummaryLine(files).c_str());
  }
  if (spool) {
    const EngineError error = reportFile.WriteWith([&spool](int fd) { return spool->WriteTo(fd); });
    if (error.Failed())
      status = WorseStatus(status, ReportFailure(*options.reportPath, error, err));
  }
  return status;
}
