// SPDX-License-Identifier: MIT
#include "inline/rtf_tables.h"

#include <cstdint>
#include <utility>

#include "text/xml_entities.h"

namespace {

using Entry = std::pair<std::u16string_view, std::u16string_view>;

constexpr Entry kControlWords[] = {
    {u"\\tab", u"\u0009"},       {u"\\lquote", u"\u2018"},    {u"\\rquote", u"\u2019"},
    {u"\\ldblquote", u"\u201C"}, {u"\\rdblquote", u"\u201D"}, {u"\\bullet", u"\u2022"},
    {u"\\endash", u"\u2013"},    {u"\\emdash", u"\u2014"},    {u"\\line", u"\u000A"},
};

constexpr Entry kSymbolTags[] = {
    {u"ems", u" "},      {u"ens", u" "},      {u"flq", u"\u00AB"},      {u"frq", u"\u00BB"},
    {u"glq", u"\u201E"}, {u"grq", u"\u201C"}, {u"gt", xml_entity::kGt}, {u"hh", u"-"},
    {u"hs", u"\u00A0"},  {u"lq", u"\u2018"},  {u"ldq", u"\u201C"},      {u"lt", xml_entity::kLt},
    {u"r1", u"\u007F"},  {u"rq", u"\u2019"},  {u"rdq", u"\u201D"},      {u"sh", u"-"},
    {u"t", u"\u0009"},
};

// The lower-case letters that stand at position at of a table's keys, one bit each: most words
// and names looked up are none of the keys, and their letter there tells.
template <size_t N>
constexpr uint32_t LettersAt(const Entry (&table)[N], size_t at) {
  uint32_t letters = 0;
  for (const Entry& e : table) letters |= uint32_t{1} << (e.first[at] - u'a');
  return letters;
}

template <size_t N>
std::u16string_view Lookup(const Entry (&table)[N], std::u16string_view key, size_t at,
                           uint32_t letters) {
  const char16_t c = key[at];
  if (c < u'a' || c > u'z' || (letters >> (c - u'a') & 1) == 0) return {};
  for (const Entry& e : table) {
    if (e.first == key) return e.second;
  }
  return {};
}

constexpr uint32_t kControlWordLetters = LettersAt(kControlWords, 1);
constexpr uint32_t kSymbolTagLetters = LettersAt(kSymbolTags, 0);

}  // namespace

std::u16string_view ControlWordReplacement(std::u16string_view word) {
  // Every key is at least four characters long and begins with a backslash.
  if (word.size() < 4 || word.size() > 10) return {};
  return Lookup(kControlWords, word, 1, kControlWordLetters);
}

std::u16string_view SymbolTagReplacement(std::u16string_view name) {
  if (name.empty() || name.size() > 3) return {};
  return Lookup(kSymbolTags, name, 0, kSymbolTagLetters);
}
