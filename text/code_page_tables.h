// SPDX-License-Identifier: MIT
// Decoding tables of the single- and double-byte code pages: what each byte and each lead/trail
// pair gives when Windows converts it to UTF-16 (MultiByteToWideChar without flags).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

struct DecodeTable {
  // The unit of each byte that stands alone; for a lead byte, the unit it gives at the end of the
  // text (the code page's default character).
  std::array<char16_t, 256> single;
  // 0 for a byte that is no lead byte; otherwise 1 + the index of its row in pairs.
  std::array<std::uint8_t, 256> leadRow;
  // One row per lead byte: the unit of the pair for each trail byte. Pairs without a mapping
  // give the default character; both bytes are consumed either way.
  std::span<const std::array<char16_t, 256>> pairs;
  // Bytes 0x00-0x7F stand for themselves and none of them is a lead byte.
  bool asciiIdentity;
};

// The table of a code page, compiled in (text/tables/): ready at once and never changed, so safe
// to read from several threads. nullptr when the code page has no table: code page 65001, code
// pages with longer or stateful sequences, and code pages that cannot be converted at all.
const DecodeTable* FindDecodeTable(unsigned codePage);

// Decodes n bytes with the table. d may be nullptr to count only; otherwise at most capacity
// units are written and decoding stops when the destination is full. Returns the units written
// (or needed).
std::size_t DecodeWithTable(const DecodeTable& table, const unsigned char* s, std::size_t n,
                            char16_t* d, std::size_t capacity);
