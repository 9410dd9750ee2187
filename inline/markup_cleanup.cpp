// SPDX-License-Identifier: MIT
#include "inline/markup_cleanup.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

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
  // items[0, before) are the placeholders before the first text run, items from `after` on those
  // after it.
  PartnersAfterFirstText(const std::vector<Item>& items, size_t before, size_t after) {
    for (size_t i = 0; i < before; ++i) m_entries.push_back({items[i].number, 0, 0, 0});
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.number < b.number; });
    m_entries.erase(
        std::unique(m_entries.begin(), m_entries.end(),
                    [](const Entry& a, const Entry& b) { return a.number == b.number; }),
        m_entries.end());
    for (size_t j = after; j < items.size(); ++j) {
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
  // items from `after` on are those after the last text run.
  KeptItems(const std::vector<Item>& items, size_t after) : m_items(items) {
    for (size_t i = after; i < items.size(); ++i) {
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
  CleanedContent cleaned;
};

MarkupCleanup::MarkupCleanup() : m_buffers(std::make_unique<Buffers>()) {}
MarkupCleanup::~MarkupCleanup() = default;

WideString CleanUpMarkup(std::u16string_view markup) {
  MarkupCleanup cleanup;
  return cleanup.CleanUp(markup);
}

namespace {

// What becomes of a placeholder: written, left in the list unwritten, or removed from it.
enum class Fate { kWritten, kStays, kRemoved };

Fate StandaloneFate(bool textSeen, bool beforeLastText) {
  return textSeen && beforeLastText ? Fate::kWritten : Fate::kRemoved;
}

// A text run without the white space at the start of the first run and the end of the last.
std::u16string_view TrimmedRun(std::u16string_view run, bool first, bool last) {
  if (first) {
    while (!run.empty() && IsTrimmed(run.front())) run.remove_prefix(1);
  }
  if (last) {
    while (!run.empty() && IsTrimmed(run.back())) run.remove_suffix(1);
  }
  return run;
}

// One clean-up of a segment's markup, item by item in list order.
class CleanupRun {
 public:
  CleanupRun(std::u16string_view markup, std::vector<Item>& items, size_t firstText,
             size_t lastText, std::u16string& run)
      : m_markup(markup),
        m_items(items),
        m_firstText(firstText),
        m_lastText(lastText),
        m_run(run),
        m_keptItems(items, lastText) {}
  std::u16string Write();

 private:
  std::u16string_view TextOf(size_t i) const {
    const size_t end = i + 1 < m_items.size() ? m_items[i + 1].begin : m_markup.size();
    return m_markup.substr(m_items[i].begin, end - m_items[i].begin);
  }
  void WriteText(size_t i);
  Fate ClosingFate(size_t i);
  Fate OpeningFate(size_t i);

  std::u16string_view m_markup;
  std::vector<Item>& m_items;
  size_t m_firstText, m_lastText;
  std::u16string& m_run;  // a text run, unescaped
  std::u16string m_out;
  KeptItems m_keptItems;
  std::optional<PartnersAfterFirstText> m_partnersAfter;
  bool m_textSeen = false;
};

std::u16string CleanupRun::Write() {
  m_out.reserve(m_markup.size());
  for (size_t i = 0; i < m_items.size(); ++i) {
    const uint32_t flags = FlagsOf(m_items[i]);
    if (flags == kMarkupText) {
      WriteText(i);
      continue;
    }
    const Fate fate = (flags & kMarkupStandalone) ? StandaloneFate(m_textSeen, i < m_lastText)
                      : (flags & kMarkupClosing)  ? ClosingFate(i)
                                                  : OpeningFate(i);
    if (fate == Fate::kWritten)
      m_out.append(TextOf(i));
    else if (fate == Fate::kRemoved)
      m_items[i].flags |= kRemovedBit;
  }
  return std::move(m_out);
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
  view = TrimmedRun(view, !m_textSeen, i >= m_lastText);
  m_textSeen = true;
  if (unchanged) {
    m_out.append(view);
  } else {
    AppendEscapedText(m_out, view, EscapeDirection::kEscape, true);
  }
}

Fate CleanupRun::ClosingFate(size_t i) {
  if (!m_textSeen) return Fate::kStays;
  if (i < m_lastText || m_keptItems.HasPartnerBefore(i)) return Fate::kWritten;
  return Fate::kRemoved;
}

Fate CleanupRun::OpeningFate(size_t i) {
  if (m_textSeen) return i < m_lastText ? Fate::kWritten : Fate::kStays;
  // Before the first text: kept when its partner follows a text run and text follows it.
  if (!m_partnersAfter) m_partnersAfter.emplace(m_items, m_firstText, m_firstText + 1);
  const size_t partner = m_partnersAfter->Find(m_items[i]);
  return partner != 0 && partner < m_lastText ? Fate::kWritten : Fate::kRemoved;
}

// The same clean-up over the scanner's typed list: the items are its placeholders, and text run
// k is the text between placeholders k - 1 and k (before the first, after the last), so that
// placeholder t comes before run k exactly when t < k. The content is a list too: the text from
// the first text run to the last, the two trimmed at their outer ends (the runs between are kept
// whole), and the placeholders written, where they stand in it.
class ListCleanupRun {
 public:
  ListCleanupRun(InlineList& list, size_t firstText, size_t lastText, CleanedContent& out)
      : m_list(list),
        m_items(list.placeholders),
        m_firstText(firstText),
        m_lastText(lastText),
        m_out(out),
        m_keptItems(m_items, lastText) {}
  void Write();

 private:
  // Run k: the text between placeholders k - 1 and k.
  std::u16string_view Run(size_t k) const {
    const std::u16string_view text = m_list.text;
    const size_t begin = k == 0 ? 0 : m_items[k - 1].begin;
    const size_t end = k < m_items.size() ? m_items[k].begin : text.size();
    return text.substr(begin, end - begin);
  }
  // Where the content's text begins and ends in the list's text.
  std::pair<size_t, size_t> TextRange() const;
  Fate PlaceholderFate(size_t t);

  InlineList& m_list;
  std::vector<Item>& m_items;
  size_t m_firstText, m_lastText;  // runs
  CleanedContent& m_out;
  KeptItems m_keptItems;
  std::optional<PartnersAfterFirstText> m_partnersAfter;
};

std::pair<size_t, size_t> ListCleanupRun::TextRange() const {
  const std::u16string_view first = TrimmedRun(Run(m_firstText), true, m_firstText == m_lastText);
  const std::u16string_view last =
      m_firstText == m_lastText ? first : TrimmedRun(Run(m_lastText), false, true);
  const char16_t* const text = m_list.text.data();
  return {static_cast<size_t>(first.data() - text),
          static_cast<size_t>(last.data() + last.size() - text)};
}

void ListCleanupRun::Write() {
  const auto [from, to] = TextRange();
  m_out.Reserve(0, m_items.size());
  for (size_t t = 0; t < m_items.size(); ++t) {
    const Fate fate = PlaceholderFate(t);
    if (fate == Fate::kWritten) {
      const size_t at = std::clamp(m_items[t].begin, from, to) - from;
      m_out.AddPlaceholder(at, m_items[t].number, FlagsOf(m_items[t]));
    } else if (fate == Fate::kRemoved) {
      m_items[t].flags |= kRemovedBit;
    }
  }
  // The text is the list's own, without its ends: it moves into the content, not copied.
  std::u16string& text = m_list.text;
  text.resize(to);
  text.erase(0, from);
  m_out.text.swap(text);
}

Fate ListCleanupRun::PlaceholderFate(size_t t) {
  const uint32_t flags = FlagsOf(m_items[t]);
  const bool textSeen = t >= m_firstText;
  const bool beforeLastText = t < m_lastText;
  if (flags & kMarkupStandalone) return StandaloneFate(textSeen, beforeLastText);
  if (flags & kMarkupClosing) {
    if (!textSeen) return Fate::kStays;
    if (beforeLastText || m_keptItems.HasPartnerBefore(t)) return Fate::kWritten;
    return Fate::kRemoved;
  }
  if (textSeen) return beforeLastText ? Fate::kWritten : Fate::kStays;
  // Before the first text: kept when its partner follows a text run and text follows it.
  if (!m_partnersAfter) m_partnersAfter.emplace(m_items, m_firstText, m_firstText);
  const size_t partner = m_partnersAfter->Find(m_items[t]);
  return partner != 0 && partner < m_lastText ? Fate::kWritten : Fate::kRemoved;
}

constexpr size_t kNoText = std::u16string_view::npos;

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
  return CleanUpItems(markup, firstText, lastText);
}

WideString MarkupCleanup::CleanUp(InlineList& list) {
  CleanUp(list, m_buffers->cleaned);
  std::u16string markup = CleanedMarkupOf(m_buffers->cleaned);
  m_buffers->cleaned.Clear();
  return WideString(std::move(markup));
}

void MarkupCleanup::CleanUp(InlineList& list, CleanedContent& out) {
  out.Clear();
  // The first and the last text run that is not empty.
  size_t firstText = kNoText;
  size_t lastText = kNoText;
  size_t from = 0;
  for (size_t k = 0; k <= list.placeholders.size(); ++k) {
    const size_t end = k < list.placeholders.size() ? list.placeholders[k].begin : list.text.size();
    if (end > from) {
      if (firstText == kNoText) firstText = k;
      lastText = k;
    }
    from = end;
  }
  if (firstText == kNoText) return;  // no text run
  ListCleanupRun(list, firstText, lastText, out).Write();
}

WideString MarkupCleanup::CleanUpItems(std::u16string_view markup, size_t firstText,
                                       size_t lastText) {
  Buffers& buffers = *m_buffers;
  std::vector<Item>& items = buffers.items;
  if (firstText == kNoText) return WideString();  // no text run

  std::u16string result = CleanupRun(markup, items, firstText, lastText, buffers.run).Write();
  if (buffers.run.capacity() > tuning::kKeptTextUnits) std::u16string().swap(buffers.run);
  if (items.capacity() > kLargeList) std::vector<Item>().swap(items);
  return WideString(std::move(result));
}
