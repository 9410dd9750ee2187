// SPDX-License-Identifier: MIT
#include "cli/run_summary.h"

#include <initializer_list>
#include <utility>

#include "cli/command_line.h"
#include "cli/quoting.h"
#include "engine/export_outcome.h"

namespace {

std::string Count(int64_t n) {
  return std::to_string(n);
}

// What the file list says of a file not converted, from its exit status.
const char* OutcomeText(int status) {
  switch (status) {
    case kExitNothing:
      return OutcomeName(ExportResult::Stop::NothingWritten);
    case kExitInterrupted:
      return OutcomeName(ExportResult::Stop::Abandoned);
    default:
      return OutcomeName(ExportResult::Stop::Failed);
  }
}

int Rank(int status) {
  switch (status) {
    case kExitInterrupted:
      return 4;
    case kExitFile:
      return 3;
    case kExitUsage:
      return 2;
    case kExitNothing:
      return 1;
    default:
      return 0;
  }
}

// "a: 1, b: 2" for the counts that are not zero.
std::string Reasons(std::initializer_list<std::pair<const char*, int64_t>> counts) {
  std::string reasons;
  for (const auto& [reason, count] : counts) {
    if (count == 0) continue;
    if (!reasons.empty()) reasons += ", ";
    reasons += std::string(reason) + ": " + Count(count);
  }
  return reasons;
}

}  // namespace

std::string SummaryLine(int64_t written, const SkipCounts& skipped) {
  std::string line = Count(written) + (written == 1 ? " unit" : " units") + " written, " +
                     Count(skipped.Total()) + " skipped";
  const std::string reasons = Reasons({{"no source segment", skipped.noSource},
                                       {"no target segment", skipped.noTarget},
                                       {"unknown language code", skipped.unresolved}});
  if (!reasons.empty()) line += " (" + reasons + ")";
  // Segments of other languages than the pair are not what a pair conversion is asked for.
  const LeftOutCounts& segments = skipped.segments;
  const int64_t leftOut = segments.Total() - segments.otherLanguage;
  if (leftOut == 0) return line;
  return line + ", " + Count(leftOut) + (leftOut == 1 ? " segment" : " segments") + " left out (" +
         Reasons({{"unknown language code", segments.unknownCode},
                  {"repeated language", segments.repeated},
                  {"empty", segments.empty}}) +
         ")";
}

std::string FileLine(const FileOutcome& file) {
  std::string line = EscapeControls(file.txtPath) + "\t" + EscapeControls(file.tmxPath) + "\t" +
                     Count(file.unitsWritten) + " written\t" + Count(file.skipped.Total()) +
                     " skipped";
  if (file.status != kExitConverted) line += std::string("\t") + OutcomeText(file.status);
  return line;
}

std::string BatchSummaryLine(const std::vector<FileOutcome>& files) {
  int64_t written = 0;
  SkipCounts skipped;
  size_t failed = 0;
  for (const FileOutcome& f : files) {
    written += f.unitsWritten;
    skipped.Add(f.skipped);
    if (f.status != kExitConverted) ++failed;
  }
  std::string head = Count(static_cast<int64_t>(files.size())) + " files";
  if (failed > 0) head += " (" + Count(static_cast<int64_t>(failed)) + " not converted)";
  return head + ": " + SummaryLine(written, skipped);
}

int WorseStatus(int a, int b) {
  return Rank(a) >= Rank(b) ? a : b;
}
