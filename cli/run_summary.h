// SPDX-License-Identifier: MIT
// The lines that sum up a run on stdout: one per file of a batch, and the closing count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/file_conversion.h"

// "3 units written, 2 skipped (no target segment: 2)": the reasons that are not zero, in the
// order no source segment, no target segment, unknown language code; then the segments left
// out of written units, when there are any besides those of other languages than the pair:
// ", 2 segments left out (unknown language code: 1, repeated language: 1)".
std::string SummaryLine(int64_t written, const SkipCounts& skipped);

// A file of a batch, TAB-separated: "TXT TMX N written M skipped", and as a fifth field how
// it ended when no TMX was written ("nothing written", "failed", "interrupted"). Names are
// escaped as EscapeControls does, so a line holds exactly its fields.
std::string FileLine(const FileOutcome& file);

// The last line of a batch: "2 files (1 not converted): " and the SummaryLine of all files.
std::string BatchSummaryLine(const std::vector<FileOutcome>& files);

// The worse of two exit statuses: 130 before 3 before 2 before 1 before 0.
int WorseStatus(int a, int b);
