// SPDX-License-Identifier: MIT
#include "inline/byte_escapes.h"

#include <bit>

#include "text/code_page.h"
#include "text/code_page_tables.h"
#include "text/simd.h"

namespace {

inline int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The position of the first "\\'" at or after from, or npos. The apostrophe is searched for:
// RTF holds a backslash every few characters, an apostrophe seldom.
size_t FindEscape(std::string_view segment, size_t from) {
  for (size_t quote = segment.find('\'', from + 1); quote != std::string_view::npos;
       quote = segment.find('\'', quote + 1)) {
    if (segment[quote - 1] == '\\') return quote - 1;
  }
  return std::string_view::npos;
}

// The byte of the escape at at (which has at least two characters after its apostrophe), or -1
// when its first character is no hexadecimal digit.
inline int EscapedByte(std::string_view segment, size_t at) {
  const int high = HexValue(segment[at + 2]);
  if (high < 0) return -1;
  const int low = HexValue(segment[at + 3]);
  return low < 0 ? high : high * 16 + low;
}

// Decodes a segment with a table of one unit per byte in one pass, its byte escapes with it: each
// byte gives its unit, and an apostrophe that ends "\\'" where an escape may start takes back the
// units of the escape's first two characters and gives the escape's unit instead.
class SingleByteEscapes {
 public:
  SingleByteEscapes(std::string_view segment, const DecodeTable& table, char16_t* d)
      : m_segment(segment),
        m_s(reinterpret_cast<const unsigned char*>(segment.data())),
        m_table(table),
        m_d(d) {}

  // Writes the units to d, which has room for a unit per byte; returns the units written.
  size_t Decode() {
    size_t i = 0;
    while (i < m_segment.size()) {
      i = DecodeRun(i);
      if (i == m_segment.size()) break;
      m_d[m_count++] = m_table.single[static_cast<unsigned char>('\'')];
      i = AfterApostrophe(i);
    }
    return m_count;
  }

 private:
  // Decodes the bytes from i up to the next apostrophe (not included); returns where it stopped.
  size_t DecodeRun(size_t i) {
    const size_t n = m_segment.size();
#if VELMAR_SSE2
    if (m_table.asciiIdentity) {
      // Sixteen units are written at a time: the room never runs out, as the units written are
      // never more than the bytes read.
      const __m128i zero = _mm_setzero_si128();
      const __m128i apostrophes = _mm_set1_epi8('\'');
      while (i + 16 <= n) {
        const __m128i v = simd::Load(m_s + i);
        char16_t* d = m_d + m_count;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 8), _mm_unpackhi_epi8(v, zero));
        for (auto high = static_cast<unsigned>(_mm_movemask_epi8(v)); high != 0; high &= high - 1) {
          const size_t k = static_cast<size_t>(std::countr_zero(high));
          d[k] = m_table.single[m_s[i + k]];
        }
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, apostrophes)));
        if (found != 0) {
          const size_t k = static_cast<size_t>(std::countr_zero(found));
          m_count += k;
          return i + k;
        }
        m_count += 16;
        i += 16;
      }
    }
#endif
    for (; i < n && m_s[i] != '\''; ++i) m_d[m_count++] = m_table.single[m_s[i]];
    return i;
  }

  // The apostrophe at q has given its unit: an escape whose backslash stands before it is
  // decoded in place of the two. Returns where decoding goes on.
  size_t AfterApostrophe(size_t q) {
    if (q == 0 || q - 1 < m_free || m_s[q - 1] != '\\' || m_segment.size() - (q - 1) < 4) {
      return q + 1;
    }
    const size_t at = q - 1;
    m_count -= 2;
    if (const int value = EscapedByte(m_segment, at); value >= 0) {
      m_d[m_count++] = m_table.single[static_cast<unsigned char>(value)];
    } else {
      for (size_t k = 0; k < 4; ++k) m_d[m_count++] = m_table.single[m_s[at + k]];
    }
    m_free = at + 4;
    return m_free;
  }

  std::string_view m_segment;
  const unsigned char* m_s;
  const DecodeTable& m_table;
  char16_t* m_d;
  size_t m_count = 0;
  size_t m_free = 0;  // the first byte no escape has taken: an escape starts there or later
};

}  // namespace

std::string DecodeByteEscapes(std::string_view segment) {
  std::string out;
  DecodeByteEscapes(segment, out);
  return out;
}

void DecodeByteEscapes(std::string_view segment, std::string& out) {
  const std::string_view decoded = ByteEscapesDecoded(segment, out);
  if (decoded.data() != out.data()) out.assign(decoded);
}

std::string_view ByteEscapesDecoded(std::string_view segment, std::string& buffer) {
  size_t at = FindEscape(segment, 0);
  if (at == std::string_view::npos) return segment;
  buffer.clear();
  buffer.reserve(segment.size());
  size_t i = 0;
  for (; at != std::string_view::npos && segment.size() - at >= 4; at = FindEscape(segment, i)) {
    buffer.append(segment.substr(i, at - i));
    if (const int value = EscapedByte(segment, at); value >= 0) {
      buffer.push_back(static_cast<char>(value));
    } else {
      buffer.append(segment.substr(at, 4));
    }
    i = at + 4;
  }
  buffer.append(segment.substr(i));
  return buffer;
}

void DecodeWithByteEscapes(std::string_view segment, unsigned codePage, std::u16string& out,
                           std::string& bytes) {
  const DecodeTable* table = DecodeTableOf(codePage);
  if (!table || !table->pairs.empty()) {
    DecodeAppend(codePage, ByteEscapesDecoded(segment, bytes), out);
    return;
  }
  const size_t base = out.size();
  out.resize(base + segment.size());  // an escape gives fewer units than it has bytes
  out.resize(base + SingleByteEscapes(segment, *table, out.data() + base).Decode());
}

void DecodeUnicodeWithByteEscapes(std::string_view segment, unsigned codePage, std::u16string& out,
                                  std::string& bytes) {
  size_t i = 0;
  size_t at = FindEscape(segment, 0);
  while (at != std::string_view::npos && segment.size() - at >= 4) {
    DecodeAppend(kCodePageUtf8, segment.substr(i, at - i), out);
    // A run of escapes gives bytes in the code page, decoded together (a lead byte and its
    // trail byte may stand in two escapes).
    bytes.clear();
    i = at;
    while (i == at && segment.size() - at >= 4) {
      const int value = EscapedByte(segment, at);
      if (value < 0) break;
      bytes.push_back(static_cast<char>(value));
      i = at + 4;
      at = FindEscape(segment, i);
    }
    DecodeAppend(codePage, bytes, out);
    if (i == at && segment.size() - at >= 4) {
      // An escape without a hexadecimal digit stays as it is.
      DecodeAppend(kCodePageUtf8, segment.substr(at, 4), out);
      i = at + 4;
      at = FindEscape(segment, i);
    }
  }
  DecodeAppend(kCodePageUtf8, segment.substr(i), out);
}
