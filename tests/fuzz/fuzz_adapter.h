// SPDX-License-Identifier: MIT
// The one place where the fuzz targets reach the converter: a segment pair through the inline
// conversion, and a whole TXT file through the export into memory.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace fuzz
