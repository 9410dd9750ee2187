// SPDX-License-Identifier: MIT
#include "text/code_page_tables.h"

#include <unicode/ucnv.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <atomic>
#include <bit>
#include <map>
#include <memory>
#include <mutex>

#include "text/code_page_corrections.h"
#include "text/code_page_johab.h"
#include "text/code_page_table.h"
#include "text/icu_converter.h"

namespace {

constexpr unsigned kCodePageJohab = 1361;

// ---------------------------------------------------------------------------------------------
// Building a table from ICU's converter, then putting right where Windows decodes differently.

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
void FillPairs(UConverter* stopping, char16_t defaultChar, DecodeTable& table) {
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

void ApplyCorrections(const CodePageCorrections& corrections, DecodeTable& table) {
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

std::unique_ptr<DecodeTable> BuildFromIcu(unsigned codePage,
                                          const CodePageCorrections* corrections) {
  IcuConverter substituting = OpenBase(codePage, corrections);
  if (!substituting) return nullptr;
  const int maxBytes = ucnv_getMaxCharSize(substituting.get());
  const UConverterType type = ucnv_getType(substituting.get());
  const bool pairs = maxBytes == 2 && (type == UCNV_DBCS || type == UCNV_MBCS);
  if (maxBytes != 1 && !pairs) return nullptr;

  auto table = std::make_unique<DecodeTable>();
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

std::unique_ptr<DecodeTable> BuildDecodeTable(unsigned codePage) {
  const CodePageCorrections* corrections = FindCodePageCorrections(codePage);
  std::unique_ptr<DecodeTable> table =
      codePage == kCodePageJohab ? BuildJohabTable(u'?') : BuildFromIcu(codePage, corrections);
  if (!table) return nullptr;
  if (corrections) ApplyCorrections(*corrections, *table);
  table->asciiIdentity = true;
  for (size_t b = 0; b < 0x80; ++b) {
    table->asciiIdentity = table->asciiIdentity && table->single[b] == b && table->leadRow[b] == 0;
  }
  return table;
}

// ---------------------------------------------------------------------------------------------
// The tables of all code pages, each built once under a lock and never changed afterwards. The
// catalogue's code pages have a fixed slot each, read without a lock once built; any other code
// page is kept in a map under the lock.

class TableRegistry {
 public:
  TableRegistry()
      : m_codePages(StaticCodePageTable()), m_slots(std::make_unique<Slot[]>(m_codePages.size())) {
    m_direct.fill(kNoSlot);
    for (size_t i = 0; i < m_codePages.size(); ++i) {
      if (m_codePages[i].codePage < m_direct.size() && i < kNoSlot) {
        m_direct[m_codePages[i].codePage] = static_cast<std::uint8_t>(i);
      }
    }
  }

  const DecodeTable* Find(unsigned codePage) {
    const size_t index = SlotOf(codePage);
    if (index != kNoSlot) {
      Slot& slot = m_slots[index];
      // Double-checked: once built is set, the table never changes.
      if (slot.built.load(std::memory_order_acquire)) return slot.table.get();
      std::lock_guard<std::mutex> lock(m_mutex);
      if (!slot.built.load(std::memory_order_relaxed)) {
        slot.table = BuildDecodeTable(codePage);
        slot.built.store(true, std::memory_order_release);
      }
      return slot.table.get();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    auto [entry, inserted] = m_others.try_emplace(codePage);
    if (inserted) entry->second = BuildDecodeTable(codePage);
    return entry->second.get();
  }

 private:
  static constexpr std::uint8_t kNoSlot = 0xFF;

  // The DOS and Windows code pages are found by index, the rest by binary search.
  size_t SlotOf(unsigned codePage) const {
    if (codePage < m_direct.size()) return m_direct[codePage];
    const auto it = std::lower_bound(
        m_codePages.begin(), m_codePages.end(), codePage,
        [](const StaticCodePage& record, unsigned cp) { return record.codePage < cp; });
    if (it == m_codePages.end() || it->codePage != codePage) return kNoSlot;
    return static_cast<size_t>(it - m_codePages.begin());
  }

  struct Slot {
    std::atomic<bool> built{false};
    std::unique_ptr<DecodeTable> table;
  };
  std::span<const StaticCodePage> m_codePages;
  std::unique_ptr<Slot[]> m_slots;
  std::array<std::uint8_t, 1300> m_direct{};
  std::mutex m_mutex;
  std::map<unsigned, std::unique_ptr<DecodeTable>> m_others;
};

// ---------------------------------------------------------------------------------------------
// Decoding.

// Widens the leading bytes below 0x80, sixteen at a time, while both sides have room for sixteen.
// Returns the bytes widened (a multiple of sixteen).
size_t WidenAsciiRun(const unsigned char* s, size_t n, char16_t* d, size_t room) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  while (i + 16 <= n && i + 16 <= room) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    if (_mm_movemask_epi8(v) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), _mm_unpackhi_epi8(v, zero));
    i += 16;
  }
#else
  (void)s;
  (void)n;
  (void)d;
  (void)room;
#endif
  return i;
}

// Runs of bytes below 0x80 are widened sixteen at a time when they stand for themselves, the
// rest looked up.
void DecodeSingleBytes(const DecodeTable& table, const unsigned char* s, size_t n, char16_t* d) {
  size_t i = 0;
#if defined(__SSE2__)
  if (table.asciiIdentity) {
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_unpacklo_epi8(v, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), _mm_unpackhi_epi8(v, zero));
      // The few bytes of 0x80 and above are looked up afterwards.
      for (auto high = static_cast<unsigned>(_mm_movemask_epi8(v)); high != 0; high &= high - 1) {
        const size_t k = i + static_cast<size_t>(std::countr_zero(high));
        d[k] = table.single[s[k]];
      }
      i += 16;
    }
  }
#endif
  for (; i < n; ++i) d[i] = table.single[s[i]];
}

size_t DecodePairs(const DecodeTable& table, const unsigned char* s, size_t n, char16_t* d,
                   size_t capacity) {
  size_t i = 0;
  size_t count = 0;
  while (i < n) {
    if (d) {
      if (count == capacity) break;
      if (table.asciiIdentity && s[i] < 0x80) {
        const size_t widened = WidenAsciiRun(s + i, n - i, d + count, capacity - count);
        i += widened;
        count += widened;
        if (i == n || count == capacity) break;
      }
    }
    const unsigned char b = s[i];
    const unsigned row = table.leadRow[b];
    char16_t unit;
    if (row != 0 && i + 1 < n) {
      unit = table.pairs[row - 1][s[i + 1]];
      i += 2;
    } else {
      unit = table.single[b];
      ++i;
    }
    if (d) d[count] = unit;
    ++count;
  }
  return count;
}

}  // namespace

const DecodeTable* FindDecodeTable(unsigned codePage) {
  static TableRegistry registry;
  return registry.Find(codePage);
}

size_t DecodeWithTable(const DecodeTable& table, const unsigned char* s, size_t n, char16_t* d,
                       size_t capacity) {
  if (!table.pairs.empty()) return DecodePairs(table, s, n, d, capacity);
  if (!d) return n;
  const size_t m = std::min(n, capacity);
  DecodeSingleBytes(table, s, m, d);
  return m;
}
