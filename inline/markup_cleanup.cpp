// SPDX-License-Identifier: MIT
#include "inline/markup_cleanup.h"

#include <algorithm>
#include <unordered_map>

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

// Two items are partners when they have the same number and different flags (so text runs,
// number 0, are partners of the letter tags).
//
// Placeholders before the first text run: the first partner of each that comes after that run.
// Only the numbers of those placeholders are followed; for each the first item after the run is
// kept, and the first one after it with other flags, which answers for any flags.
class PartnersAfterFirstText {
 public:
  PartnersAfterFirstText(const std::vector<Token>& tokens, size_t firstText) {
    for (size_t i = 0; i < firstText; ++i) m_entries.push_back({tokens[i].number, 0, 0, 0});
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.number < b.number; });
    m_entries.erase(
        std::unique(m_entries.begin(), m_entries.end(),
                    [](const Entry& a, const Entry& b) { return a.number == b.number; }),
        m_entries.end());
    for (size_t j = firstText + 1; j < tokens.size(); ++j) {
      Entry* e = Lookup(tokens[j].number);
      if (!e) continue;
      if (e->first == 0) {
        e->first = j;
        e->flags = tokens[j].flags;
      } else if (e->other == 0 && tokens[j].flags != e->flags) {
        e->other = j;
      }
    }
  }
  // Index of the partner, or 0 when there is none (index 0 is never after the first run).
  size_t Find(const Token& token) {
    const Entry* e = Lookup(token.number);
    if (!e || e->first == 0) return 0;
    return e->flags != token.flags ? e->first : e->other;
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

// Whether a placeholder after the last text run has a partner among the items before it that
// are still in the list: items counted by number and by (number, flags), built at the first
// question from the items kept so far.
class KeptItems {
 public:
  explicit KeptItems(const std::vector<Token>& tokens) : m_tokens(tokens) {}
  bool HasPartnerBefore(size_t index, const std::vector<char>& kept) {
    if (!m_built) {
      m_built = true;
      for (m_counted = 0; m_counted < index; ++m_counted) {
        if (kept[m_counted]) Add(m_tokens[m_counted]);
      }
    }
    for (; m_counted < index; ++m_counted) {
      if (kept[m_counted]) Add(m_tokens[m_counted]);
    }
    const Token& token = m_tokens[index];
    const auto all = m_byNumber.find(token.number);
    if (all == m_byNumber.end()) return false;
    const auto same = m_byKey.find(Key(token));
    return all->second > (same == m_byKey.end() ? 0 : same->second);
  }

 private:
  static uint64_t Key(const Token& t) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(t.number)) << 32) | t.flags;
  }
  void Add(const Token& t) {
    ++m_byNumber[t.number];
    ++m_byKey[Key(t)];
  }
  const std::vector<Token>& m_tokens;
  bool m_built = false;
  size_t m_counted = 0;
  std::unordered_map<int, int> m_byNumber;
  std::unordered_map<uint64_t, int> m_byKey;
};

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
  std::vector<Token> tokens;
  std::vector<char> kept;
  std::u16string run;
};

MarkupCleanup::MarkupCleanup() : m_buffers(std::make_unique<Buffers>()) {}
MarkupCleanup::~MarkupCleanup() = default;

WideString CleanUpMarkup(std::u16string_view markup) {
  MarkupCleanup cleanup;
  return cleanup.CleanUp(markup);
}

WideString MarkupCleanup::CleanUp(std::u16string_view markup) {
  Buffers& buffers = *m_buffers;
  std::vector<Token>& tokens = buffers.tokens;
  tokens.clear();
  size_t firstText = std::u16string_view::npos;
  size_t lastText = std::u16string_view::npos;
  Tokenize(markup, [&](const Token& token) {
    if (token.flags == kMarkupText) {
      if (firstText == std::u16string_view::npos) firstText = tokens.size();
      lastText = tokens.size();
    }
    tokens.push_back(token);
  });
  if (firstText == std::u16string_view::npos) return WideString();  // no text run

  std::u16string result;
  result.reserve(markup.size());
  std::u16string& run = buffers.run;  // a text run, unescaped
  std::vector<char>& kept = buffers.kept;
  kept.assign(tokens.size(), 1);
  KeptItems keptItems(tokens);
  PartnersAfterFirstText* partnersAfter = nullptr;
  std::vector<PartnersAfterFirstText> partnersStorage;
  bool textSeen = false;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    const bool afterLastText = i >= lastText;
    if (token.flags == kMarkupText) {
      std::u16string_view view = token.text;
      // Most runs hold nothing that unescaping or escaping changes: they are copied as they are.
      const bool unchanged = !token.rewritten;
      if (!unchanged && kUnescaped.FindFirst(view, 0) < view.size()) {
        run.clear();
        AppendEscapedText(run, token.text, EscapeDirection::kUnescape, true);
        view = run;
      }
      if (!textSeen) {
        textSeen = true;
        while (!view.empty() && IsTrimmed(view.front())) view.remove_prefix(1);
      }
      if (afterLastText) {
        while (!view.empty() && IsTrimmed(view.back())) view.remove_suffix(1);
      }
      if (unchanged)
        result.append(view);
      else
        AppendEscapedText(result, view, EscapeDirection::kEscape, true);
    } else if (token.flags & kMarkupStandalone) {
      if (textSeen && !afterLastText)
        result.append(token.text);
      else
        kept[i] = 0;
    } else if (token.flags & kMarkupClosing) {
      if (!textSeen) {
        // stays in the list
      } else if (!afterLastText || keptItems.HasPartnerBefore(i, kept)) {
        result.append(token.text);
      } else {
        kept[i] = 0;
      }
    } else if (textSeen) {
      if (!afterLastText) result.append(token.text);
    } else {
      // Before the first text: kept when its partner follows a text run and text follows it.
      if (!partnersAfter) partnersAfter = &partnersStorage.emplace_back(tokens, firstText);
      const size_t partner = partnersAfter->Find(token);
      if (partner != 0 && partner < lastText)
        result.append(token.text);
      else
        kept[i] = 0;
    }
  }
  if (run.capacity() > (size_t{1} << 22)) std::u16string().swap(run);  // a very long segment
  return WideString(std::move(result));
}
