// SPDX-License-Identifier: MIT
#include "text/code_page.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "text/code_page_data.h"
#include "text/code_page_gb18030.h"
#include "text/code_page_tables.h"
#include "text/surrogates.h"
#include "text/utf8_decoder.h"
#include "text/utf8_encoder.h"

namespace {

// ---------------------------------------------------------------------------------------------
// UTF-8: own routines. A complete four-byte sequence becomes a surrogate pair; longer or
// out-of-range values keep their low 16 bits, as the lead-byte table (utf8_decoder.h) has always
// decoded them.

int Utf8ToWide(unsigned flags, const char* src, int srcLen, char16_t* dst, int dstSize) {
  const size_t length = srcLen < 0 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
  const std::string_view text(src, length);
  const bool strict = (flags & kFlagErrInvalidChars) != 0;
  int count = 0;
  auto store = [&](char16_t unit) -> bool {
    if (dstSize > 0) {
      if (count >= dstSize) return false;
      dst[count] = unit;
    }
    ++count;
    return true;
  };
  for (size_t i = 0; i < length;) {
    const utf8::Sequence seq = utf8::ReadUtf8Sequence(text, i);
    i += seq.length;
    if (seq.announced == utf8::kNoLead) {
      if (strict) return 0;
      if (!store(u'?')) return count;
      continue;
    }
    if (seq.taken < seq.announced && strict) return 0;
    // A four-byte sequence of a supplementary character becomes a surrogate pair; anything else
    // keeps the low 16 bits of what was read.
    if (seq.taken == 3 && seq.announced == 3 && seq.value > 0xFFFF && seq.value <= 0x10FFFF) {
      if (dstSize > 0 && count + 2 > dstSize) return count;
      store(utf16::HighSurrogateOf(seq.value));
      store(utf16::LowSurrogateOf(seq.value));
      continue;
    }
    if (!store(static_cast<char16_t>(seq.value & 0xFFFF))) return count;
  }
  return count;
}

// UTF-8 of the units; when the destination is full the rest is dropped, even in the middle of a
// sequence. dstSize 0 measures.
int WideToUtf8(const char16_t* src, int srcLen, char* dst, int dstSize) {
  const size_t length =
      srcLen < 0 ? std::char_traits<char16_t>::length(src) + 1 : static_cast<size_t>(srcLen);
  std::string encoded(3 * length, '\0');
  encoded.resize(EncodeUtf8<Utf8Mode::kAll>(src, length, encoded.data()));
  if (dstSize == 0) return static_cast<int>(encoded.size());
  const size_t copy = std::min(encoded.size(), static_cast<size_t>(dstSize));
  std::memcpy(dst, encoded.data(), copy);
  return static_cast<int>(copy);
}

constexpr unsigned kCodePageGb18030 = 54936;

unsigned Effective(unsigned codePage) {
  return codePage == kCodePageAnsi ? 1252u : codePage;
}

// Bytes of the units in a double-byte code page without lengths of its own: one for a unit that a
// single byte gives, two for any other.
int TableByteCount(const DecodeTable& table, std::u16string_view text) {
  int bytes = 0;
  for (const char16_t c : text) {
    bool single = false;
    for (size_t b = 0; b < 256 && !single; ++b) {
      single = table.leadRow[b] == 0 && table.single[b] == c;
    }
    bytes += single ? 1 : 2;
  }
  return bytes;
}

// The bytes of the text by the code page's runs of lengths, code point by code point (an unpaired
// surrogate counted as the code point of its unit); a code point of unknown length as the table
// counts it, or one byte a unit without a table.
int LengthCount(const CodePageData& data, std::u16string_view text) {
  const std::span<const EncodedLengthRun> runs = data.encodedLengths;
  int bytes = 0;
  for (size_t i = 0; i < text.size();) {
    char32_t c = text[i];
    size_t units = 1;
    if (utf16::IsHighSurrogate(c) && i + 1 < text.size() && utf16::IsLowSurrogate(text[i + 1])) {
      c = utf16::FromSurrogates(c, text[i + 1]);
      units = 2;
    }
    const auto it = std::upper_bound(
        runs.begin(), runs.end(), c,
        [](char32_t value, const EncodedLengthRun& run) { return value < run.first; });
    const int length = it == runs.begin() ? 0 : (it - 1)->length;
    if (length > 0) {
      bytes += length;
    } else {
      bytes +=
          data.table ? TableByteCount(*data.table, text.substr(i, units)) : static_cast<int>(units);
    }
    i += units;
  }
  return bytes;
}

}  // namespace

int ToWide(unsigned codePage, unsigned flags, const char* src, int srcLen, char16_t* dst,
           int dstSize) {
  if (!src || dstSize < 0) return 0;
  if (codePage == kCodePageUtf8) return Utf8ToWide(flags, src, srcLen, dst, dstSize);
  const unsigned effective = Effective(codePage);
  if (!CanDecodeBytes(effective)) return 0;
  const size_t length = srcLen < 0 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
  if (const DecodeTable* table = FindDecodeTable(effective)) {
    return static_cast<int>(DecodeWithTable(*table, reinterpret_cast<const unsigned char*>(src),
                                            length, dstSize == 0 ? nullptr : dst,
                                            static_cast<size_t>(dstSize)));
  }
  if (effective != kCodePageGb18030) return 0;
  return static_cast<int>(DecodeGb18030(reinterpret_cast<const unsigned char*>(src), length,
                                        dstSize == 0 ? nullptr : dst,
                                        static_cast<size_t>(dstSize)));
}

int ToNarrow(unsigned codePage, unsigned flags, const char16_t* src, int srcLen, char* dst,
             int dstSize, const char* defaultChar, bool* usedDefaultChar) {
  (void)flags;
  (void)defaultChar;
  if (usedDefaultChar) *usedDefaultChar = false;
  if (!src || dstSize < 0) return 0;
  if (codePage == kCodePageUtf8) return WideToUtf8(src, srcLen, dst, dstSize);
  return 0;
}

bool CanDecodeBytes(unsigned codePage) {
  switch (codePage) {
    case 1200:   // UTF-16 little-endian
    case 1201:   // UTF-16 big-endian
    case 12000:  // UTF-32 little-endian
    case 12001:  // UTF-32 big-endian
    case 65000:  // UTF-7
      return false;
    default:
      return true;
  }
}

bool IsSupportedCodePage(unsigned codePage) {
  if (codePage == kCodePageUtf8 || codePage == kCodePageAnsi) return true;
  if (!CanDecodeBytes(codePage)) return false;
  return FindCodePageData(codePage) != nullptr;
}

const DecodeTable* DecodeTableOf(unsigned codePage) {
  // Asked for every segment, mostly for the code page of the one before: that answer is kept.
  thread_local unsigned lastCodePage = kCodePageUtf8;
  thread_local const DecodeTable* lastTable = nullptr;
  if (codePage == lastCodePage) return lastTable;
  const DecodeTable* table = codePage == kCodePageUtf8 || !CanDecodeBytes(codePage)
                                 ? nullptr
                                 : FindDecodeTable(Effective(codePage));
  lastCodePage = codePage;
  lastTable = table;
  return table;
}

void DecodeAppend(unsigned codePage, std::string_view bytes, std::u16string& out) {
  if (bytes.empty()) return;
  const size_t base = out.size();
  if (const DecodeTable* table = DecodeTableOf(codePage)) {
    // A table never gives more units than bytes, a single-byte table exactly as many.
    out.resize(base + bytes.size());
    const size_t n = DecodeWithTable(*table, reinterpret_cast<const unsigned char*>(bytes.data()),
                                     bytes.size(), out.data() + base, bytes.size());
    if (n != bytes.size()) out.resize(base + n);
    return;
  }
  const int len = static_cast<int>(bytes.size());
  const int needed = ToWide(codePage, 0, bytes.data(), len, nullptr, 0);
  if (needed <= 0) return;
  out.resize(base + static_cast<size_t>(needed));
  const int n = ToWide(codePage, 0, bytes.data(), len, out.data() + base, needed);
  out.resize(base + static_cast<size_t>(n > 0 ? n : 0));
}

std::u16string Decode(unsigned codePage, std::string_view bytes) {
  std::u16string out;
  DecodeAppend(codePage, bytes, out);
  return out;
}

void AppendUtf8(std::u16string_view text, std::string& out) {
  const size_t base = out.size();
  out.resize(base + 3 * text.size());
  out.resize(base + EncodeUtf8<Utf8Mode::kAll>(text.data(), text.size(), out.data() + base));
}

int EncodedByteCount(unsigned codePage, std::u16string_view text) {
  if (text.empty()) return 0;
  const int size = static_cast<int>(text.size());
  if (codePage == kCodePageUtf8) return WideToUtf8(text.data(), size, nullptr, 0);
  const CodePageData* data = FindCodePageData(Effective(codePage));
  if (!data) return size;
  if (!data->encodedLengths.empty()) return LengthCount(*data, text);
  return data->table->pairs.empty() ? size : TableByteCount(*data->table, text);
}
