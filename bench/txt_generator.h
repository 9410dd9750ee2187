// SPDX-License-Identifier: MIT
// Writes Vovuzaduz TXT files of any size for the benchmarks.
#pragma once

#include <cstdint>
#include <string>

enum class SegmentStyle {
  Plain,          // ordinary sentences with a few byte escapes
  RtfHeavy,       // formatting groups, hidden text, tag groups, fields, byte escapes
  FourLanguages,  // plain sentences in English, German, French and Italian
};

// Writes units until the file holds at least minBytes (and at least minUnits units).
// Returns the number of units written; -1 when the file cannot be written.
int64_t WriteTxtFile(const std::string& path, int64_t minUnits, int64_t minBytes,
                     SegmentStyle style);

// Writes one unit whose source segment is a single line of lineBytes bytes.
bool WriteLongLineFile(const std::string& path, int64_t lineBytes);
