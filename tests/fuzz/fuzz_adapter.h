// SPDX-License-Identifier: MIT
// The one place where the fuzz targets reach the converter: a segment pair through the inline
// conversion, and a whole TXT file through the export into memory.
#pragma once

#include <string>
#include <string_view>

#include "engine/export_report.h"

namespace fuzz {

// The <seg> contents (UTF-8, as the TMX writer encodes them) of a source and a target segment
// converted as one unit's pair.
struct SegmentPair {
  std::string source;
  std::string target;
};
SegmentPair ConvertSegmentPair(std::string_view source, std::string_view target, int codePage);

// The TMX document (UTF-8 with its byte-order mark) the export writes for a TXT file's bytes,
// with EN-US as source and DE as target language, both in codePage. Empty when the export
// reports a failure.
std::string ExportTxtToMemory(std::string_view txt, int codePage);

// The same for the TXT file at txtPath (a file or a FIFO), converted on threads threads with an
// account of the run in report.
std::string ExportPathToMemory(const std::string& txtPath, int codePage, int threads,
                               ExportReport* report);

// A folder of this process for the files of a run.
const std::string& WorkFolder();

}  // namespace fuzz
