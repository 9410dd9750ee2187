// SPDX-License-Identifier: MIT
#include "inline/inline_tag_pairing.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "text/unit_set.h"
#include "text/wide_to_int.h"
#include "text/xml_escape.h"

using namespace std::string_view_literals;

namespace {

constexpr int kNone = INT_MIN;

// Values by int key: small non-negative keys in a table, the others in a map. The tables of
// one thread are kept from call to call, so a segment costs no allocation for them.
class IntTable {
 public:
  IntTable(std::vector<int>& storage, size_t limit) : m_direct(storage) {
    m_direct.assign(limit, kNone);
  }
  int Get(int key) const {
    if (key >= 0 && static_cast<size_t>(key) < m_direct.size()) return m_direct[key];
    const auto it = m_other.find(key);
    return it == m_other.end() ? kNone : it->second;
  }
  int& Slot(int key) {
    if (key >= 0 && static_cast<size_t>(key) < m_direct.size()) return m_direct[key];
    return m_other.try_emplace(key, kNone).first->second;
  }

 private:
  std::vector<int>& m_direct;
  std::unordered_map<int, int> m_other;
};

// Appends head, the number and a closing quotation mark, such as "<bpt i=\"3\"", in one append.
// The head is a literal, so its copy has a fixed length.
template <size_t N>
void AppendQuotedNumber(std::u16string& out, const char16_t (&head)[N], int number) {
  constexpr size_t kHeadLength = N - 1;  // without the terminating NUL
  static_assert(kHeadLength <= 16);
  char16_t buffer[32];
  char16_t* const end = buffer + sizeof(buffer) / sizeof(buffer[0]);
  char16_t* first = end;
  *--first = u'"';
  first = WriteDecimalBefore(first, number);
  first -= kHeadLength;
  for (size_t k = 0; k < kHeadLength; ++k) first[k] = head[k];
  out.append(first, static_cast<size_t>(end - first));
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

// One "<...>" of the markup, and the closing text "</name>" that stands in it, if any: the text
// from its last "<" when that is followed by "/". (A text "</name>" ends at the first ">" after
// its "<", so its occurrences are exactly these.)
struct Tag {
  size_t begin;
  size_t end;                       // the ">"
  int closingNumber = kNone;        // a closing text with a canonical number
  std::u16string_view closingText;  // any other closing text
};

const std::u16string_view kElementNames[] = {u"bpt", u"ept", u"it", u"ph"};
const std::u16string_view kElementEnds[] = {u"</bpt>", u"</ept>", u"</it>", u"</ph>"};

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
  std::vector<Tag> tags;
  std::vector<int> tables[4];
};

TagPairing::TagPairing() : m_buffers(std::make_unique<Buffers>()) {}
TagPairing::~TagPairing() = default;

WideString PairInlineTags(const WideString& markup, const TagList& records) {
  TagPairing pairing;
  return pairing.Pair(markup, records);
}

WideString TagPairing::Pair(const WideString& markup, const TagList& records) {
  Buffers& buffers = *m_buffers;
  // Quotes become entities before any element is inserted, so element texts keep theirs. Markup
  // without quotes or ampersands is read as it is.
  std::u16string_view text = markup.str();
  if (const size_t first = FindQuoteOrAmpersand(text); first != text.size()) {
    std::u16string& copy = buffers.copy;
    copy.assign(text.substr(0, first));
    AppendQuotesEscaped(copy, text.substr(first));
    text = copy;
  }

  // One pass over the angle brackets: a tag runs from the first "<" after the previous tag to the
  // next ">" (a "<" without ">" stays text), and the last "<" before that ">" starts its
  // closing text, if any.
  constexpr UnitSet kAngles(u"<>");
  constexpr size_t kNoTag = std::u16string_view::npos;
  std::vector<Tag>& tags = buffers.tags;
  tags.clear();
  size_t tagBegin = kNoTag, lastLess = kNoTag;
  kAngles.ForEach(text, [&](size_t i) {
    if (text[i] == u'<') {
      if (tagBegin == kNoTag) tagBegin = i;
      lastLess = i;
      return;
    }
    if (tagBegin == kNoTag) return;  // a ">" outside any tag is text
    Tag& tag = tags.emplace_back(Tag{tagBegin, i, kNone, {}});
    if (text[lastLess + 1] == u'/') {
      const std::u16string_view closing = text.substr(lastLess, i - lastLess + 1);
      if (!CanonicalNumber(closing.substr(2, closing.size() - 3), tag.closingNumber)) {
        tag.closingText = closing;
      }
    }
    tagBegin = kNoTag;
  });

  // Placeholder numbers run from 1 up; the tables cover the records' numbers (larger numbers,
  // which no record has, go to the maps).
  int maxNumber = 0;
  size_t nativeSize = 0;  // the records' native code, which the elements hold escaped
  for (const TagRecord& r : records) {
    maxNumber = std::max(maxNumber, r.number);
    nativeSize += r.text.size();
  }
  const size_t limit =
      std::min(static_cast<size_t>(maxNumber) + 1, 2 * (tags.size() + records.size()) + 64);
  // Records: the first of each (number, opening flag), in list order.
  IntTable firstOpening(buffers.tables[0], limit), firstClosing(buffers.tables[1], limit);
  for (size_t i = 0; i < records.size(); ++i) {
    int& slot = (records[i].opening ? firstOpening : firstClosing).Slot(records[i].number);
    if (slot == kNone) slot = static_cast<int>(i);
  }
  // Closing texts still ahead in the markup.
  IntTable closingAhead(buffers.tables[2], limit);
  std::unordered_map<std::u16string_view, int> otherClosingAhead;
  for (const Tag& tag : tags) {
    if (tag.closingNumber != kNone) {
      int& count = closingAhead.Slot(tag.closingNumber);
      count = count == kNone ? 1 : count + 1;
    } else if (!tag.closingText.empty()) {
      ++otherClosingAhead[tag.closingText];
    }
  }
  int insertedElements[4] = {0, 0, 0, 0};
  IntTable pairIndex(buffers.tables[3], limit);
  int bptCounter = 0;
  std::u16string key;

  std::u16string out;
  out.reserve(text.size() + nativeSize + nativeSize / 8 + 32 * tags.size() + 64);
  size_t from = 0;
  for (const Tag& tag : tags) {
    out.append(text.substr(from, tag.begin - from));
    from = tag.end + 1;
    // The tag is replaced: its closing text no longer stands in the markup.
    if (tag.closingNumber != kNone)
      --closingAhead.Slot(tag.closingNumber);
    else if (!tag.closingText.empty())
      --otherClosingAhead[tag.closingText];

    const std::u16string_view t = text.substr(tag.begin, tag.end - tag.begin + 1);
    std::u16string_view name = t.substr(1, t.size() - 2);
    if (name.starts_with(u'/')) name.remove_prefix(1);
    if (name.ends_with(u'/')) name.remove_suffix(1);
    const int number = WideToInt(name);
    const bool closing = t.starts_with(u"</"sv);
    const int recordIndex = (closing ? firstClosing : firstOpening).Get(number);
    const TagRecord* record = recordIndex == kNone ? nullptr : &records[recordIndex];
    const int x = record && record->paired ? record->pairedNumber : 0;

    size_t element;  // index into kElementNames
    if (t.ends_with(u"/>"sv)) {
      element = 3;
      out.append(u"<ph"sv);
      if (x != 0) AppendInlineAttributes(out, u"", x);
    } else if (closing) {
      const int i = pairIndex.Get(number);
      if (i != kNone) {
        element = 1;
        AppendQuotedNumber(out, u"<ept i=\"", i);
      } else {
        element = 2;
        out.append(u"<it pos=\"end\""sv);
        AppendInlineAttributes(out, name, x);
      }
    } else {
      // Does "</name>" occur in the markup as it now stands?
      bool partnerAhead = false;
      int canonical = 0;
      if (name.find(u'<') != std::u16string_view::npos) {
        key.assign(u"</"sv).append(name).push_back(u'>');
        partnerAhead = text.find(key, tag.end + 1) != std::u16string_view::npos;
      } else if (CanonicalNumber(name, canonical)) {
        const int count = closingAhead.Get(canonical);
        partnerAhead = count != kNone && count > 0;
      } else if (!otherClosingAhead.empty()) {
        key.assign(u"</"sv).append(name).push_back(u'>');
        const auto it = otherClosingAhead.find(key);
        partnerAhead = it != otherClosingAhead.end() && it->second > 0;
      }
      for (size_t e = 0; e < 4 && !partnerAhead; ++e) {
        partnerAhead = insertedElements[e] > 0 && name == kElementNames[e];
      }
      if (partnerAhead) {
        element = 0;
        pairIndex.Slot(number) = ++bptCounter;
        AppendQuotedNumber(out, u"<bpt i=\"", bptCounter);
      } else {
        element = 2;
        out.append(u"<it pos=\"begin\""sv);
      }
      AppendInlineAttributes(out, name, x);
    }
    out.push_back(u'>');
    if (record) AppendEscapedNativeCode(out, record->text);
    out.append(kElementEnds[element]);
    ++insertedElements[element];
  }
  out.append(text.substr(std::min(from, text.size())));
  if (buffers.copy.capacity() > (size_t{1} << 22)) {
    std::u16string().swap(buffers.copy);  // a very long segment
  }
  return WideString(std::move(out));
}
