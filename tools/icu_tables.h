// SPDX-License-Identifier: MIT
// What the generator asks ICU: the decoding tables of the catalogue's code pages (with Windows'
// corrections), the lengths of encoded characters, GB18030's mapping and the lower-case mapping.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "tools/built_table.h"

// The code page's table as Windows decodes it; nullptr for code pages whose characters are not
// all one or two bytes long (or that ICU cannot convert at all).
std::unique_ptr<BuiltTable> BuildDecodeTable(unsigned codePage);

struct LengthRun {
  char32_t first;
  std::uint8_t length;
};
// The bytes each code point (and each unpaired surrogate) takes when ICU's converter of the code
// page encodes it, as runs (0 where ICU writes nothing for it); nothing when ICU has no converter
// of the code page's number.
std::optional<std::vector<LengthRun>> EncodedLengths(unsigned codePage);

struct Gb18030Data {
  BuiltTable twoBytes;  // single bytes and the pairs of the leads 0x81-0xFE
  struct Range {
    std::uint32_t firstIndex;
    std::uint32_t count;
    char32_t firstCodePoint;
  };
  std::vector<Range> fourBytes;
};
// ICU's GB18030; throws std::runtime_error where a sequence does not decode as expected.
Gb18030Data BuildGb18030();

struct LowerRange {
  char16_t first;
  char16_t last;
  std::uint8_t step;
  std::int32_t delta;
};
std::vector<LowerRange> LowerCaseMapping();
