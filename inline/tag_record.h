// SPDX-License-Identifier: MIT
// TagRecord: the native RTF code behind one placeholder of a segment's markup, and the pairing
// of a target placeholder with the source placeholder of identical code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TagRecord {
  std::u16string text;   // the native RTF code the placeholder stands for (own copy)
  int number = 0;        // the placeholder number N
  int pairedNumber = 0;  // source: N for opening records, 0 for closing; target: source N or 0
  uint8_t opening = 0;   // 1 for <N> and <N/>, 0 for </N>
  uint8_t paired = 0;    // target: a source record was found; source: a target record took it
};

// Records of one side, in the order they were made (never reordered).
using TagList = std::vector<TagRecord>;

// Appends a record with its own copy of the text at the end of the list.
inline void AppendTagRecord(TagList& list, std::u16string_view text, int number, int pairedNumber,
                            bool opening, bool paired) {
  TagRecord& r = list.emplace_back();
  r.text.assign(text);
  r.number = number;
  r.pairedNumber = pairedNumber;
  r.opening = opening ? 1 : 0;
  r.paired = paired ? 1 : 0;
}
