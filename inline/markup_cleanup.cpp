// SPDX-License-Identifier: MIT
#include "inline/markup_cleanup.h"

#include <memory>
#include <unordered_map>

#include "inline/forward_search.h"
#include "text/wide_to_int.h"

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

void AppendTextRun(std::vector<MarkupItem>& items, std::u16string_view run) {
  MarkupItem& item = items.emplace_back();
  item.flags = kMarkupText;
  item.text = EscapeText(run, EscapeDirection::kUnescape, true);
}

// Two items are partners when they have the same number and different flags (so text runs,
// number 0, are partners of the letter tags). The items still in the list before a placeholder,
// counted by number and by (number, flags), tell whether it has a partner among them.
class KeptItems {
 public:
  void Add(const MarkupItem& item) {
    ++m_byNumber[item.number];
    ++m_byKey[Key(item)];
  }
  bool HasPartnerOf(const MarkupItem& item) const {
    const auto all = m_byNumber.find(item.number);
    if (all == m_byNumber.end()) return false;
    const auto same = m_byKey.find(Key(item));
    return all->second > (same == m_byKey.end() ? 0 : same->second);
  }

 private:
  static uint64_t Key(const MarkupItem& item) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(item.number)) << 32) | item.flags;
  }
  std::unordered_map<int, int> m_byNumber;
  std::unordered_map<uint64_t, int> m_byKey;
};

// For placeholders before the first text run: the first partner that comes after that run.
// For each number it keeps the first item after the run and the first one after it with other
// flags, which answers the question for any flags.
class PartnersAfter {
 public:
  PartnersAfter(const std::vector<MarkupItem>& items, size_t firstText) {
    for (size_t j = firstText + 1; j < items.size(); ++j) {
      auto [it, added] = m_first.try_emplace(items[j].number, Entry{j, items[j].flags, 0});
      if (!added && it->second.other == 0 && items[j].flags != it->second.flags) {
        it->second.other = j;
      }
    }
  }
  // Index of the partner, or 0 when there is none (index 0 is never after the first run).
  size_t Find(const MarkupItem& item) const {
    const auto it = m_first.find(item.number);
    if (it == m_first.end()) return 0;
    return it->second.flags != item.flags ? it->second.first : it->second.other;
  }

 private:
  struct Entry {
    size_t first;
    uint32_t flags;
    size_t other;
  };
  std::unordered_map<int, Entry> m_first;
};

}  // namespace

WideString EscapeText(std::u16string_view text, EscapeDirection direction, bool nbsp) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 8);
  if (direction == EscapeDirection::kEscape) {
    for (char16_t c : text) {
      switch (c) {
        case u'&':
          out.append(u"&amp;");
          break;
        case u'<':
          out.append(u"&lt;");
          break;
        case u'>':
          out.append(u"&gt;");
          break;
        case u'\u00A0':
          if (nbsp)
            out.append(u"&nbsp;");
          else
            out.push_back(c);
          break;
        case u'\u2028':
          out.push_back(u'\n');
          break;
        default:
          out.push_back(c);
      }
    }
    return WideString(std::move(out));
  }
  // The entities cannot overlap (each begins with "&" and holds no other), so one walk gives
  // what replacing them one kind after the other gives.
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'&') {
      const std::u16string_view rest = text.substr(i);
      if (rest.starts_with(u"&lt;")) {
        out.push_back(u'<');
        i += 3;
        continue;
      }
      if (rest.starts_with(u"&gt;")) {
        out.push_back(u'>');
        i += 3;
        continue;
      }
      if (nbsp && rest.starts_with(u"&nbsp;")) {
        out.push_back(u'\u00A0');
        i += 5;
        continue;
      }
      if (rest.starts_with(u"&amp;")) {
        out.push_back(u'&');
        i += 4;
        continue;
      }
    }
    out.push_back(c == u'\n' ? u'\u2028' : c);
  }
  return WideString(std::move(out));
}

int TokenizeMarkup(std::u16string_view markup, std::vector<MarkupItem>& items) {
  int placeholders = 0;
  size_t runStart = 0;
  ForwardSearch nextGreater;
  size_t i = 0;
  while (i < markup.size()) {
    if (markup[i] != u'<') {
      ++i;
      continue;
    }
    const size_t gt =
        nextGreater.Next(i + 1, markup.size(), [&](size_t k) { return markup[k] == u'>'; });
    if (gt >= markup.size() || gt - i + 1 > kMaxCandidateLength) {
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
        ++i;
        continue;
      }
      kind = kMarkupPlaceholder;
    }
    if (i > runStart) AppendTextRun(items, markup.substr(runStart, i - runStart));
    MarkupItem& item = items.emplace_back();
    item.flags = kind | (closing ? kMarkupClosing : standalone ? kMarkupStandalone : 0);
    item.number = number;
    item.text = candidate;
    ++placeholders;
    i = gt + 1;
    runStart = i;
  }
  if (runStart < markup.size()) AppendTextRun(items, markup.substr(runStart));
  return placeholders;
}

WideString CleanUpMarkup(std::u16string_view markup) {
  std::vector<MarkupItem> items;
  TokenizeMarkup(markup, items);
  size_t firstText = items.size();
  size_t lastText = items.size();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].flags == kMarkupText) {
      if (firstText == items.size()) firstText = i;
      lastText = i;
    }
  }
  std::u16string result;
  result.reserve(markup.size());
  if (firstText == items.size()) return WideString();  // no text run

  KeptItems kept;
  std::unique_ptr<PartnersAfter> partnersAfter;
  bool textSeen = false;
  for (size_t i = 0; i < items.size(); ++i) {
    MarkupItem& item = items[i];
    const bool afterLastText = i >= lastText;
    bool keep = true;
    if (item.flags == kMarkupText) {
      std::u16string_view run = item.text;
      if (!textSeen) {
        textSeen = true;
        while (!run.empty() && IsTrimmed(run.front())) run.remove_prefix(1);
      }
      if (afterLastText) {
        while (!run.empty() && IsTrimmed(run.back())) run.remove_suffix(1);
      }
      result += EscapeText(run, EscapeDirection::kEscape, true).str();
    } else if (item.flags & kMarkupStandalone) {
      if (textSeen && !afterLastText)
        result += item.text.str();
      else
        keep = false;
    } else if (item.flags & kMarkupClosing) {
      if (!textSeen) {
        // stays in the list
      } else if (!afterLastText || kept.HasPartnerOf(item)) {
        result += item.text.str();
      } else {
        keep = false;
      }
    } else if (textSeen) {
      if (!afterLastText) result += item.text.str();
    } else {
      // Before the first text: kept when its partner follows a text run and text follows it.
      if (!partnersAfter) partnersAfter = std::make_unique<PartnersAfter>(items, firstText);
      const size_t partner = partnersAfter->Find(item);
      if (partner != 0 && partner < lastText)
        result += item.text.str();
      else
        keep = false;
    }
    if (keep) kept.Add(item);
  }
  return WideString(std::move(result));
}
