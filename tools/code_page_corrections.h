// SPDX-License-Identifier: MIT
// Where Windows decodes a code page differently from ICU's converter: the single bytes and the
// lead/trail pairs that differ, and the default character that Windows writes for an unmapped
// pair. Code pages that ICU lacks start from the ICU converter of a close relative.
#pragma once

#include <span>

struct ByteCorrection {
  unsigned char byte;
  char16_t unit;
};

// The pairs lead/firstTrail to lead/lastTrail give firstUnit, firstUnit + 1 and so on.
struct PairCorrection {
  unsigned char lead;
  unsigned char firstTrail;
  unsigned char lastTrail;
  char16_t firstUnit;
};

struct CodePageCorrections {
  unsigned codePage;
  const char* icuBase;   // ICU converter to start from; nullptr: the code page's own
  char16_t defaultChar;  // the unit of an unmapped lead/trail pair or a lead byte at the end
  std::span<const ByteCorrection> bytes;  // a byte given here is no lead byte
  std::span<const PairCorrection> pairs;  // a lead byte given here is one
};

// The corrections of a code page; nullptr when Windows and ICU agree on every single byte and
// every pair and the default character is "?".
const CodePageCorrections* FindCodePageCorrections(unsigned codePage);
