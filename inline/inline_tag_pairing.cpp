// SPDX-License-Identifier: MIT
#include "inline/inline_tag_pairing.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

#include "inline/pairing_tables.h"
#include "text/surrogates.h"
#include "text/tuning.h"
#include "text/unit_set.h"
#include "text/utf8_encoder.h"
#include "text/wide_to_int.h"
#include "text/xml_chars.h"
#include "text/xml_entities.h"
#include "text/xml_escape.h"

using namespace std::string_view_literals;

namespace {

constexpr int kNone = kNoValue;

// Head, the number and a closing quotation mark, such as "<bpt i=\"3\"", in buffer. The head is
// a literal, so its copy has a fixed length.
template <typename HeadUnit, size_t N>
std::u16string_view QuotedNumber(char16_t (&buffer)[32], const HeadUnit (&head)[N], int number) {
  constexpr size_t kHeadLength = N - 1;  // without the terminating NUL
  static_assert(kHeadLength <= 16);
  char16_t* const end = buffer + sizeof(buffer) / sizeof(buffer[0]);
  char16_t* first = end;
  *--first = u'"';
  first = WriteDecimalBefore(first, number);
  first -= kHeadLength;
  for (size_t k = 0; k < kHeadLength; ++k) first[k] = head[k];
  return {first, static_cast<size_t>(end - first)};
}

// The same appended to out in one append.
template <typename HeadUnit, size_t N>
void AppendQuotedNumber(std::u16string& out, const HeadUnit (&head)[N], int number) {
  char16_t buffer[32];
  out.append(QuotedNumber(buffer, head, number));
}

void AppendInlineAttributes(std::u16string& out, std::u16string_view name, int x) {
  if (name.size() == 1) {
    switch (LowerChar(name[0])) {
      case u'b':
        out.append(u" type=\"bold\""sv);
        return;
      case u'i':
        out.append(u" type=\"italic\""sv);
        return;
      case u'u':
        out.append(u" type=\"ulined\""sv);
        return;
      default:
        break;
    }
  }
  if (x != 0) AppendQuotedNumber(out, u" x=\"", x);
}

// A name that is a decimal number written without sign, blanks or leading zeros: two such names
// are equal exactly when their numbers are.
bool CanonicalNumber(std::u16string_view name, int& number) {
  if (name.empty() || name.size() > 9 || (name[0] == u'0' && name.size() > 1)) return false;
  int value = 0;
  for (char16_t c : name) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
  }
  number = value;
  return true;
}

// One "<...>" of the markup: from the first "<" after the previous tag to the next ">" (a "<"
// without ">" stays text), and the last "<" before that ">".
struct Tag {
  size_t begin;
  size_t end;  // the ">"
  size_t lastLess;
};

// Hands each tag of the markup to visit, in order.
template <typename Visit>
void ForEachTag(std::u16string_view text, Visit&& visit) {
  constexpr UnitSet kAngles(u"<>");
  constexpr size_t kNoTag = std::u16string_view::npos;
  size_t tagBegin = kNoTag, lastLess = kNoTag;
  kAngles.ForEach(text, [&](size_t i) {
    if (text[i] == u'<') {
      if (tagBegin == kNoTag) tagBegin = i;
      lastLess = i;
      return;
    }
    if (tagBegin == kNoTag) return;  // a ">" outside any tag is text
    visit(Tag{tagBegin, i, lastLess});
    tagBegin = kNoTag;
  });
}

// The closing text "</name>" that stands in a tag, if any: the text from its last "<" when that
// is followed by "/". (A text "</name>" ends at the first ">" after its "<", so its occurrences
// are exactly these.) Closing texts with a canonical number are counted by number.
struct ClosingText {
  int number = kNone;         // a closing text with a canonical number
  std::u16string_view other;  // any other closing text
};

ClosingText ClosingTextOf(std::u16string_view text, const Tag& tag) {
  ClosingText closing;
  if (text[tag.lastLess + 1] != u'/') return closing;
  const std::u16string_view whole = text.substr(tag.lastLess, tag.end - tag.lastLess + 1);
  if (!CanonicalNumber(whole.substr(2, whole.size() - 3), closing.number)) closing.other = whole;
  return closing;
}

const std::u16string_view kElementNames[] = {u"bpt", u"ept", u"it", u"ph"};
constexpr std::u16string_view kElementEnds[] = {u"</bpt>", u"</ept>", u"</it>", u"</ph>"};
enum Element : size_t { kBpt, kEpt, kIt, kPh };

// The ends of the elements as bytes, each in eight bytes so that one fixed-size copy writes it.
struct ElementEndBytes {
  char bytes[8];
  size_t size;
};
constexpr std::array<ElementEndBytes, std::size(kElementEnds)> kElementEndBytes = [] {
  std::array<ElementEndBytes, std::size(kElementEnds)> ends{};
  for (size_t e = 0; e < ends.size(); ++e) {
    for (const char16_t c : kElementEnds[e]) ends[e].bytes[ends[e].size++] = static_cast<char>(c);
  }
  return ends;
}();

// Units of content or native code encoded at a time, so that the room made for them stays small.
constexpr size_t kPieceUnits = tuning::kEncodeSliceUnits / 4;

// Hands text to write in pieces of at most pieceUnits units, none ending where canCut(text, i)
// says the text cannot be cut before i (between the two halves of a surrogate pair, say).
template <typename CanCut, typename Write>
void InPieces(std::u16string_view text, size_t pieceUnits, CanCut canCut, Write write) {
  while (!text.empty()) {
    size_t take = std::min(text.size(), pieceUnits);
    if (take < text.size() && !canCut(text, take)) --take;
    write(text.substr(0, take));
    text.remove_prefix(take);
  }
}

// Whether text may be cut before i: not between the two halves of a surrogate pair.
bool CutsNoPair(std::u16string_view text, size_t i) {
  return !utf16::IsHighSurrogate(text[i - 1]);
}

}  // namespace

TagRecordIndex::TagRecordIndex(const TagList& records) : m_records(records) {
  m_first.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    m_first.try_emplace((static_cast<uint64_t>(static_cast<uint32_t>(records[i].number)) << 1) |
                            (records[i].opening ? 1u : 0u),
                        i);
  }
}

const TagRecord* TagRecordIndex::FindTagRecord(int number, bool opening) const {
  const auto it = m_first.find((static_cast<uint64_t>(static_cast<uint32_t>(number)) << 1) |
                               (opening ? 1u : 0u));
  return it == m_first.end() ? nullptr : &m_records[it->second];
}

std::u16string InlineAttributes(std::u16string_view name, int x) {
  std::u16string out;
  AppendInlineAttributes(out, name, x);
  return out;
}

struct TagPairing::Buffers {
  std::u16string copy;
  std::u16string slice;  // the encoded form: the content not yet encoded
  std::string scratch;   // and the bytes of a slice
  PairingTables tables;
  std::u16string key;
  std::vector<Tag> tags;

  void ReleaseLarge() {
    if (copy.capacity() > tuning::kKeptTextUnits)
      std::u16string().swap(copy);  // a very long segment
    if (tags.capacity() > tuning::kKeptPairingTags) std::vector<Tag>().swap(tags);
    if (slice.capacity() > tuning::kKeptPairingSliceUnits)
      std::u16string().swap(slice);  // a long element
  }
};

TagPairing::TagPairing() : m_buffers(std::make_unique<Buffers>()) {}
TagPairing::~TagPairing() = default;

WideString PairInlineTags(const WideString& markup, const TagList& records) {
  TagPairing pairing;
  return pairing.Pair(markup, records);
}

namespace {

// The text of a cleaned-up list as the content holds it. The rules that markup text went
// through, one after the other, come to this:
// - "&" "<" ">" become entities (the clean-up's escaping);
// - quotes become entities (the pairing's, which the markup's entities never form);
// - a no-break space stays a character: NoBreakSpaceStaysACharacter;
// - a line separator becomes a line feed: LineSeparatorBecomesLineFeed.
constexpr UnitSet kContentEscaped(u"&<>'\"\u2028");

// The clean-up wrote a no-break space as "&nbsp;", which the pairing turns back into the
// character (TMX declares no such entity): the content holds the character.
constexpr bool kNoBreakSpaceStaysACharacter = true;
static_assert(kNoBreakSpaceStaysACharacter && !kContentEscaped.Contains(u'\u00A0'));

// The clean-up reads a line feed in markup as a line separator and writes a line separator as a
// line feed: in the content, both are line feeds.
constexpr char16_t kLineSeparatorWrittenAs = u'\n';
void LineSeparatorBecomesLineFeed(std::u16string& out) {
  out.push_back(kLineSeparatorWrittenAs);
}

// Calls run(piece) for each piece of the text that stays as it is and escaped(c) for each unit
// between them that kContentEscaped holds.
template <typename Run, typename Escaped>
void ForEachContentPiece(std::u16string_view text, Run&& run, Escaped&& escaped) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const size_t j = kContentEscaped.FindFirst(text, i);
    if (j > i) run(text.substr(i, j - i));
    if (j == n) break;
    escaped(text[j]);
    i = j + 1;
  }
}

// What stands in the content for a unit that kContentEscaped holds.
void AppendContentEscape(std::u16string& out, char16_t c) {
  if (c == u'\u2028') {
    LineSeparatorBecomesLineFeed(out);
  } else {
    out.append(xml_entity::Predefined(c));
  }
}

void AppendContentText(std::u16string& out, std::u16string_view text) {
  ForEachContentPiece(
      text, [&](std::u16string_view piece) { out.append(piece); },
      [&](char16_t c) { AppendContentEscape(out, c); });
}

// The content text encoded for the document into dst, which has room for kContentBytesPerUnit
// bytes a unit; returns the bytes written. UTF-8 is escaped and encoded in one pass.
constexpr size_t kContentBytesPerUnit = 2 * xml_entity::kQuot.size();  // the longest, in UTF-16
constexpr size_t kUtf8ContentBytesPerUnit = xml_entity::kQuot.size();  // in UTF-8
// The one-pass UTF-8 encoder stops its ASCII copy at the ASCII units of kContentEscaped; the line
// separator, no ASCII, always leaves it.
static_assert(kContentEscaped.Contains(u'&') && kContentEscaped.Contains(u'<') &&
              kContentEscaped.Contains(u'>') && kContentEscaped.Contains(u'\'') &&
              kContentEscaped.Contains(u'"') && kContentEscaped.Contains(u'\u2028'));
size_t EncodeContentText(std::u16string_view text, bool utf16, char* dst) {
  if (!utf16) {
    return EncodeXmlSafeUtf8Rewriting<u'&', u'<', u'>', u'\'', u'"'>(
        text.data(), text.size(), dst, [](const char16_t* s, size_t i, size_t, char*& d) {
          if (const std::u16string_view entity = xml_entity::Predefined(s[i]); !entity.empty()) {
            PutAscii(entity, d);
            return size_t{1};
          }
          if (s[i] != u'\u2028') return size_t{0};
          *d++ = static_cast<char>(kLineSeparatorWrittenAs);  // LineSeparatorBecomesLineFeed
          return size_t{1};
        });
  }
  size_t n = 0;
  std::u16string escape;  // an entity or a line feed: short enough to stay without allocation
  ForEachContentPiece(
      text, [&](std::u16string_view piece) { n += EncodeXmlSafe(piece, utf16, dst + n); },
      [&](char16_t c) {
        escape.clear();
        AppendContentEscape(escape, c);
        n += EncodeXmlSafe(escape, utf16, dst + n);
      });
  return n;
}

// Where the elements of a cleaned-up list go: appended to UTF-16 units.
class UnitElements {
 public:
  explicit UnitElements(std::u16string& out) : m_out(out) {}
  void Start(size_t) {}
  template <size_t N>
  void Literal(const char (&ascii)[N]) {
    m_out.append(ascii, ascii + N - 1);
  }
  void End(Element element) { m_out.append(kElementEnds[element]); }
  template <size_t N>
  void Number(const char (&head)[N], int number) {
    AppendQuotedNumber(m_out, head, number);
  }
  void Native(std::u16string_view native) { AppendEscapedNativeCode(m_out, native); }
  void Finish() {}

 private:
  std::u16string& m_out;
};

// UTF-8 bytes written where they stay, at the end of a content's bytes: before each piece the
// bytes are given room for the most it can take, and the room it left unused is taken off when
// the writer goes.
class BytesInPlace {
 public:
  explicit BytesInPlace(std::string& bytes) : m_bytes(bytes), m_used(bytes.size()) {}
  BytesInPlace(const BytesInPlace&) = delete;
  BytesInPlace& operator=(const BytesInPlace&) = delete;
  ~BytesInPlace() { m_bytes.resize(m_used); }
  // Room for n bytes after those written so far.
  char* Room(size_t n) {
    if (m_bytes.size() - m_used < n) m_bytes.resize(m_used + n);
    return m_bytes.data() + m_used;
  }
  // The bytes up to end are written.
  void WrittenUpTo(const char* end) { m_used = static_cast<size_t>(end - m_bytes.data()); }

 private:
  std::string& m_bytes;
  size_t m_used;
};

// A UTF-8 document's elements, written in place; a long native code goes in pieces, so that the
// room made ahead stays small.
class Utf8Elements {
 public:
  // An element takes far less than this beside its native code.
  static constexpr size_t kRoomBesideNative = 96;

  explicit Utf8Elements(BytesInPlace& bytes) : m_bytes(bytes) {}
  // An element whose native code has this many units.
  void Start(size_t nativeUnits) {
    m_d =
        m_bytes.Room(kRoomBesideNative + kNativeBytesPerUnit * std::min(nativeUnits, kPieceUnits));
  }
  // The literals are bytes already, of a length known here, so each is one fixed-size copy.
  template <size_t N>
  void Literal(const char (&ascii)[N]) {
    std::memcpy(m_d, ascii, N - 1);
    m_d += N - 1;
  }
  void End(Element element) {
    std::memcpy(m_d, kElementEndBytes[element].bytes, sizeof(ElementEndBytes::bytes));
    m_d += kElementEndBytes[element].size;
  }
  template <size_t N>
  void Number(const char (&head)[N], int number) {
    Literal(head);
    // The number and its quotation mark (at most 12 bytes) go in one copy of 16 bytes: those
    // after them are written over by what follows.
    char digits[32];
    char* const quote = digits + 16;
    *quote = '"';
    const char* const first = WriteDecimalBefore(quote, number);
    std::memcpy(m_d, first, 16);
    m_d += quote + 1 - first;
  }
  void Native(std::u16string_view native) {
    if (native.size() <= kPieceUnits) {
      m_d += EncodeEscapedNativeCodeUtf8(native, m_d);
      return;
    }
    Finish();  // the head
    InPieces(native, kPieceUnits, NativeCodeCutsBetween, [this](std::u16string_view piece) {
      char* d = m_bytes.Room(kNativeBytesPerUnit * piece.size());
      m_bytes.WrittenUpTo(d + EncodeEscapedNativeCodeUtf8(piece, d));
    });
    m_d = m_bytes.Room(kRoomBesideNative);  // for the end
  }
  void Finish() { m_bytes.WrittenUpTo(m_d); }

 private:
  BytesInPlace& m_bytes;
  char* m_d = nullptr;
};

// The content as one UTF-16 text.
class WholeOutput {
 public:
  explicit WholeOutput(std::u16string& units) : m_units(units) {}
  UnitElements Elements() { return UnitElements(m_units); }
  std::u16string& Units() { return m_units; }
  void Text(std::u16string_view text) { m_units.append(text); }
  void ContentText(std::u16string_view text) { AppendContentText(m_units, text); }
  void TagWritten() {}

 private:
  std::u16string& m_units;
};

// The content encoded for the document as it is made: the units written go to a slice, which
// is encoded (in a scratch area that keeps its size from segment to segment, so that no room in
// the bytes is filled twice) and added to the end of the bytes whenever it holds kSliceUnits or
// more. A slice never ends
// between the two halves of a surrogate pair (a high surrogate at its end waits for the next),
// so the bytes are those of the whole content encoded at once.
class EncodedOutput {
 public:
  static constexpr size_t kSliceUnits = tuning::kEncodeSliceUnits;

  EncodedOutput(std::u16string& slice, std::string& scratch, std::string& bytes, bool utf16)
      : m_slice(slice), m_scratch(scratch), m_bytes(bytes), m_utf16(utf16) {
    m_slice.clear();
  }
  std::u16string& Units() { return m_slice; }
  UnitElements Elements() { return UnitElements(m_slice); }
  void Text(std::u16string_view text) {
    if (m_slice.size() + text.size() <= kSliceUnits) {
      m_slice.append(text);
      return;
    }
    TextAcrossSlices(text);
  }
  // Text of the content, escaped and encoded at once into the bytes (after what the tags before
  // it wrote, which ends with their ">").
  void ContentText(std::u16string_view text);
  void TagWritten() {
    if (m_slice.size() >= kSliceUnits) Encode(false);
  }
  // The rest of the content (a high surrogate at its end is unpaired: left out).
  void Finish() { Encode(true); }

 private:
  void TextAcrossSlices(std::u16string_view text) {
    while (m_slice.size() + text.size() > kSliceUnits) {
      const size_t take = kSliceUnits - std::min(m_slice.size(), kSliceUnits);
      m_slice.append(text.substr(0, take));
      text.remove_prefix(take);
      Encode(false);
    }
    m_slice.append(text);
  }
  void Encode(bool last);

  std::u16string& m_slice;
  std::string& m_scratch;
  std::string& m_bytes;
  bool m_utf16;
};

void EncodedOutput::Encode(bool last) {
  const size_t perUnit = m_utf16 ? 2 : 3;
  std::u16string_view rest = m_slice;
  if (!last && !rest.empty() && utf16::IsHighSurrogate(rest.back())) {
    rest.remove_suffix(1);
  }
  const size_t done = rest.size();
  // A slice that a long element made longer goes in parts, so that the bytes never need much
  // more room than they take.
  InPieces(rest, kSliceUnits, CutsNoPair, [&](std::u16string_view part) {
    if (m_scratch.size() < perUnit * part.size()) m_scratch.resize(perUnit * part.size());
    char* d = m_scratch.data();
    m_bytes.append(d, EncodeXmlSafe(part, m_utf16, d));
  });
  if (done == m_slice.size()) {
    m_slice.clear();
  } else {
    m_slice.erase(0, done);
  }
}

// Content text escaped and encoded into the bytes, in pieces of a size that keeps the scratch area
// small, never ending between the two halves of a surrogate pair.
void AppendContentEncoded(std::u16string_view text, bool utf16, std::string& scratch,
                          std::string& bytes) {
  InPieces(text, kPieceUnits, CutsNoPair, [&](std::u16string_view piece) {
    const size_t room = kContentBytesPerUnit * piece.size();
    if (scratch.size() < room) scratch.resize(room);
    bytes.append(scratch.data(), EncodeContentText(piece, utf16, scratch.data()));
  });
}

void EncodedOutput::ContentText(std::u16string_view text) {
  if (!m_slice.empty()) Encode(true);
  AppendContentEncoded(text, m_utf16, m_scratch, m_bytes);
}

// A cleaned-up list's content for a UTF-8 document: its text and its elements are written as
// UTF-8 in place, each in one pass.
class Utf8Output {
 public:
  explicit Utf8Output(std::string& bytes) : m_bytes(bytes) {}
  Utf8Elements Elements() { return Utf8Elements(m_bytes); }
  // In pieces, so that the room made ahead stays small; a piece never ends between the two
  // halves of a surrogate pair.
  void ContentText(std::u16string_view text) {
    InPieces(text, kPieceUnits, CutsNoPair, [this](std::u16string_view piece) {
      char* d = m_bytes.Room(kUtf8ContentBytesPerUnit * piece.size());
      m_bytes.WrittenUpTo(d + EncodeContentText(piece, false, d));
    });
  }
  void TagWritten() {}

 private:
  BytesInPlace m_bytes;
};

// One pairing of a side's markup: the records looked up by (number, opening flag), the closing
// texts still ahead in the markup, and the elements written so far.
template <typename Lookups>
class PairingRun {
 public:
  PairingRun(std::u16string_view text, const TagList& records, PairingTables& tables,
             std::u16string& key, std::vector<Tag>& tags);
  // The units of the content, as the markup's length, the records' code and the tags suggest.
  size_t EstimatedUnits() const {
    return m_text.size() + m_nativeSize + m_nativeSize / 8 + 32 * m_tagCount + 64;
  }
  template <typename Output>
  void Write(Output& output);

 private:
  void CountClosingTexts();
  void WriteTag(std::u16string& out, const Tag& tag);
  Element WriteOpening(std::u16string& out, std::u16string_view name, int number, int x,
                       size_t tagEnd);
  bool PartnerAhead(std::u16string_view name, size_t tagEnd);

  // The tags of markup up to this length are kept from the first walk for the second; longer
  // markup is walked twice, so a huge segment needs no list of its tags.
  static constexpr size_t kKeptTagsUpTo = tuning::kListedTagsUpTo;

  std::u16string_view m_text;
  const TagList& m_records;
  std::u16string& m_key;
  std::vector<Tag>& m_tags;
  bool m_keepTags;
  size_t m_limit;
  size_t m_nativeSize;  // the records' native code, which the elements hold escaped
  size_t m_tagCount = 0;
  // Placeholder numbers run from 1 up; the lookups cover the records' numbers (larger numbers,
  // which no record has, go to maps).
  // The first records, the closing texts with a canonical number still ahead, and the i of
  // each opening placeholder written as <bpt>.
  Lookups m_lookups;
  std::unordered_map<std::u16string_view, int> m_otherClosingAhead;
  int m_insertedElements[4] = {0, 0, 0, 0};
  int m_bptCounter = 0;
};

// The numbers the tables cover: those of the records, as far as they are not far beyond the
// count of records (a larger number goes to a map).
size_t TableLimit(const TagList& records) {
  int maxNumber = 0;
  for (const TagRecord& r : records) maxNumber = std::max(maxNumber, r.number);
  return std::min(static_cast<size_t>(maxNumber) + 1, 2 * records.size() + 64);
}

template <typename Lookups>
PairingRun<Lookups>::PairingRun(std::u16string_view text, const TagList& records,
                                PairingTables& tables, std::u16string& key, std::vector<Tag>& tags)
    : m_text(text),
      m_records(records),
      m_key(key),
      m_tags(tags),
      m_keepTags(text.size() <= kKeptTagsUpTo),
      m_limit(TableLimit(records)),
      m_nativeSize(records.NativeSize()),
      m_lookups(records, tables, m_limit) {
  CountClosingTexts();
}

template <typename Lookups>
void PairingRun<Lookups>::CountClosingTexts() {
  m_tags.clear();
  ForEachTag(m_text, [&](const Tag& tag) {
    ++m_tagCount;
    if (m_keepTags) m_tags.push_back(tag);
    const ClosingText closing = ClosingTextOf(m_text, tag);
    if (closing.number != kNone) {
      m_lookups.AddClosing(closing.number);
    } else if (!closing.other.empty()) {
      ++m_otherClosingAhead[closing.other];
    }
  });
}

template <typename Lookups>
template <typename Output>
void PairingRun<Lookups>::Write(Output& output) {
  std::u16string& out = output.Units();
  size_t from = 0;
  auto write = [&](const Tag& tag) {
    output.Text(m_text.substr(from, tag.begin - from));
    from = tag.end + 1;
    WriteTag(out, tag);
    output.TagWritten();
  };
  if (m_keepTags) {
    for (const Tag& tag : m_tags) write(tag);
  } else {
    ForEachTag(m_text, write);
  }
  output.Text(m_text.substr(std::min(from, m_text.size())));
}

template <typename Lookups>
void PairingRun<Lookups>::WriteTag(std::u16string& out, const Tag& tag) {
  // The tag is replaced: its closing text no longer stands in the markup.
  const ClosingText closingText = ClosingTextOf(m_text, tag);
  if (closingText.number != kNone)
    m_lookups.RemoveClosing(closingText.number);
  else if (!closingText.other.empty())
    --m_otherClosingAhead[closingText.other];

  const std::u16string_view t = m_text.substr(tag.begin, tag.end - tag.begin + 1);
  std::u16string_view name = t.substr(1, t.size() - 2);
  if (name.starts_with(u'/')) name.remove_prefix(1);
  if (name.ends_with(u'/')) name.remove_suffix(1);
  const int number = WideToInt(name);
  const bool closing = t.starts_with(u"</"sv);
  const int recordIndex = m_lookups.FindRecord(number, !closing);
  const TagRecord* record = recordIndex == kNone ? nullptr : &m_records[recordIndex];
  const int x = record && record->paired ? m_records.PairedNumber(*record) : 0;

  Element element;
  if (t.ends_with(u"/>"sv)) {
    element = kPh;
    out.append(u"<ph"sv);
    if (x != 0) AppendInlineAttributes(out, u"", x);
  } else if (!closing) {
    element = WriteOpening(out, name, number, x, tag.end);
  } else if (const int i = m_lookups.GetBpt(number); i != kNone) {
    element = kEpt;
    AppendQuotedNumber(out, u"<ept i=\"", i);
  } else {
    element = kIt;
    out.append(u"<it pos=\"end\""sv);
    AppendInlineAttributes(out, name, x);
  }
  out.push_back(u'>');
  if (record) AppendEscapedNativeCode(out, m_records.Text(*record));
  out.append(kElementEnds[element]);
  ++m_insertedElements[element];
}

template <typename Lookups>
Element PairingRun<Lookups>::WriteOpening(std::u16string& out, std::u16string_view name, int number,
                                          int x, size_t tagEnd) {
  Element element = kIt;
  if (PartnerAhead(name, tagEnd)) {
    element = kBpt;
    m_lookups.SetBpt(number, ++m_bptCounter);
    AppendQuotedNumber(out, u"<bpt i=\"", m_bptCounter);
  } else {
    out.append(u"<it pos=\"begin\""sv);
  }
  AppendInlineAttributes(out, name, x);
  return element;
}

// Does "</name>" occur in the markup as it now stands (the tags written so far replaced by
// their elements)?
template <typename Lookups>
bool PairingRun<Lookups>::PartnerAhead(std::u16string_view name, size_t tagEnd) {
  int canonical = 0;
  if (name.find(u'<') != std::u16string_view::npos) {
    m_key.assign(u"</"sv).append(name).push_back(u'>');
    if (m_text.find(m_key, tagEnd + 1) != std::u16string_view::npos) return true;
  } else if (CanonicalNumber(name, canonical)) {
    if (m_lookups.AnyClosing(canonical)) return true;
  } else if (!m_otherClosingAhead.empty()) {
    m_key.assign(u"</"sv).append(name).push_back(u'>');
    const auto it = m_otherClosingAhead.find(m_key);
    if (it != m_otherClosingAhead.end() && it->second > 0) return true;
  }
  for (size_t e = 0; e < 4; ++e) {
    if (m_insertedElements[e] > 0 && name == kElementNames[e]) return true;
  }
  return false;
}

// The markup with its quotes and ampersands escaped (or as it is, when it has none).
std::u16string_view EscapedMarkup(const WideString& markup, std::u16string& copy) {
  // Quotes become entities before any element is inserted, so element texts keep theirs. Markup
  // without quotes or ampersands is read as it is.
  std::u16string_view text = markup.str();
  if (const size_t first = FindQuoteOrAmpersand(text); first != text.size()) {
    copy.assign(text.substr(0, first));
    AppendQuotesEscaped(copy, text.substr(first));
    text = copy;
  }
  return text;
}

// The content as one UTF-16 text.
template <typename Lookups>
std::u16string PairWhole(std::u16string_view text, const TagList& records, PairingTables& tables,
                         std::u16string& key, std::vector<Tag>& tags) {
  PairingRun<Lookups> run(text, records, tables, key, tags);
  std::u16string out;
  out.reserve(run.EstimatedUnits());
  WholeOutput output(out);
  run.Write(output);
  return out;
}

// Units of markup from which the room for the encoded content is reserved ahead; a shorter
// content grows its bytes as it goes (the caller mostly keeps them from segment to segment).
constexpr size_t kReservedFrom = tuning::kReserveEncodedFrom;

// The non-ASCII units of a text.
size_t CountNonAscii(std::u16string_view text) {
  size_t count = 0;
  for (const char16_t c : text) count += c >= 0x80 ? 1 : 0;
  return count;
}

// The content encoded, appended to out.
template <typename Lookups>
void PairEncodedInto(std::u16string_view text, const TagList& records, PairingTables& tables,
                     std::u16string& key, std::vector<Tag>& tags, std::u16string& slice,
                     std::string& scratch, bool utf16, std::string& out) {
  PairingRun<Lookups> run(text, records, tables, key, tags);
  if (const size_t units = run.EstimatedUnits(); units >= kReservedFrom) {
    // UTF-8 takes a byte for each ASCII unit, up to three for the others.
    const size_t bytes = utf16 ? 2 * units : units + 2 * CountNonAscii(text);
    out.reserve(out.size() + bytes);
  }
  EncodedOutput output(slice, scratch, out, utf16);
  run.Write(output);
  output.Finish();
}

// One pairing of a cleaned-up list: as PairingRun, with the placeholders read from the list
// (each a number and a form, so that what the markup's tags need worked out is known at once).
template <typename Lookups>
class ListPairingRun {
 public:
  ListPairingRun(const CleanedContent& content, const TagList& records, PairingTables& tables)
      : m_content(content), m_records(records), m_lookups(records, tables, TableLimit(records)) {
    content.ForEachPlaceholder([&](size_t, int number, uint32_t flags) {
      if (flags & kMarkupClosing) m_lookups.AddClosing(number);
    });
  }
  size_t EstimatedUnits() const {
    const size_t native = m_records.NativeSize();
    const size_t text = m_content.text.size();
    return text + text / 8 + native + native / 8 + 32 * m_content.Placeholders() + 64;
  }
  template <typename Output>
  void Write(Output& output) {
    size_t from = 0;
    m_content.ForEachPlaceholder([&](size_t at, int number, uint32_t flags) {
      WriteText(output, from, at);
      from = at;
      auto elements = output.Elements();
      WriteTag(elements, number, flags);
      output.TagWritten();
    });
    WriteText(output, from, m_content.text.size());
  }

 private:
  template <typename Output>
  void WriteText(Output& output, size_t from, size_t to) {
    if (to > from) output.ContentText(std::u16string_view(m_content.text).substr(from, to - from));
  }
  template <typename Elements>
  void WriteTag(Elements& out, int number, uint32_t flags);

  const CleanedContent& m_content;
  const TagList& m_records;
  Lookups m_lookups;
  int m_bptCounter = 0;
};

template <typename Lookups>
template <typename Elements>
void ListPairingRun<Lookups>::WriteTag(Elements& out, int number, uint32_t flags) {
  const bool closing = (flags & kMarkupClosing) != 0;
  if (closing) m_lookups.RemoveClosing(number);
  const int recordIndex = m_lookups.FindRecord(number, !closing);
  const TagRecord* record = recordIndex == kNone ? nullptr : &m_records[recordIndex];
  const std::u16string_view native = record ? m_records.Text(*record) : std::u16string_view();
  const int x = record && record->paired ? m_records.PairedNumber(*record) : 0;
  out.Start(native.size());
  Element element;
  if (flags & kMarkupStandalone) {
    element = kPh;
    out.Literal("<ph");
  } else if (!closing) {
    // A <bpt> when its closing partner is still ahead.
    element = m_lookups.AnyClosing(number) ? kBpt : kIt;
    if (element == kBpt) {
      m_lookups.SetBpt(number, ++m_bptCounter);
      out.Number("<bpt i=\"", m_bptCounter);
    } else {
      out.Literal("<it pos=\"begin\"");
    }
  } else if (const int i = m_lookups.GetBpt(number); i != kNone) {
    element = kEpt;
    out.Number("<ept i=\"", i);
  } else {
    element = kIt;
    out.Literal("<it pos=\"end\"");
  }
  if (x != 0 && element != kEpt) out.Number(" x=\"", x);
  out.Literal(">");
  if (record) out.Native(native);
  out.End(element);
  out.Finish();
}

template <typename Lookups>
std::u16string PairListWhole(const CleanedContent& content, const TagList& records,
                             PairingTables& tables) {
  ListPairingRun<Lookups> run(content, records, tables);
  std::u16string out;
  out.reserve(run.EstimatedUnits());
  WholeOutput output(out);
  run.Write(output);
  return out;
}

template <typename Lookups>
void PairListEncodedInto(const CleanedContent& content, const TagList& records,
                         PairingTables& tables, std::u16string& slice, std::string& scratch,
                         bool utf16, std::string& out) {
  ListPairingRun<Lookups> run(content, records, tables);
  if (const size_t units = run.EstimatedUnits(); units >= kReservedFrom) {
    // UTF-8 takes a byte for each ASCII unit, up to three for the others.
    const size_t bytes = utf16 ? 2 * units : units + 2 * CountNonAscii(content.text);
    out.reserve(out.size() + bytes);
  }
  if (!utf16) {
    Utf8Output output(out);
    run.Write(output);
    return;
  }
  EncodedOutput output(slice, scratch, out, utf16);
  run.Write(output);
  output.Finish();
}

}  // namespace

namespace {

// After a segment: buffers grown unusually large go back, and so do the tables of a long list.
template <typename Buffers>
void ReleaseAfter(Buffers& buffers, const TagList& records) {
  buffers.ReleaseLarge();
  if (records.size() >= kLongTagList) buffers.tables.ReleaseLarge();
}

}  // namespace

WideString TagPairing::Pair(const WideString& markup, const TagList& records) {
  Buffers& buffers = *m_buffers;
  const std::u16string_view text = EscapedMarkup(markup, buffers.copy);
  std::u16string out =
      RecordsInOrder(records)
          ? PairWhole<CompactLookups>(text, records, buffers.tables, buffers.key, buffers.tags)
          : PairWhole<TableLookups>(text, records, buffers.tables, buffers.key, buffers.tags);
  ReleaseAfter(buffers, records);
  return WideString(std::move(out));
}

void TagPairing::PairEncoded(const WideString& markup, const TagList& records, bool utf16,
                             std::string& out) {
  Buffers& buffers = *m_buffers;
  const std::u16string_view text = EscapedMarkup(markup, buffers.copy);
  if (RecordsInOrder(records)) {
    PairEncodedInto<CompactLookups>(text, records, buffers.tables, buffers.key, buffers.tags,
                                    buffers.slice, buffers.scratch, utf16, out);
  } else {
    PairEncodedInto<TableLookups>(text, records, buffers.tables, buffers.key, buffers.tags,
                                  buffers.slice, buffers.scratch, utf16, out);
  }
  ReleaseAfter(buffers, records);
}

WideString TagPairing::Pair(const CleanedContent& content, const TagList& records) {
  Buffers& buffers = *m_buffers;
  std::u16string out = RecordsInOrder(records)
                           ? PairListWhole<CompactLookups>(content, records, buffers.tables)
                           : PairListWhole<TableLookups>(content, records, buffers.tables);
  ReleaseAfter(buffers, records);
  return WideString(std::move(out));
}

void TagPairing::PairEncoded(const CleanedContent& content, const TagList& records, bool utf16,
                             std::string& out) {
  Buffers& buffers = *m_buffers;
  if (RecordsInOrder(records)) {
    PairListEncodedInto<CompactLookups>(content, records, buffers.tables, buffers.slice,
                                        buffers.scratch, utf16, out);
  } else {
    PairListEncodedInto<TableLookups>(content, records, buffers.tables, buffers.slice,
                                      buffers.scratch, utf16, out);
  }
  ReleaseAfter(buffers, records);
}
