// SPDX-License-Identifier: MIT
// RTF-heavy segments for the benchmarks.
#pragma once

#include <string>

// One varied segment with formatting groups, hidden text, tag groups, fields and byte escapes.
std::string MakeRtfHeavySegment(unsigned seed, int index);
