// SPDX-License-Identifier: MIT
// RTF-heavy segments for the benchmarks.
#pragma once

#include <string>

// One varied segment with formatting groups (some nested), hidden text, tag groups in \cs6 with
// tags and symbol tags, fields with and without \fldrslt, do-not-translate text, control words
// and byte escapes such as \'e9. Segments of the same index share their formatting, as a source
// segment and its translation do, so the target's inline code pairs with the source's; the seed
// picks the wording (even seeds English words, odd seeds German ones).
std::string MakeRtfHeavySegment(unsigned seed, int index);
