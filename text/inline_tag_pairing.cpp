// SPDX-License-Identifier: MIT
#include "text/inline_tag_pairing.h"

#include <vector>

#include "engine/tmx_exporter.h"
#include "text/wide_to_int.h"
#include "text/xml_escape.h"

namespace {

uint64_t RecordKey(int number, bool opening) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(number)) << 1) | (opening ? 1u : 0u);
}

void AppendNumber(std::u16string& out, int number) {
  for (char c : std::to_string(number)) out.push_back(static_cast<char16_t>(c));
}

// Which closing placeholders "</name>" still stand in the unprocessed rest of the markup, and
// which the inserted elements hold. A text "</name>" begins at a "<" and, since a name holds no
// ">", ends at the first ">" after it; so its occurrences are found by counting, once, the text
// from every "<" that is followed by "/" to the next ">". Texts with a "<" after their first
// character are not counted (clean markup has none); they are searched for directly.
class ClosingTexts {
 public:
  explicit ClosingTexts(std::u16string_view text) : m_text(text) {
    std::vector<size_t> nextGreater(text.size() + 1, text.size());
    for (size_t i = text.size(); i-- > 0;) {
      nextGreater[i] = text[i] == u'>' ? i : nextGreater[i + 1];
    }
    size_t lastLess = text.size();
    for (size_t i = text.size(); i-- > 0;) {
      if (text[i] == u'>') lastLess = text.size();
      if (text[i] != u'<') continue;
      const size_t gt = nextGreater[i];
      // Only the last "<" before a ">" starts a text without an inner "<".
      if (gt < text.size() && lastLess == text.size() && i + 1 < text.size() &&
          text[i + 1] == u'/') {
        m_starts.push_back(i);
        ++m_count[text.substr(i, gt - i + 1)];
      }
      lastLess = i;
    }
    // m_starts is in descending order; consume from the back.
  }

  // Forgets the occurrences that begin at or before pos.
  void PassTo(size_t pos) {
    while (!m_starts.empty() && m_starts.back() <= pos) {
      const size_t i = m_starts.back();
      m_starts.pop_back();
      --m_count[m_text.substr(i, m_text.find(u'>', i) - i + 1)];
    }
  }

  // True when "</name>" occurs after pos or in an inserted element.
  bool Occurs(std::u16string_view name, size_t pos) {
    m_key.assign(u"</");
    m_key.append(name);
    m_key.push_back(u'>');
    if (name.find(u'<') != std::u16string_view::npos) {
      if (m_text.find(m_key, pos + 1) != std::u16string_view::npos) return true;
    } else {
      const auto it = m_count.find(m_key);
      if (it != m_count.end() && it->second > 0) return true;
    }
    const auto inserted = m_inserted.find(std::u16string(name));
    return inserted != m_inserted.end() && inserted->second > 0;
  }

  // An element was inserted; its closing tag "</element>" now stands in the copy.
  void Inserted(std::u16string_view element) { ++m_inserted[std::u16string(element)]; }

 private:
  std::u16string_view m_text;
  std::vector<size_t> m_starts;
  std::unordered_map<std::u16string_view, int> m_count;
  std::unordered_map<std::u16string, int> m_inserted;
  std::u16string m_key;
};

}  // namespace

TagRecordIndex::TagRecordIndex(const TagList& records) : m_records(records) {
  m_first.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    m_first.try_emplace(RecordKey(records[i].number, records[i].opening != 0), i);
  }
}

const TagRecord* TagRecordIndex::FindTagRecord(int number, bool opening) const {
  const auto it = m_first.find(RecordKey(number, opening));
  return it == m_first.end() ? nullptr : &m_records[it->second];
}

std::u16string InlineAttributes(std::u16string_view name, int x) {
  if (name.size() == 1) {
    switch (LowerChar(name[0])) {
      case u'b':
        return u" type=\"bold\"";
      case u'i':
        return u" type=\"italic\"";
      case u'u':
        return u" type=\"ulined\"";
      default:
        break;
    }
  }
  if (x == 0) return {};
  std::u16string out = u" x=\"";
  AppendNumber(out, x);
  out.push_back(u'"');
  return out;
}

WideString PairInlineTags(const WideString& markup, const TagList& records) {
  WideString copy = markup;
  EscapeQuotes(copy);
  const std::u16string_view text = copy;
  const TagRecordIndex index(records);
  ClosingTexts closings(text);
  std::unordered_map<int, int> pairIndex;
  int bptCounter = 0;

  std::u16string out;
  out.reserve(text.size() * 2);
  size_t from = 0;
  while (from < text.size()) {
    const size_t w = text.find(u'<', from);
    if (w == std::u16string_view::npos) break;
    const size_t c = text.find(u'>', w);
    if (c == std::u16string_view::npos) break;  // a "<" without ">" stays text
    out.append(text.substr(from, w - from));
    closings.PassTo(c);

    const std::u16string_view tag = text.substr(w, c - w + 1);
    std::u16string_view name = tag.substr(1, tag.size() - 2);
    if (name.starts_with(u'/')) name.remove_prefix(1);
    if (name.ends_with(u'/')) name.remove_suffix(1);
    const int number = WideToInt(name);
    const bool closing = tag.starts_with(u"</");
    const TagRecord* record = index.FindTagRecord(number, !closing);
    const int x = record && record->paired ? record->pairedNumber : 0;
    const std::u16string native = EscapeNativeCode(record ? record->text : std::u16string());

    const char16_t* element;
    if (tag.ends_with(u"/>")) {
      element = u"ph";
      out.append(u"<ph");
      if (x != 0) out.append(InlineAttributes(u"", x));
    } else if (closing) {
      const auto pair = pairIndex.find(number);
      if (pair != pairIndex.end()) {
        element = u"ept";
        out.append(u"<ept i=\"");
        AppendNumber(out, pair->second);
        out.push_back(u'"');
      } else {
        element = u"it";
        out.append(u"<it pos=\"end\"");
        out.append(InlineAttributes(name, x));
      }
    } else if (closings.Occurs(name, c)) {
      element = u"bpt";
      pairIndex[number] = ++bptCounter;
      out.append(u"<bpt i=\"");
      AppendNumber(out, bptCounter);
      out.push_back(u'"');
      out.append(InlineAttributes(name, x));
    } else {
      element = u"it";
      out.append(u"<it pos=\"begin\"");
      out.append(InlineAttributes(name, x));
    }
    out.push_back(u'>');
    out.append(native);
    out.append(u"</");
    out.append(element);
    out.push_back(u'>');
    closings.Inserted(element);
    from = c + 1;
  }
  out.append(text.substr(std::min(from, text.size())));
  return WideString(std::move(out));
}

WideString CTmxExporter::PairInlineTags(const WideString& markup, bool source) {
  return ::PairInlineTags(markup, source ? m_inline.sourceTags : m_inline.targetTags);
}
