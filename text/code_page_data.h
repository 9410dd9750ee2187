// SPDX-License-Identifier: MIT
// The code page data compiled into the program: decoding tables, the lengths of the encoded
// characters, GB18030's four-byte ranges and the lower-case mapping. The data lives in
// text/tables/, written by tools/make_code_page_tables (run with ICU on the build machine); the
// program itself needs no ICU.
#pragma once

#include <cstdint>
#include <span>

#include "text/code_page_tables.h"

// The code points from first up to the next run's first take length bytes each when the code page
// encodes them (an unpaired surrogate counted as the code point of its unit); length 0 marks those
// whose length is not known, which are counted as by the table.
struct EncodedLengthRun {
  char32_t first;
  std::uint8_t length;
};

struct CodePageData {
  unsigned codePage;
  // nullptr for GB18030, which is decoded by its own rule (code_page_gb18030.h).
  const DecodeTable* table;
  // Empty where the lengths follow from the table: one byte a unit for a single-byte code page;
  // one for a unit that a single byte gives and two for any other in a double-byte one.
  std::span<const EncodedLengthRun> encodedLengths;
};

// The catalogue's code pages that can be decoded (all but UTF-8), in ascending order.
std::span<const CodePageData> CodePageDataTable();
// The entry of a code page; nullptr when it is none of them.
const CodePageData* FindCodePageData(unsigned codePage);

// GB18030's four-byte sequences b1 b2 b3 b4 count as ((b1-0x81)*10 + b2-0x30)*1260 +
// (b3-0x81)*10 + b4-0x30; those from firstIndex to firstIndex+count-1 give the code points from
// firstCodePoint on. Any other four-byte sequence has no mapping.
struct FourByteRange {
  std::uint32_t firstIndex;
  std::uint32_t count;
  char32_t firstCodePoint;
};

// GB18030's single bytes and two-byte sequences (lead 0x81-0xFE, trail 0x40-0x7E or 0x80-0xFE).
const DecodeTable& Gb18030Table();
std::span<const FourByteRange> Gb18030FourByteRanges();

// The units from first to last, every step-th, lower-case to the unit + delta.
struct LowerCaseRange {
  char16_t first;
  char16_t last;
  std::uint8_t step;
  std::int32_t delta;
};

// The simple lower-case mapping of the basic multilingual plane, in ascending order.
std::span<const LowerCaseRange> LowerCaseRanges();
