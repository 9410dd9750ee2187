// SPDX-License-Identifier: MIT
#include "tools/code_page_johab.h"

#include <unicode/ucnv.h>

#include "tools/icu_converter.h"

namespace {

// Index of a 5-bit jamo field in the modern jamo order; -1 for the fill code, -2 for a code
// that stands for no jamo.
constexpr int kFill = -1;
constexpr int kNone = -2;

int InitialIndex(unsigned code) {
  if (code == 1) return kFill;
  return code >= 2 && code <= 20 ? static_cast<int>(code) - 2 : kNone;
}

int MedialIndex(unsigned code) {
  if (code == 2) return kFill;
  if (code >= 3 && code <= 7) return static_cast<int>(code) - 3;
  if (code >= 10 && code <= 15) return static_cast<int>(code) - 5;
  if (code >= 18 && code <= 23) return static_cast<int>(code) - 7;
  if (code >= 26 && code <= 29) return static_cast<int>(code) - 9;
  return kNone;
}

// Final consonants count from 1; 0 is the fill code (no final).
int FinalIndex(unsigned code) {
  if (code == 1) return 0;
  if (code >= 2 && code <= 17) return static_cast<int>(code) - 1;
  if (code >= 19 && code <= 29) return static_cast<int>(code) - 2;
  return kNone;
}

// A syllable from its three fields, or a lone conjoining jamo when the other two are fill codes.
char16_t Hangul(unsigned code, char16_t defaultChar) {
  const int l = InitialIndex((code >> 10) & 0x1F);
  const int v = MedialIndex((code >> 5) & 0x1F);
  const int t = FinalIndex(code & 0x1F);
  if (l == kNone || v == kNone || t == kNone) return defaultChar;
  if (l >= 0 && v >= 0) return static_cast<char16_t>(0xAC00 + (l * 21 + v) * 28 + t);
  if (l >= 0 && t == 0) return static_cast<char16_t>(0x1100 + l);
  if (v >= 0 && l == kFill && t == 0) return static_cast<char16_t>(0x1161 + v);
  if (t > 0 && l == kFill && v == kFill) return static_cast<char16_t>(0x11A8 + t - 1);
  return defaultChar;
}

// The KS X 1001 symbol or Hanja of a pair with lead 0xD9-0xDE or 0xE0-0xF9, decoded as in
// code page 949;
// the lead 0xD8 holds the user-defined characters, in the private use area.
char16_t Symbol(UConverter* wansung, unsigned lead, unsigned trail, char16_t defaultChar) {
  if (!((trail >= 0x31 && trail <= 0x7E) || (trail >= 0x91 && trail <= 0xFE))) return defaultChar;
  const unsigned t2 = trail < 0x91 ? trail - 0x31 : trail - 0x43;
  if (lead == 0xD8) return static_cast<char16_t>(0xE000 + t2);
  if (lead == 0xDA && trail >= 0xA1 && trail <= 0xD3) return defaultChar;  // jamo: Hangul area
  const unsigned t1 = lead < 0xE0 ? 2 * (lead - 0xD9) : 2 * lead - 0x197;
  const unsigned row = t1 + (t2 < 0x5E ? 0 : 1) + 0x21;
  const unsigned column = (t2 < 0x5E ? t2 : t2 - 0x5E) + 0x21;
  const char euc[2] = {static_cast<char>(row | 0x80), static_cast<char>(column | 0x80)};
  UChar out[4];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(wansung);
  const int n = ucnv_toUChars(wansung, out, 4, euc, 2, &status);
  return U_SUCCESS(status) && n == 1 ? static_cast<char16_t>(out[0]) : defaultChar;
}

}  // namespace

std::unique_ptr<BuiltTable> BuildJohabTable(char16_t defaultChar) {
  IcuConverter wansung = OpenIcuConverterNamed("windows-949");
  if (!wansung) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(wansung.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return nullptr;
  auto table = std::make_unique<BuiltTable>();
  for (unsigned b = 0; b < 256; ++b) {
    table->single[b] = b < 0x80 ? static_cast<char16_t>(b) : defaultChar;
  }
  for (unsigned lead = 0x84; lead <= 0xF9; ++lead) {
    const bool hangul = lead <= 0xD3;
    if (!hangul && (lead < 0xD8 || lead == 0xDF)) continue;
    std::array<char16_t, 256> row{};
    for (unsigned trail = 0; trail < 256; ++trail) {
      row[trail] = hangul ? Hangul(lead << 8 | trail, defaultChar)
                          : Symbol(wansung.get(), lead, trail, defaultChar);
    }
    table->pairs.push_back(row);
    table->leadRow[lead] = static_cast<std::uint8_t>(table->pairs.size());
  }
  return table;
}
