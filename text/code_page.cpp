// SPDX-License-Identifier: MIT
#include "text/code_page.h"

#include <unicode/ucnv.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// UTF-8: own routines. A complete four-byte sequence becomes a surrogate pair; longer or
// out-of-range values keep their low 16 bits, as the lead-byte table has always decoded them.

constexpr signed char kInvalidLead = -1;

constexpr std::array<signed char, 256> MakeLeadTable() {
  std::array<signed char, 256> t{};
  for (int b = 0; b < 256; ++b) {
    if (b < 0x80) t[b] = 0;
    else if (b < 0xC0) t[b] = kInvalidLead;
    else if (b < 0xE0) t[b] = 1;
    else if (b < 0xF0) t[b] = 2;
    else if (b < 0xF8) t[b] = 3;
    else if (b < 0xFC) t[b] = 4;
    else if (b < 0xFE) t[b] = 5;
    else t[b] = kInvalidLead;
  }
  return t;
}
constexpr std::array<signed char, 256> kLeadTable = MakeLeadTable();

int Utf8ToWide(unsigned flags, const char* src, int srcLen, char16_t* dst, int dstSize) {
  const auto* s = reinterpret_cast<const unsigned char*>(src);
  const size_t length = srcLen < 0 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
  const bool strict = (flags & kFlagErrInvalidChars) != 0;
  int count = 0;
  size_t i = 0;
  auto store = [&](char16_t unit) -> bool {
    if (dstSize > 0) {
      if (count >= dstSize) return false;
      dst[count] = unit;
    }
    ++count;
    return true;
  };
  while (i < length) {
    const unsigned char b = s[i++];
    const int k = kLeadTable[b];
    if (k == kInvalidLead) {
      if (strict) return 0;
      if (!store(u'?')) return count;
      continue;
    }
    if (k == 0) {
      if (!store(b)) return count;
      continue;
    }
    uint32_t value = b & (0x3Fu >> k);
    int taken = 0;
    while (taken < k && i < length && (s[i] & 0xC0) == 0x80) {
      value = value * 64 + (s[i] & 0x3F);
      ++i;
      ++taken;
    }
    if (taken < k && strict) return 0;
    if (taken == 3 && k == 3 && value > 0xFFFF && value <= 0x10FFFF) {
      if (dstSize > 0 && count + 2 > dstSize) return count;
      const uint32_t v = value - 0x10000;
      store(static_cast<char16_t>(0xD800 + (v >> 10)));
      store(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
      continue;
    }
    if (!store(static_cast<char16_t>(value & 0xFFFF))) return count;
  }
  return count;
}

// Appends the UTF-8 form of the units; a valid surrogate pair becomes one four-byte sequence,
// an unpaired surrogate U+FFFD.
template <typename Out>
void EncodeUtf8(const char16_t* src, size_t length, Out&& put) {
  for (size_t i = 0; i < length; ++i) {
    uint32_t u = src[i];
    if (u < 0x80) {
      put(static_cast<char>(u));
      continue;
    }
    if (u < 0x800) {
      put(static_cast<char>(0xC0 | (u >> 6)));
      put(static_cast<char>(0x80 | (u & 0x3F)));
      continue;
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      if (u <= 0xDBFF && i + 1 < length && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) {
        const uint32_t c = 0x10000 + ((u - 0xD800) << 10) + (src[i + 1] - 0xDC00u);
        ++i;
        put(static_cast<char>(0xF0 | (c >> 18)));
        put(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        put(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        put(static_cast<char>(0x80 | (c & 0x3F)));
        continue;
      }
      u = 0xFFFD;
    }
    put(static_cast<char>(0xE0 | (u >> 12)));
    put(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    put(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

int WideToUtf8(const char16_t* src, int srcLen, char* dst, int dstSize) {
  const size_t length =
      srcLen < 0 ? std::char_traits<char16_t>::length(src) + 1 : static_cast<size_t>(srcLen);
  if (dstSize == 0) {
    int count = 0;
    EncodeUtf8(src, length, [&](char) { ++count; });
    return count;
  }
  int count = 0;
  EncodeUtf8(src, length, [&](char c) {
    if (count < dstSize) dst[count++] = c;
    else count = dstSize;  // full: the rest is dropped
  });
  return count;
}

// ---------------------------------------------------------------------------------------------
// Other code pages: ICU converters, opened once per thread and code page. Single-byte code pages
// get a 256-entry table so that decoding them is a lookup per byte.

struct Codec {
  UConverter* converter = nullptr;
  bool singleByte = false;
  std::array<char16_t, 256> table{};
  ~Codec() {
    if (converter) ucnv_close(converter);
  }
};

UConverter* OpenConverter(unsigned codePage) {
  const std::string n = std::to_string(codePage);
  std::vector<std::string> names;
  switch (codePage) {
    case 10000: names.push_back("macintosh"); break;
    case 10007: names.push_back("x-mac-cyrillic"); break;
    case 20866: names.push_back("KOI8-R"); break;
    case 54936: names.push_back("gb18030"); break;
    default: break;
  }
  if (codePage >= 28591 && codePage <= 28599) names.push_back("iso-8859-" + std::to_string(codePage - 28590));
  names.push_back("windows-" + n);
  names.push_back("cp" + n);
  names.push_back("ibm-" + n);
  for (const std::string& name : names) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* c = ucnv_open(name.c_str(), &status);
    if (U_SUCCESS(status) && c) return c;
    if (c) ucnv_close(c);
  }
  return nullptr;
}

Codec* GetCodec(unsigned codePage) {
  thread_local std::unordered_map<unsigned, std::unique_ptr<Codec>> cache;
  thread_local unsigned lastCodePage = 0;
  thread_local Codec* lastCodec = nullptr;
  if (lastCodec && lastCodePage == codePage) return lastCodec;
  auto it = cache.find(codePage);
  if (it != cache.end()) {
    if (it->second) {
      lastCodePage = codePage;
      lastCodec = it->second.get();
    }
    return it->second.get();
  }
  std::unique_ptr<Codec> codec;
  if (UConverter* c = OpenConverter(codePage)) {
    codec = std::make_unique<Codec>();
    codec->converter = c;
    if (ucnv_getMaxCharSize(c) == 1) {
      codec->singleByte = true;
      for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        UChar out[4];
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(c);
        const int32_t n = ucnv_toUChars(c, out, 4, &byte, 1, &status);
        codec->table[static_cast<size_t>(b)] =
            (U_SUCCESS(status) && n >= 1) ? static_cast<char16_t>(out[0]) : u'?';
      }
      // Bytes the code page leaves undefined map to the control character of the same value.
      for (int b = 0x80; b < 0xA0; ++b) {
        char16_t& t = codec->table[static_cast<size_t>(b)];
        if (t == 0x1A || t == 0xFFFD) t = static_cast<char16_t>(b);
      }
      codec->table[0] = 0;
    }
  }
  Codec* result = codec.get();
  cache.emplace(codePage, std::move(codec));
  if (result) {
    lastCodePage = codePage;
    lastCodec = result;
  }
  return result;
}

// Every Windows single-byte code page maps the bytes below 0x80 to themselves: runs of them are
// widened sixteen at a time, the rest looked up.
void DecodeSingleByte(const std::array<char16_t, 256>& table, const unsigned char* s, size_t n,
                      char16_t* d) {
  size_t i = 0;
#if defined(__SSE2__)
  const bool asciiIdentity = table[0x41] == u'A' && table[0x7F] == 0x7F && table[0x20] == u' ';
  if (asciiIdentity) {
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      if (_mm_movemask_epi8(v) != 0) {
        for (size_t k = 0; k < 16; ++k) d[i + k] = table[s[i + k]];
      } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), _mm_unpackhi_epi8(v, zero));
      }
      i += 16;
    }
  }
#endif
  for (; i < n; ++i) d[i] = table[s[i]];
}

unsigned Effective(unsigned codePage) { return codePage == kCodePageAnsi ? 1252u : codePage; }

}  // namespace

int ToWide(unsigned codePage, unsigned flags, const char* src, int srcLen, char16_t* dst,
           int dstSize) {
  if (!src || dstSize < 0) return 0;
  if (codePage == kCodePageUtf8) return Utf8ToWide(flags, src, srcLen, dst, dstSize);
  Codec* codec = GetCodec(Effective(codePage));
  if (!codec) return 0;
  const size_t length = srcLen < 0 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
  if (codec->singleByte) {
    if (dstSize == 0) return static_cast<int>(length);
    const size_t n = std::min(length, static_cast<size_t>(dstSize));
    const auto* s = reinterpret_cast<const unsigned char*>(src);
    for (size_t i = 0; i < n; ++i) dst[i] = codec->table[s[i]];
    return static_cast<int>(n);
  }
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(codec->converter);
  std::u16string buffer;
  const int32_t needed = ucnv_toUChars(codec->converter, nullptr, 0, src,
                                       static_cast<int32_t>(length), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return 0;
  if (dstSize == 0) return needed;
  buffer.resize(static_cast<size_t>(needed) + 1);
  status = U_ZERO_ERROR;
  ucnv_reset(codec->converter);
  const int32_t n = ucnv_toUChars(codec->converter, buffer.data(), needed + 1, src,
                                  static_cast<int32_t>(length), &status);
  if (U_FAILURE(status)) return 0;
  const int copy = std::min<int>(n, dstSize);
  std::memcpy(dst, buffer.data(), static_cast<size_t>(copy) * sizeof(char16_t));
  return copy;
}

int ToNarrow(unsigned codePage, unsigned flags, const char16_t* src, int srcLen, char* dst,
             int dstSize, const char* defaultChar, bool* usedDefaultChar) {
  (void)flags;
  (void)defaultChar;
  if (usedDefaultChar) *usedDefaultChar = false;
  if (!src || dstSize < 0) return 0;
  if (codePage == kCodePageUtf8) return WideToUtf8(src, srcLen, dst, dstSize);
  Codec* codec = GetCodec(Effective(codePage));
  if (!codec) return 0;
  const size_t length =
      srcLen < 0 ? std::char_traits<char16_t>::length(src) + 1 : static_cast<size_t>(srcLen);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(codec->converter);
  const int32_t needed = ucnv_fromUChars(codec->converter, nullptr, 0,
                                         reinterpret_cast<const UChar*>(src),
                                         static_cast<int32_t>(length), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return 0;
  if (dstSize == 0) return needed;
  std::string buffer(static_cast<size_t>(needed) + 1, '\0');
  status = U_ZERO_ERROR;
  ucnv_reset(codec->converter);
  const int32_t n = ucnv_fromUChars(codec->converter, buffer.data(), needed + 1,
                                    reinterpret_cast<const UChar*>(src),
                                    static_cast<int32_t>(length), &status);
  if (U_FAILURE(status)) return 0;
  const int copy = std::min<int>(n, dstSize);
  std::memcpy(dst, buffer.data(), static_cast<size_t>(copy));
  return copy;
}

bool IsSupportedCodePage(unsigned codePage) {
  if (codePage == kCodePageUtf8 || codePage == kCodePageAnsi) return true;
  return GetCodec(codePage) != nullptr;
}

void DecodeAppend(unsigned codePage, std::string_view bytes, std::u16string& out) {
  if (bytes.empty()) return;
  const size_t base = out.size();
  if (codePage != kCodePageUtf8) {
    Codec* codec = GetCodec(Effective(codePage));
    if (codec && codec->singleByte) {
      out.resize(base + bytes.size());
      DecodeSingleByte(codec->table, reinterpret_cast<const unsigned char*>(bytes.data()),
                       bytes.size(), out.data() + base);
      return;
    }
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

std::string Encode(unsigned codePage, std::u16string_view text) {
  std::string out;
  if (text.empty()) return out;
  if (codePage == kCodePageUtf8) {
    AppendUtf8(text, out);
    return out;
  }
  const int len = static_cast<int>(text.size());
  const int needed = ToNarrow(codePage, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return out;
  out.resize(static_cast<size_t>(needed));
  const int n = ToNarrow(codePage, 0, text.data(), len, out.data(), needed, nullptr, nullptr);
  out.resize(static_cast<size_t>(n > 0 ? n : 0));
  return out;
}

void AppendUtf8(std::u16string_view text, std::string& out) {
  out.reserve(out.size() + text.size());
  EncodeUtf8(text.data(), text.size(), [&](char c) { out.push_back(c); });
}

int EncodedByteCount(unsigned codePage, std::u16string_view text) {
  if (text.empty()) return 0;
  if (codePage == kCodePageUtf8) return WideToUtf8(text.data(), static_cast<int>(text.size()), nullptr, 0);
  Codec* codec = GetCodec(Effective(codePage));
  if (codec && codec->singleByte) return static_cast<int>(text.size());
  const int n = ToNarrow(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                         nullptr, nullptr);
  return n > 0 ? n : static_cast<int>(text.size());
}
