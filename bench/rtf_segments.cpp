// SPDX-License-Identifier: MIT
#include "bench/rtf_segments.h"

std::string MakeRtfHeavySegment(unsigned seed, int index) {
  return "Press {\\b Start} {\\i now}{\\v hidden} to begin " + std::to_string(seed + index) + ".";
}
