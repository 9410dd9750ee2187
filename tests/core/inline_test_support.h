// SPDX-License-Identifier: MIT
// Helpers of the inline formatting tests: scanning a segment and reading its records.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "inline/inline_state.h"
#include "inline/segment_scanner.h"
#include "text/wide_string.h"

namespace inlinetest {

// A record as the tests compare it (text in UTF-8).
struct Record {
  int number = 0;
  bool opening = false;
  std::string text;
  int pairedNumber = 0;
  bool paired = false;
  bool operator==(const Record&) const = default;
};

inline void PrintTo(const Record& r, std::ostream* os) {
  *os << "(" << r.number << (r.opening ? " opening " : " closing ") << '"' << r.text << '"'
      << " paired number " << r.pairedNumber << (r.paired ? " paired" : "") << ")";
}

inline std::vector<Record> Records(const TagList& list) {
  std::vector<Record> out;
  for (const TagRecord& r : list) {
    out.push_back(
        {r.number, r.opening != 0, ToUtf8(list.Text(r)), list.PairedNumber(r), r.paired != 0});
  }
  return out;
}

// The scanner's markup (before clean-up) of a segment, in UTF-8.
inline std::string Scan(InlineState& state, std::string_view segment, int codePage = 1252,
                        bool source = true, std::u16string_view internalCode = u"\\cs6",
                        std::u16string_view doNotTranslateCode = u"\\cs8") {
  return ToUtf8(ScanSegment(state, internalCode, doNotTranslateCode, segment, codePage, source));
}

}  // namespace inlinetest
