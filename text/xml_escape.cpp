// SPDX-License-Identifier: MIT
#include "text/xml_escape.h"

#include <cstring>

#include "text/simd.h"
#include "text/surrogates.h"
#include "text/unit_set.h"
#include "text/utf8_encoder.h"
#include "text/xml_entities.h"

namespace {

constexpr UnitSet kQuotesAndAmpersand(u"'\"&");
constexpr UnitSet kTextSpecials(u"&<>");
constexpr UnitSet kAttributeSpecials(u"&<>\"");

using xml_entity::kAmp;
using xml_entity::kApos;
using xml_entity::kGt;
using xml_entity::kLt;
using xml_entity::kNbsp;
using xml_entity::kQuot;

// "&nbsp;" at the start of text, letters compared in lower case.
bool StartsWithNbsp(std::u16string_view text) {
  if (text.size() < kNbsp.size()) return false;
  for (size_t i = 0; i < kNbsp.size(); ++i) {
    if (LowerChar(text[i]) != kNbsp[i]) return false;
  }
  return true;
}

// Whether the native code has to be changed at i: "<" ">" "&", or a backslash before a brace.
bool NativeStop(std::u16string_view native, size_t i) {
  switch (native[i]) {
    case u'<':
    case u'>':
    case u'&':
      return true;
    case u'\\':
      return i + 1 < native.size() && (native[i + 1] == u'{' || native[i + 1] == u'}');
    default:
      return false;
  }
}

#if VELMAR_SSE2
// The lanes of here that hold a backslash before a brace; next is the block one unit further.
__m128i EscapedBraces(__m128i here, __m128i next) {
  const __m128i backslash = _mm_set1_epi16(u'\\');
  const __m128i open = _mm_set1_epi16(u'{'), close = _mm_set1_epi16(u'}');
  return _mm_and_si128(_mm_cmpeq_epi16(here, backslash),
                       _mm_or_si128(_mm_cmpeq_epi16(next, open), _mm_cmpeq_epi16(next, close)));
}
#endif

// The first position at or after from where the native code has to be changed, or its size.
// A backslash that escapes nothing is copied, so only one before a brace stops the copying:
// native code is full of control words, and stopping at each of their backslashes would copy
// them a few units at a time.
size_t FindNativeStop(std::u16string_view native, size_t from) {
  size_t i = from;
#if VELMAR_SSE2
  const __m128i less = _mm_set1_epi16(u'<'), greater = _mm_set1_epi16(u'>');
  const __m128i ampersand = _mm_set1_epi16(u'&');
  // Each block is read together with the block one unit further, which holds the unit after
  // each backslash.
  for (; i + 9 <= native.size(); i += 8) {
    const __m128i here = simd::Load(native.data() + i);
    const __m128i next = simd::Load(native.data() + i + 1);
    const __m128i markup =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(here, less), _mm_cmpeq_epi16(here, greater)),
                     _mm_cmpeq_epi16(here, ampersand));
    const int mask = _mm_movemask_epi8(_mm_or_si128(markup, EscapedBraces(here, next)));
    if (mask != 0) return i + simd::LowestBit(static_cast<unsigned>(mask)) / 2;
  }
#endif
  while (i < native.size() && !NativeStop(native, i)) ++i;
  return i;
}

#if VELMAR_SSE2
// The lanes of here that end a run of native code copied as it is: units other than printable
// ASCII, "<" ">" "&", and backslashes before a brace (next is the block one unit further).
__m128i NativeRunEnds(__m128i here, __m128i next) {
  return _mm_or_si128(utf8_detail::RunEnds<0x20, u'<', u'>', u'&'>(here),
                      EscapedBraces(here, next));
}
#endif

// Copies the run of printable ASCII at s (n units to the end of the native code) that is
// written as it is, up to the first unit to change or encode; d has room for a byte for each
// unit. As in FindNativeStop, only a backslash before a brace ends it. Returns the units copied.
size_t CopyNativeRun(const char16_t* s, size_t n, char* d) {
  size_t i = 0;
#if VELMAR_SSE2
  // As in FindNativeStop, each block is read with the block one unit further. The eight bytes
  // are stored in any case, as CopyAsciiRun does.
  for (; i + 9 <= n; i += 8) {
    const __m128i here = simd::Load(s + i);
    const __m128i next = simd::Load(s + i + 1);
    const __m128i ends = NativeRunEnds(here, next);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(here, here));
    if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(ends)); mask != 0) {
      return i + simd::LowestBit(mask) / 2;
    }
  }
  // Most native codes are short: the rest goes four units at a time while a unit follows them.
  if (i + 5 <= n) {
    const __m128i here = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i));
    const __m128i next = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i + 1));
    const __m128i ends = NativeRunEnds(here, next);
    const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(here, here));
    std::memcpy(d + i, &bytes, 4);
    // Only the low eight bytes of the mask stand for units.
    if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(ends)) & 0xFF; mask != 0) {
      return i + simd::LowestBit(mask) / 2;
    }
    i += 4;
  }
#endif
  const std::u16string_view native(s, n);
  for (; i < n && s[i] >= 0x20 && s[i] < 0x80 && !NativeStop(native, i); ++i) {
    d[i] = static_cast<char>(s[i]);
  }
  return i;
}

// Copies text to out with the characters it must not hold as they are replaced by references.
// One instance per context, so that the set of characters searched for is a constant.
template <bool kAttribute>
void AppendEscapedSpecials(std::u16string& out, std::u16string_view text) {
  const UnitSet& specials = kAttribute ? kAttributeSpecials : kTextSpecials;
  size_t from = 0;
  for (;;) {
    const size_t i = specials.FindFirst(text, from);
    out.append(text.substr(from, i - from));
    if (i == text.size()) return;
    switch (text[i]) {
      case u'&':
        out.append(kAmp);
        break;
      case u'<':
        out.append(kLt);
        break;
      case u'>':
        out.append(kGt);
        break;
      default:
        out.append(kQuot);
        break;
    }
    from = i + 1;
  }
}

}  // namespace

void AppendXmlText(std::u16string& out, std::u16string_view text) {
  AppendEscapedSpecials<false>(out, text);
}

void AppendXmlAttribute(std::u16string& out, std::u16string_view text) {
  AppendEscapedSpecials<true>(out, text);
}

size_t FindQuoteOrAmpersand(std::u16string_view text) {
  return kQuotesAndAmpersand.FindFirst(text, 0);
}

void AppendQuotesEscaped(std::u16string& out, std::u16string_view text) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const size_t j = kQuotesAndAmpersand.FindFirst(text, i);
    out.append(text.data() + i, j - i);
    if (j == n) break;
    i = j + 1;
    switch (text[j]) {
      case u'\'':
        out.append(kApos);
        break;
      case u'"':
        out.append(kQuot);
        break;
      default:
        // The quote entities never form "&nbsp;", so the two rewritings can share one walk.
        if (StartsWithNbsp(text.substr(j))) {
          out.push_back(u'\u00A0');
          i = j + kNbsp.size();
        } else {
          out.push_back(u'&');
        }
    }
  }
}

void AppendEscapedNativeCode(std::u16string& out, std::u16string_view native) {
  const size_t n = native.size();
  if (n == 1 && !NativeStop(native, 0)) {  // such as the "}" of every closing group
    out.push_back(native[0]);
    return;
  }
  size_t i = 0;
  while (i < n) {
    const size_t j = FindNativeStop(native, i);
    out.append(native.data() + i, j - i);
    if (j == n) break;
    i = j + 1;
    switch (native[j]) {
      case u'<':
        out.append(kLt);
        break;
      case u'>':
        out.append(kGt);
        break;
      case u'&':
        out.append(kAmp);
        break;
      default:
        break;  // a backslash before a brace goes: the RTF escapes of the braces become braces
    }
  }
}

size_t EncodeEscapedNativeCodeUtf8(std::u16string_view native, char* dst) {
  const size_t n = native.size();
  if (n == 1 && native[0] >= 0x20 && native[0] < 0x80 && !NativeStop(native, 0)) {
    *dst = static_cast<char>(native[0]);  // such as the "}" of every closing group
    return 1;
  }
  // Runs written as they are, and between them a unit to change or a character to encode.
  char* d = dst;
  for (size_t i = 0; i < n;) {
    const size_t copied = CopyNativeRun(native.data() + i, n - i, d);
    i += copied;
    d += copied;
    if (i >= n) break;
    if (NativeStop(native, i)) {
      // "<" ">" "&" become entities; nothing is written for the backslash before a brace.
      PutAscii(xml_entity::Predefined(native[i]), d);
      ++i;
    } else {
      i += EncodeOneCharacter<Utf8Mode::kXmlSafe>(native.data() + i, n - i, d);
    }
  }
  return static_cast<size_t>(d - dst);
}

bool NativeCodeCutsBetween(std::u16string_view native, size_t i) {
  const char16_t before = native[i - 1];
  if (utf16::IsHighSurrogate(before) && utf16::IsLowSurrogate(native[i])) return false;
  return !(before == u'\\' && NativeStop(native, i - 1));
}
