// SPDX-License-Identifier: MIT
#include "inline/plain_segment.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "text/code_page.h"
#include "text/code_page_tables.h"
#include "text/simd.h"
#include "text/surrogates.h"
#include "text/utf8_decoder.h"
#include "text/xml_entities.h"

namespace {

constexpr size_t kChunk = 16;

// Which of 16 bytes are something else than printable ASCII other than "\\", "{" and "}" (with
// kWithEntities, also other than the five that become entities; with kHighBytesPass, bytes
// 0x80-0xFF count as such text too): bit k is set for byte k when it is.
template <bool kWithEntities, bool kHighBytesPass = false>
unsigned OtherThanPlainAscii(const char* s) {
#if VELMAR_SSE2
  const __m128i v = simd::Load(s);
  // Signed compare: the bytes 0x80-0xFF are negative, so "below 0x20" takes them too.
  __m128i other = _mm_cmplt_epi8(v, _mm_set1_epi8(0x20));
  if constexpr (kHighBytesPass) other = _mm_and_si128(other, _mm_cmpgt_epi8(v, _mm_set1_epi8(-1)));
  const auto add = [&](char c) {
    other = _mm_or_si128(other, _mm_cmpeq_epi8(v, _mm_set1_epi8(c)));
  };
  add('\\');
  add('{');
  add('}');
  if constexpr (kWithEntities) {
    add('<');
    add('>');
    add('&');
    add('\'');
    add('"');
  }
  return static_cast<unsigned>(_mm_movemask_epi8(other));
#else
  unsigned other = 0;
  for (size_t k = 0; k < kChunk; ++k) {
    const unsigned char b = static_cast<unsigned char>(s[k]);
    bool bad = b < 0x20 || (b >= 0x80 && !kHighBytesPass) || b == '\\' || b == '{' || b == '}';
    if constexpr (kWithEntities) {
      bad = bad || b == '<' || b == '>' || b == '&' || b == '\'' || b == '"';
    }
    other |= static_cast<unsigned>(bad) << k;
  }
  return other;
#endif
}

// The bytes before the first one that the mask marks.
size_t RunBefore(unsigned other) {
  return other == 0 ? kChunk : static_cast<size_t>(std::countr_zero(other));
}

// Bytes that the byte-escape search and the RTF scanner stop at, and controls (NUL ends a
// segment's text; line ends and the other controls are dropped or noted in a report).
bool IsStopByte(unsigned b) {
  return (b < 0x20 && b != '\t') || b == '\\' || b == '{' || b == '}';
}

// Characters that the scanner or the clean-up treats as more than text, and those that the TMX
// writer leaves out.
bool IsStopUnit(char16_t u) {
  return (u < 0x20 && u != u'\t') || u == u'\\' || u == u'{' || u == u'}' ||
         utf16::IsSurrogate(u) || u == 0xFFFE || u == 0xFFFF || u == 0x2028;
}

void PutUnit(PlainByte& entry, char16_t u, bool utf16) {
  char* d = entry.bytes + entry.length;
  if (utf16) {
    d[0] = static_cast<char>(u & 0xFF);
    d[1] = static_cast<char>(u >> 8);
    entry.length = static_cast<std::uint8_t>(entry.length + 2);
  } else if (u < 0x80) {
    d[0] = static_cast<char>(u);
    entry.length = static_cast<std::uint8_t>(entry.length + 1);
  } else if (u < 0x800) {
    d[0] = static_cast<char>(0xC0 | (u >> 6));
    d[1] = static_cast<char>(0x80 | (u & 0x3F));
    entry.length = static_cast<std::uint8_t>(entry.length + 2);
  } else {
    d[0] = static_cast<char>(0xE0 | (u >> 12));
    d[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    d[2] = static_cast<char>(0x80 | (u & 0x3F));
    entry.length = static_cast<std::uint8_t>(entry.length + 3);
  }
}

PlainByte EntryFor(unsigned b, char16_t unit, bool known, bool utf16) {
  PlainByte entry{};
  entry.stop = !known || IsStopByte(b) || IsStopUnit(unit);
  entry.trimmed = unit == u' ' || unit == u'\t' || unit == u'\u00A0';
  if (entry.stop) return entry;
  const std::u16string_view entity = xml_entity::Predefined(unit);
  if (entity.empty()) {
    PutUnit(entry, unit, utf16);
  } else {
    for (const char16_t c : entity) PutUnit(entry, c, utf16);
  }
  return entry;
}

// The table of a code page: bytes decode one by one with a decoding table as long as no lead
// byte comes; UTF-8 text as it is into a UTF-8 document, only while it is ASCII into UTF-16.
// nullptr for code pages decoded otherwise.
std::unique_ptr<PlainByteTable> BuildTable(int codePage, bool unicodeText, bool utf16) {
  const unsigned page = static_cast<unsigned>(codePage);
  const DecodeTable* decode = unicodeText ? nullptr : DecodeTableOf(page);
  if (!decode && !unicodeText && page != kCodePageUtf8) return nullptr;
  auto table = std::make_unique<PlainByteTable>();
  table->utf16 = utf16;
  table->asciiAsItself = true;
  table->highBytesPass = true;
  for (unsigned b = 0; b < 256; ++b) {
    const bool known = decode ? decode->leadRow[b] == 0 : b < 0x80;
    const char16_t unit = decode ? decode->single[b] : static_cast<char16_t>(b);
    table->entries[b] = EntryFor(b, unit, known, utf16);
    if (b >= 0x20 && b < 0x80 && (unit != b || table->entries[b].stop != IsStopByte(b))) {
      table->asciiAsItself = false;
    }
    if (b >= 0x80 && table->entries[b].stop) table->highBytesPass = false;
  }
  if (unicodeText && !utf16) {
    // The bytes of UTF-8 characters are copied; Find looks at each character first.
    table->utf8Text = true;
    for (unsigned b = 0x80; b < 256; ++b) {
      PlainByte& entry = table->entries[b];
      entry.stop = false;
      entry.trimmed = false;
      entry.bytes[0] = static_cast<char>(b);
      entry.length = 1;
    }
  }
  return table;
}

// The segment without the blanks, tabs and no-break spaces (C2 A0 in UTF-8 text) at its ends.
std::pair<size_t, size_t> TrimmedRange(std::string_view segment, const PlainByteTable& t) {
  const auto blankAt = [&](size_t at) {
    return t[static_cast<unsigned char>(segment[at])].trimmed;
  };
  const auto nbspAt = [&](size_t at, size_t end) {
    return t.utf8Text && end - at >= 2 && segment.compare(at, 2, "\xC2\xA0") == 0;
  };
  size_t begin = 0;
  size_t end = segment.size();
  while (begin < end && (blankAt(begin) || nbspAt(begin, end))) begin += blankAt(begin) ? 1 : 2;
  while (end > begin) {
    if (blankAt(end - 1)) {
      --end;
    } else if (end - begin >= 2 && nbspAt(end - 2, end)) {
      end -= 2;  // A0 ends no other character than U+00A0 after C2
    } else {
      break;
    }
  }
  return {begin, end};
}

}  // namespace

size_t PlainText::WriteSome(char* d, size_t room) {
  const size_t n = std::min(bytes.size(), room / kMaxBytesPerByte);
  const bool copyAscii = table->asciiAsItself && !table->utf16;
  char* out = d;
  size_t i = 0;
  while (i < n) {
    if (copyAscii && i + kChunk <= n) {
      // Printable ASCII that needs no entity is copied as it is, up to the first other byte
      // (each byte has room for 16 bytes of output, so copying 16 is safe).
      const size_t run = RunBefore(OtherThanPlainAscii<true>(bytes.data() + i));
      std::memcpy(out, bytes.data() + i, kChunk);
      out += run;
      i += run;
      if (run == kChunk) continue;
    }
    const PlainByte& entry = (*table)[static_cast<unsigned char>(bytes[i++])];
    std::memcpy(out, entry.bytes, sizeof entry.bytes);
    out += entry.length;
  }
  bytes.remove_prefix(n);
  return static_cast<size_t>(out - d);
}

const PlainByteTable* PlainSegmentEncoder::TableFor(int codePage, bool unicodeText) {
  if (m_last < m_tables.size() && m_tables[m_last].codePage == codePage &&
      m_tables[m_last].unicodeText == unicodeText) {
    return m_tables[m_last].table.get();
  }
  for (m_last = 0; m_last < m_tables.size(); ++m_last) {
    const Entry& entry = m_tables[m_last];
    if (entry.codePage == codePage && entry.unicodeText == unicodeText) return entry.table.get();
  }
  m_tables.push_back(Entry{codePage, unicodeText, BuildTable(codePage, unicodeText, m_utf16)});
  return m_tables.back().table.get();
}

bool PlainSegmentEncoder::Find(std::string_view segment, int codePage, bool unicodeText,
                               PlainText& text) {
  const PlainByteTable* table = TableFor(codePage, unicodeText);
  if (!table) return false;
  const PlainByteTable& t = *table;
  for (size_t i = 0; i < segment.size();) {
    if (t.asciiAsItself && i + kChunk <= segment.size()) {
      const char* chunk = segment.data() + i;
      const size_t run = RunBefore(t.highBytesPass ? OtherThanPlainAscii<false, true>(chunk)
                                                   : OtherThanPlainAscii<false>(chunk));
      i += run;
      if (run == kChunk) continue;
    }
    const auto b = static_cast<unsigned char>(segment[i]);
    if (t.utf8Text && b >= 0x80) {
      // A character that the conversion changes or leaves out stops, as its unit does in a
      // code page's table.
      const utf8::Sequence c = utf8::ReadUtf8Sequence(segment, i);
      if (!utf8::IsWellFormed(c)) return false;
      if (c.value <= 0xFFFF && IsStopUnit(static_cast<char16_t>(c.value))) return false;
      i += c.length;
      continue;
    }
    if (t[b].stop) return false;
    ++i;
  }
  const auto [begin, end] = TrimmedRange(segment, t);
  text.bytes = segment.substr(begin, end - begin);
  text.table = table;
  return true;
}
