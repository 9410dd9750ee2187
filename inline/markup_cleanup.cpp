// SPDX-License-Identifier: MIT
#include "inline/markup_cleanup.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "text/tuning.h"
#include "text/unit_set.h"
#include "text/wide_to_int.h"
#include "text/xml_escape.h"

using namespace std::string_view_literals;

namespace {

// A placeholder candidate of 255 characters or more is text.
constexpr size_t kMaxCandidateLength = 254;

bool IsTrimmed(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\u00A0';
}

uint32_t LetterFlag(char16_t c) {
  switch (c) {
    case u'b':
    case u'B':
      return kMarkupLetterB;
    case u'i':
    case u'I':
      return kMarkupLetterI;
    case u'u':
    case u'U':
      return kMarkupLetterU;
    default:
      return 0;
  }
}

// One item of the markup as the clean-up reads it: text runs stay escaped views until they are
// written.
struct Token {
  uint32_t flags;
  int number;
  std::u16string_view text;  // text run: escaped, as in the markup; placeholder: its markup
  bool rewritten = false;    // text run: holds a unit that unescaping or escaping changes
};

// The units that unescaping or escaping a text run changes ("<" and ">" among them).
constexpr UnitSet kRewritten(u"&\n<>\u00A0\u2028");

// Splits the markup into text runs and placeholders, handing each to emit in order. The search
// for "<" stops at every unit a text run's rewriting changes, so each run comes with that answer.
template <typename Emit>
int Tokenize(std::u16string_view markup, Emit&& emit) {
  constexpr UnitSet kGreater(u">");
  int placeholders = 0;
  size_t runStart = 0;
  bool runRewritten = false;
  size_t gt = 0;  // the first ">" after the current "<" (found again only when passed)
  size_t i = 0;
  while (i < markup.size()) {
    i = kRewritten.FindFirst(markup, i);
    if (i == markup.size()) break;
    if (markup[i] != u'<') {
      runRewritten = true;
      ++i;
      continue;
    }
    if (gt <= i) gt = kGreater.FindFirst(markup, i + 1);
    if (gt >= markup.size() || gt - i + 1 > kMaxCandidateLength) {
      runRewritten = true;
      ++i;  // the "<" is text; a later "<" inside the candidate may still start a placeholder
      continue;
    }
    const std::u16string_view candidate = markup.substr(i, gt - i + 1);
    const bool closing = candidate[1] == u'/';
    const bool standalone = !closing && candidate[candidate.size() - 2] == u'/';
    std::u16string_view name = candidate.substr(1, candidate.size() - 2);
    if (name.starts_with(u'/')) name.remove_prefix(1);
    if (name.ends_with(u'/')) name.remove_suffix(1);
    uint32_t kind = name.size() == 1 ? LetterFlag(name[0]) : 0;
    int number = 0;
    if (kind == 0) {
      number = WideToInt(name);
      if (number <= 0) {
        runRewritten = true;
        ++i;
        continue;
      }
      kind = kMarkupPlaceholder;
    }
    if (i > runStart) {
      emit(Token{kMarkupText, 0, markup.substr(runStart, i - runStart), runRewritten});
    }
    emit(Token{kind | (closing      ? kMarkupClosing
                       : standalone ? kMarkupStandalone
                                    : 0),
               number, candidate});
    ++placeholders;
    i = gt + 1;
    runStart = i;
    runRewritten = false;
  }
  if (runStart < markup.size()) {
    emit(Token{kMarkupText, 0, markup.substr(runStart), runRewritten});
  }
  return placeholders;
}

// An item as the clean-up keeps it, in the form of the scanner's placeholder list (so that the
// list of a long segment becomes the item list without a copy): the items tile the markup, so an
// item's text runs from its begin to the next item's begin. Two bits that no kind or form uses
// are the clean-up's own.
using Item = MarkupPlaceholder;
constexpr uint32_t kRewrittenBit = 1;  // text run: holds a unit that unescaping or escaping changes
constexpr uint32_t kRemovedBit = 2;    // placeholder: removed by the clean-up
constexpr uint32_t kOwnBits = kRewrittenBit | kRemovedBit;
static_assert(((kMarkupText | kMarkupPlaceholder | kMarkupLetterB | kMarkupLetterI |
                kMarkupLetterU | kMarkupClosing | kMarkupStandalone) &
               kOwnBits) == 0);
static_assert(sizeof(Item) == sizeof(size_t) + 8);  // no padding, on 64 and 32 bits

// The kind and form bits of an item.
uint32_t FlagsOf(const Item& item) {
  return item.flags & ~kOwnBits;
}

// Two items are partners when they have the same number and different flags (so text runs,
// number 0, are partners of the letter tags).
//
// Placeholders before the first text run: the first partner of each that comes after that run.
// Only the numbers of those placeholders are followed; for each the first item after the run is
// kept, and the first one after it with other flags, which answers for any flags.
class PartnersAfterFirstText {
 public:
  PartnersAfterFirstText(const std::vector<Item>& items, size_t firstText) {
    for (size_t i = 0; i < firstText; ++i) m_entries.push_back({items[i].number, 0, 0, 0});
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.number < b.number; });
    m_entries.erase(
        std::unique(m_entries.begin(), m_entries.end(),
                    [](const Entry& a, const Entry& b) { return a.number == b.number; }),
        m_entries.end());
    for (size_t j = firstText + 1; j < items.size(); ++j) {
      Entry* e = Lookup(items[j].number);
      if (!e) continue;
      if (e->first == 0) {
        e->first = j;
        e->flags = FlagsOf(items[j]);
      } else if (e->other == 0 && FlagsOf(items[j]) != e->flags) {
        e->other = j;
      }
    }
  }
  // Index of the partner, or 0 when there is none (index 0 is never after the first run).
  size_t Find(const Item& item) {
    const Entry* e = Lookup(item.number);
    if (!e || e->first == 0) return 0;
    return e->flags != FlagsOf(item) ? e->first : e->other;
  }

 private:
  struct Entry {
    int number;
    size_t first;
    uint32_t flags;
    size_t other;
  };
  Entry* Lookup(int number) {
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), number,
                                     [](const Entry& e, int n) { return e.number < n; });
    return it != m_entries.end() && it->number == number ? &*it : nullptr;
  }
  std::vector<Entry> m_entries;
};

// Whether a closing placeholder after the last text run has a partner among the items before it
// that are still in the list. Only the numbers of the closing placeholders after the last run
// are followed: for each, the kept items of that number are counted, in all and by flags, up to
// the item asked about (the questions come in list order).
class KeptItems {
 public:
  KeptItems(const std::vector<Item>& items, size_t lastText) : m_items(items) {
    for (size_t i = lastText; i < items.size(); ++i) {
      if (FlagsOf(items[i]) & kMarkupClosing) m_counts.try_emplace(items[i].number);
    }
  }
  bool HasPartnerBefore(size_t index) {
    for (; m_counted < index; ++m_counted) {
      if (m_items[m_counted].flags & kRemovedBit) continue;
      const auto it = m_counts.find(m_items[m_counted].number);
      if (it != m_counts.end()) it->second.Add(FlagsOf(m_items[m_counted]));
    }
    const auto it = m_counts.find(m_items[index].number);
    return it != m_counts.end() && it->second.all > it->second.With(FlagsOf(m_items[index]));
  }

 private:
  struct Counts {
    int all = 0;
    std::vector<std::pair<uint32_t, int>> byFlags;  // few kinds of flags per number
    void Add(uint32_t flags) {
      ++all;
      for (auto& entry : byFlags) {
        if (entry.first == flags) {
          ++entry.second;
          return;
        }
      }
      byFlags.emplace_back(flags, 1);
    }
    int With(uint32_t flags) const {
      for (const auto& entry : byFlags) {
        if (entry.first == flags) return entry.second;
      }
      return 0;
    }
  };
  const std::vector<Item>& m_items;
  size_t m_counted = 0;
  std::unordered_map<int, Counts> m_counts;
};

// Working lists longer than this are given back after use rather than kept for the next
// segment.
constexpr size_t kLargeList = tuning::kKeptListEntries;

constexpr UnitSet kEscaped(u"&<>\u00A0\u2028");
constexpr UnitSet kUnescaped(u"&\n");

}  // namespace

void AppendEscapedText(std::u16string& out, std::u16string_view text, EscapeDirection direction,
                       bool nbsp) {
  const size_t n = text.size();
  size_t i = 0;
  if (direction == EscapeDirection::kEscape) {
    while (i < n) {
      const size_t j = kEscaped.FindFirst(text, i);
      out.append(text.data() + i, j - i);
      if (j == n) break;
      const char16_t c = text[j];
      if (c == u'\u2028') {
        out.push_back(u'\n');
      } else if (c == u'\u00A0' && !nbsp) {
        out.push_back(c);
      } else {
        AppendTextEntity(out, c);
      }
      i = j + 1;
    }
    return;
  }
  // The entities cannot overlap (each begins with "&" and holds no other), so one walk gives
  // what replacing them one kind after the other gives.
  while (i < n) {
    const size_t j = kUnescaped.FindFirst(text, i);
    out.append(text.data() + i, j - i);
    if (j == n) break;
    i = j + 1;
    if (text[j] == u'\n') {
      out.push_back(u'\u2028');
      continue;
    }
    const std::u16string_view rest = text.substr(j);
    if (rest.starts_with(u"&lt;"sv)) {
      out.push_back(u'<');
      i = j + 4;
    } else if (rest.starts_with(u"&gt;"sv)) {
      out.push_back(u'>');
      i = j + 4;
    } else if (nbsp && rest.starts_with(u"&nbsp;"sv)) {
      out.push_back(u'\u00A0');
      i = j + 6;
    } else if (rest.starts_with(u"&amp;"sv)) {
      out.push_back(u'&');
      i = j + 5;
    } else {
      out.push_back(u'&');
    }
  }
}

WideString EscapeText(std::u16string_view text, EscapeDirection direction, bool nbsp) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 8);
  AppendEscapedText(out, text, direction, nbsp);
  return WideString(std::move(out));
}

int TokenizeMarkup(std::u16string_view markup, std::vector<MarkupItem>& items) {
  return Tokenize(markup, [&](const Token& token) {
    MarkupItem& item = items.emplace_back();
    item.flags = token.flags;
    item.number = token.number;
    if (token.flags == kMarkupText) {
      item.text = EscapeText(token.text, EscapeDirection::kUnescape, true);
    } else {
      item.text = token.text;
    }
  });
}

struct MarkupCleanup::Buffers {
  std::vector<Item> items;
  std::u16string run;
  std::u16string escaped;  // written over the markup: a text run escaped afresh
};

MarkupCleanup::MarkupCleanup() : m_buffers(std::make_unique<Buffers>()) {}
MarkupCleanup::~MarkupCleanup() = default;

WideString CleanUpMarkup(std::u16string_view markup) {
  MarkupCleanup cleanup;
  return cleanup.CleanUp(markup);
}

namespace {

// One clean-up of a segment's markup, item by item in list order. Written over the markup's own
// text (owner), the content goes where the items already read stood; should it ever need more
// room than they left, it goes on in a text of its own from there.
class CleanupRun {
 public:
  CleanupRun(std::u16string_view markup, std::vector<Item>& items, size_t firstText,
             size_t lastText, std::u16string& run, std::u16string& escaped, std::u16string* owner)
      : m_markup(markup),
        m_items(items),
        m_firstText(firstText),
        m_lastText(lastText),
        m_run(run),
        m_escaped(escaped),
        m_owner(owner),
        m_keptItems(items, lastText) {}
  std::u16string Write();

 private:
  std::u16string_view TextOf(size_t i) const {
    return m_markup.substr(m_items[i].begin, EndOf(i) - m_items[i].begin);
  }
  size_t EndOf(size_t i) const {
    return i + 1 < m_items.size() ? m_items[i + 1].begin : m_markup.size();
  }
  // Adds a piece of item i's content.
  void Put(std::u16string_view piece, size_t i) {
    if (m_owner)
      PutOver(piece, i);
    else
      m_out.append(piece);
  }
  void PutOver(std::u16string_view piece, size_t i);
  // What becomes of a placeholder: written, left in the list unwritten, or removed from it.
  enum class Fate { kWritten, kStays, kRemoved };
  void WriteText(size_t i);
  Fate StandaloneFate(size_t i) const {
    return m_textSeen && i < m_lastText ? Fate::kWritten : Fate::kRemoved;
  }
  Fate ClosingFate(size_t i);
  Fate OpeningFate(size_t i);

  std::u16string_view m_markup;
  std::vector<Item>& m_items;
  size_t m_firstText, m_lastText;
  std::u16string& m_run;      // a text run, unescaped
  std::u16string& m_escaped;  // written over: a text run escaped afresh
  std::u16string* m_owner;    // written over: the markup's own text, else null
  size_t m_written = 0;       // written over: the units of content at its start
  std::u16string m_out;
  KeptItems m_keptItems;
  std::optional<PartnersAfterFirstText> m_partnersAfter;
  bool m_textSeen = false;
};

std::u16string CleanupRun::Write() {
  if (!m_owner) m_out.reserve(m_markup.size());
  for (size_t i = 0; i < m_items.size(); ++i) {
    const uint32_t flags = FlagsOf(m_items[i]);
    if (flags == kMarkupText) {
      WriteText(i);
      continue;
    }
    const Fate fate = (flags & kMarkupStandalone) ? StandaloneFate(i)
                      : (flags & kMarkupClosing)  ? ClosingFate(i)
                                                  : OpeningFate(i);
    if (fate == Fate::kWritten)
      Put(TextOf(i), i);
    else if (fate == Fate::kRemoved)
      m_items[i].flags |= kRemovedBit;
  }
  if (!m_owner) return std::move(m_out);
  m_owner->resize(m_written);
  return std::move(*m_owner);
}

void CleanupRun::PutOver(std::u16string_view piece, size_t i) {
  // The markup from item i on is still to be read; the piece comes from item i or from a buffer.
  if (m_written + piece.size() <= EndOf(i)) {
    std::char_traits<char16_t>::move(m_owner->data() + m_written, piece.data(), piece.size());
    m_written += piece.size();
    return;
  }
  m_out.reserve(m_markup.size() + piece.size());
  m_out.assign(m_owner->data(), m_written);
  m_owner = nullptr;
  m_out.append(piece);
}

void CleanupRun::WriteText(size_t i) {
  std::u16string_view view = TextOf(i);
  // Most runs hold nothing that unescaping or escaping changes: they are copied as they are.
  const bool unchanged = (m_items[i].flags & kRewrittenBit) == 0;
  if (!unchanged && kUnescaped.FindFirst(view, 0) < view.size()) {
    m_run.clear();
    AppendEscapedText(m_run, view, EscapeDirection::kUnescape, true);
    view = m_run;
  }
  if (!m_textSeen) {
    m_textSeen = true;
    while (!view.empty() && IsTrimmed(view.front())) view.remove_prefix(1);
  }
  if (i >= m_lastText) {
    while (!view.empty() && IsTrimmed(view.back())) view.remove_suffix(1);
  }
  if (unchanged) {
    Put(view, i);
  } else if (!m_owner) {
    AppendEscapedText(m_out, view, EscapeDirection::kEscape, true);
  } else {
    m_escaped.clear();
    AppendEscapedText(m_escaped, view, EscapeDirection::kEscape, true);
    Put(m_escaped, i);
  }
}

CleanupRun::Fate CleanupRun::ClosingFate(size_t i) {
  if (!m_textSeen) return Fate::kStays;
  if (i < m_lastText || m_keptItems.HasPartnerBefore(i)) return Fate::kWritten;
  return Fate::kRemoved;
}

CleanupRun::Fate CleanupRun::OpeningFate(size_t i) {
  if (m_textSeen) return i < m_lastText ? Fate::kWritten : Fate::kStays;
  // Before the first text: kept when its partner follows a text run and text follows it.
  if (!m_partnersAfter) m_partnersAfter.emplace(m_items, m_firstText);
  const size_t partner = m_partnersAfter->Find(m_items[i]);
  return partner != 0 && partner < m_lastText ? Fate::kWritten : Fate::kRemoved;
}

constexpr size_t kNoText = std::u16string_view::npos;

// A text run of the markup from begin to end as an item.
Item RunItem(std::u16string_view markup, size_t begin, size_t end) {
  const bool rewritten = kRewritten.FindFirst(markup.substr(begin, end - begin), 0) < end - begin;
  return Item{begin, 0, kMarkupText | (rewritten ? kRewrittenBit : 0)};
}

// Puts the text runs between the listed placeholders, in the list itself: the runs are counted,
// the list is made that much longer, and each item is moved from the back to its place (never
// before its old place, so that no placeholder is written over before it is moved).
void InsertRuns(std::u16string_view markup, std::vector<Item>& items, size_t& firstText,
                size_t& lastText) {
  const size_t placeholders = items.size();
  size_t runs = 0, from = 0;
  for (const Item& p : items) {
    if (p.begin > from) ++runs;
    from = markup.find(u'>', p.begin) + 1;
  }
  if (from < markup.size()) ++runs;
  items.resize(placeholders + runs);
  size_t w = items.size();
  size_t end = markup.size();  // the end of the stretch after the placeholder moved next
  for (size_t k = placeholders; k-- > 0;) {
    const Item p = items[k];
    const size_t after = markup.find(u'>', p.begin) + 1;
    if (end > after) {
      items[--w] = RunItem(markup, after, end);
      if (lastText == kNoText) lastText = w;
      firstText = w;
    }
    items[--w] = p;
    end = p.begin;
  }
  if (end > 0) {
    items[--w] = RunItem(markup, 0, end);
    if (lastText == kNoText) lastText = w;
    firstText = w;
  }
}

}  // namespace

WideString MarkupCleanup::CleanUp(std::u16string_view markup) {
  Buffers& buffers = *m_buffers;
  std::vector<Item>& items = buffers.items;
  items.clear();
  size_t firstText = kNoText;
  size_t lastText = kNoText;
  Tokenize(markup, [&](const Token& token) {
    if (token.flags == kMarkupText) {
      if (firstText == kNoText) firstText = items.size();
      lastText = items.size();
    }
    items.push_back(Item{static_cast<size_t>(token.text.data() - markup.data()), token.number,
                         token.flags | (token.rewritten ? kRewrittenBit : 0)});
  });
  return CleanUpItems(markup, firstText, lastText, nullptr);
}

WideString MarkupCleanup::CleanUpOver(std::u16string& markup,
                                      std::vector<MarkupPlaceholder>& placeholders) {
  return CleanUpListed(markup, placeholders, &markup);
}

WideString MarkupCleanup::CleanUpListed(std::u16string_view markup,
                                        std::vector<MarkupPlaceholder>& placeholders,
                                        std::u16string* owner) {
  std::vector<Item>& items = m_buffers->items;
  size_t firstText = kNoText;
  size_t lastText = kNoText;
  if (placeholders.capacity() > kLargeList) {
    // A very long list becomes the item list itself (the scanner leaves room for the runs).
    items.clear();
    items.swap(placeholders);
    InsertRuns(markup, items, firstText, lastText);
    return CleanUpItems(markup, firstText, lastText, owner);
  }
  items.clear();
  items.reserve(2 * placeholders.size() + 1);  // a text run before each and one after the last
  // The text runs are the stretches between the placeholders.
  auto addRun = [&](size_t begin, size_t end) {
    if (end <= begin) return;
    if (firstText == kNoText) firstText = items.size();
    lastText = items.size();
    items.push_back(RunItem(markup, begin, end));
  };
  size_t from = 0;
  for (const MarkupPlaceholder& p : placeholders) {
    addRun(from, p.begin);
    items.push_back(p);
    from = markup.find(u'>', p.begin) + 1;
  }
  addRun(from, markup.size());
  return CleanUpItems(markup, firstText, lastText, owner);
}

WideString MarkupCleanup::CleanUpItems(std::u16string_view markup, size_t firstText,
                                       size_t lastText, std::u16string* owner) {
  Buffers& buffers = *m_buffers;
  std::vector<Item>& items = buffers.items;
  if (firstText == kNoText) return WideString();  // no text run

  std::u16string result =
      CleanupRun(markup, items, firstText, lastText, buffers.run, buffers.escaped, owner).Write();
  if (buffers.run.capacity() > tuning::kKeptTextUnits) std::u16string().swap(buffers.run);
  if (buffers.escaped.capacity() > tuning::kKeptTextUnits) std::u16string().swap(buffers.escaped);
  if (items.capacity() > kLargeList) std::vector<Item>().swap(items);
  return WideString(std::move(result));
}
