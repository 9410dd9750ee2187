// SPDX-License-Identifier: MIT
// A code page's decoding table as the generator builds it, before it is written out as source.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct BuiltTable {
  // The unit of each byte that stands alone; for a lead byte, the unit it gives at the end of the
  // text (the code page's default character).
  std::array<char16_t, 256> single{};
  // 0 for a byte that is no lead byte; otherwise 1 + the index of its row in pairs.
  std::array<std::uint8_t, 256> leadRow{};
  // One row per lead byte: the unit of the pair for each trail byte.
  std::vector<std::array<char16_t, 256>> pairs;
};
