// SPDX-License-Identifier: MIT
#include "tools/icu_tables.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>

#include <stdexcept>
#include <string>

#include "tools/code_page_corrections.h"
#include "tools/code_page_johab.h"
#include "tools/icu_converter.h"

namespace {

constexpr unsigned kCodePageJohab = 1361;

// The units ICU gives for the bytes, or nothing when it stops at a byte sequence without mapping
// (with the stop callback) or substitutes (with the default one).
int IcuUnits(UConverter* converter, const char* bytes, int n, UChar* out, UErrorCode& status) {
  status = U_ZERO_ERROR;
  ucnv_reset(converter);
  return ucnv_toUChars(converter, out, 4, bytes, n, &status);
}

// ICU's tables of the DOS code pages follow IBM's control layout, where 0x1A, 0x1C and 0x7F are
// rotated; Windows maps the three to themselves.
void UndoIbmControlLayout(std::array<char16_t, 256>& single) {
  if (single[0x1A] == 0x1C && single[0x1C] == 0x7F && single[0x7F] == 0x1A) {
    single[0x1A] = 0x1A;
    single[0x1C] = 0x1C;
    single[0x7F] = 0x7F;
  }
}

// Single bytes as ICU substitutes them; the bytes 0x80-0x9F that the code page leaves undefined
// map to the control character of the same value.
void FillSingleBytes(UConverter* substituting, std::array<char16_t, 256>& single) {
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    UChar out[4];
    UErrorCode status = U_ZERO_ERROR;
    const int n = IcuUnits(substituting, &byte, 1, out, status);
    char16_t unit = (U_SUCCESS(status) && n >= 1) ? static_cast<char16_t>(out[0]) : u'?';
    if (b >= 0x80 && b < 0xA0 && (unit == 0x1A || unit == 0xFFFD)) unit = static_cast<char16_t>(b);
    single[static_cast<size_t>(b)] = unit;
  }
  single[0] = 0;
  UndoIbmControlLayout(single);
}

// Lead bytes are those that ICU finds truncated when they stand alone; each gets a row of the
// units of its pairs, the default character where ICU has no mapping for the pair.
void FillPairs(UConverter* stopping, char16_t defaultChar, BuiltTable& table) {
  for (int lead = 0; lead < 256; ++lead) {
    const char byte = static_cast<char>(lead);
    UChar out[4];
    UErrorCode status = U_ZERO_ERROR;
    IcuUnits(stopping, &byte, 1, out, status);
    if (status != U_TRUNCATED_CHAR_FOUND || table.pairs.size() >= 255) continue;
    std::array<char16_t, 256> row{};
    for (int trail = 0; trail < 256; ++trail) {
      const char pair[2] = {byte, static_cast<char>(trail)};
      const int n = IcuUnits(stopping, pair, 2, out, status);
      row[static_cast<size_t>(trail)] =
          (U_SUCCESS(status) && n == 1) ? static_cast<char16_t>(out[0]) : defaultChar;
    }
    table.pairs.push_back(row);
    table.leadRow[static_cast<size_t>(lead)] = static_cast<std::uint8_t>(table.pairs.size());
    table.single[static_cast<size_t>(lead)] = defaultChar;
  }
}

void ApplyCorrections(const CodePageCorrections& corrections, BuiltTable& table) {
  for (const PairCorrection& c : corrections.pairs) {
    if (table.leadRow[c.lead] == 0 && table.pairs.size() < 255) {
      std::array<char16_t, 256> row;
      row.fill(corrections.defaultChar);
      table.pairs.push_back(row);
      table.leadRow[c.lead] = static_cast<std::uint8_t>(table.pairs.size());
      table.single[c.lead] = corrections.defaultChar;
    }
    if (table.leadRow[c.lead] == 0) continue;
    std::array<char16_t, 256>& row = table.pairs[table.leadRow[c.lead] - 1u];
    for (unsigned trail = c.firstTrail; trail <= c.lastTrail; ++trail) {
      row[trail] = static_cast<char16_t>(c.firstUnit + (trail - c.firstTrail));
    }
  }
  for (const ByteCorrection& c : corrections.bytes) {
    table.leadRow[c.byte] = 0;
    table.single[c.byte] = c.unit;
  }
}

IcuConverter OpenBase(unsigned codePage, const CodePageCorrections* corrections) {
  if (corrections && corrections->icuBase) return OpenIcuConverterNamed(corrections->icuBase);
  return OpenIcuConverter(codePage);
}

std::unique_ptr<BuiltTable> BuildFromIcu(unsigned codePage,
                                         const CodePageCorrections* corrections) {
  IcuConverter substituting = OpenBase(codePage, corrections);
  if (!substituting) return nullptr;
  const int maxBytes = ucnv_getMaxCharSize(substituting.get());
  const UConverterType type = ucnv_getType(substituting.get());
  const bool pairs = maxBytes == 2 && (type == UCNV_DBCS || type == UCNV_MBCS);
  if (maxBytes != 1 && !pairs) return nullptr;

  auto table = std::make_unique<BuiltTable>();
  FillSingleBytes(substituting.get(), table->single);
  if (pairs) {
    IcuConverter stopping = OpenBase(codePage, corrections);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(stopping.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    if (U_FAILURE(status)) return nullptr;
    FillPairs(stopping.get(), corrections ? corrections->defaultChar : u'?', *table);
  }
  return table;
}

// The units ICU gives for bytes with its default substitution.
std::u16string Decoded(UConverter* converter, const unsigned char* bytes, int n) {
  UChar out[8];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(converter);
  const int units =
      ucnv_toUChars(converter, out, 8, reinterpret_cast<const char*>(bytes), n, &status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU cannot decode GB18030 bytes");
  return std::u16string(reinterpret_cast<const char16_t*>(out), static_cast<size_t>(units));
}

// One unit for a single byte and for each two-byte sequence.
void FillGb18030TwoBytes(UConverter* converter, BuiltTable& table) {
  for (unsigned b = 0; b < 256; ++b) {
    const unsigned char byte = static_cast<unsigned char>(b);
    const std::u16string units = Decoded(converter, &byte, 1);
    if (units.size() != 1) throw std::runtime_error("GB18030 single byte of no or two units");
    table.single[b] = units[0];
  }
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    std::array<char16_t, 256> row{};
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const unsigned char pair[2] = {static_cast<unsigned char>(lead),
                                     static_cast<unsigned char>(trail)};
      const std::u16string units = Decoded(converter, pair, 2);
      if (units.size() != 1) throw std::runtime_error("GB18030 pair of no or two units");
      row[trail] = units[0];
    }
    table.pairs.push_back(row);
    table.leadRow[lead] = static_cast<std::uint8_t>(table.pairs.size());
  }
}

// The code point of a four-byte sequence; 0xFFFD where ICU substitutes.
char32_t FourByteCodePoint(UConverter* converter, std::uint32_t index) {
  const unsigned char bytes[4] = {static_cast<unsigned char>(0x81 + index / 12600),
                                  static_cast<unsigned char>(0x30 + index / 1260 % 10),
                                  static_cast<unsigned char>(0x81 + index / 10 % 126),
                                  static_cast<unsigned char>(0x30 + index % 10)};
  const std::u16string units = Decoded(converter, bytes, 4);
  if (units.size() == 2) return 0x10000 + ((units[0] - 0xD800u) << 10) + (units[1] - 0xDC00u);
  if (units.size() != 1) throw std::runtime_error("GB18030 four bytes of no or three units");
  return units[0];
}

}  // namespace

std::unique_ptr<BuiltTable> BuildDecodeTable(unsigned codePage) {
  const CodePageCorrections* corrections = FindCodePageCorrections(codePage);
  std::unique_ptr<BuiltTable> table =
      codePage == kCodePageJohab ? BuildJohabTable(u'?') : BuildFromIcu(codePage, corrections);
  if (!table) return nullptr;
  if (corrections) ApplyCorrections(*corrections, *table);
  return table;
}

std::optional<std::vector<LengthRun>> EncodedLengths(unsigned codePage) {
  IcuConverter converter = OpenIcuConverter(codePage);
  if (!converter) return std::nullopt;
  std::vector<LengthRun> runs;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    UChar units[2];
    int n = 1;
    if (c > 0xFFFF) {
      units[0] = static_cast<UChar>(0xD800 + ((c - 0x10000) >> 10));
      units[1] = static_cast<UChar>(0xDC00 + ((c - 0x10000) & 0x3FF));
      n = 2;
    } else {
      units[0] = static_cast<UChar>(c);
    }
    char out[16];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter.get());
    const int bytes = ucnv_fromUChars(converter.get(), out, 16, units, n, &status);
    if (U_FAILURE(status) || bytes < 0 || bytes > 255) {
      throw std::runtime_error("ICU cannot encode U+" + std::to_string(c) + " in " +
                               std::to_string(codePage) + ": " + u_errorName(status));
    }
    const auto length = static_cast<std::uint8_t>(bytes);
    if (runs.empty() || runs.back().length != length) runs.push_back({c, length});
  }
  return runs;
}

Gb18030Data BuildGb18030() {
  IcuConverter converter = OpenIcuConverterNamed("gb18030");
  if (!converter) throw std::runtime_error("ICU has no GB18030 converter");
  Gb18030Data data;
  FillGb18030TwoBytes(converter.get(), data.twoBytes);
  constexpr std::uint32_t kSequences = 126u * 10 * 126 * 10;
  for (std::uint32_t index = 0; index < kSequences; ++index) {
    const char32_t c = FourByteCodePoint(converter.get(), index);
    if (c == 0xFFFD) continue;
    auto& ranges = data.fourBytes;
    if (!ranges.empty() && ranges.back().firstIndex + ranges.back().count == index &&
        ranges.back().firstCodePoint + ranges.back().count == c) {
      ++ranges.back().count;
    } else {
      ranges.push_back({index, 1, c});
    }
  }
  return data;
}

std::vector<LowerRange> LowerCaseMapping() {
  std::vector<LowerRange> ranges;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const UChar32 lower = u_tolower(static_cast<UChar32>(c));
    if (lower == static_cast<UChar32>(c) || lower > 0xFFFF) continue;
    const std::int32_t delta = lower - static_cast<std::int32_t>(c);
    if (!ranges.empty()) {
      LowerRange& last = ranges.back();
      const unsigned gap = c - last.last;
      const bool extends = last.delta == delta && (gap == 1 || gap == 2) &&
                           (last.first == last.last || gap == last.step);
      if (extends) {
        last.step = static_cast<std::uint8_t>(gap);
        last.last = static_cast<char16_t>(c);
        continue;
      }
    }
    ranges.push_back({static_cast<char16_t>(c), static_cast<char16_t>(c), 1, delta});
  }
  return ranges;
}
