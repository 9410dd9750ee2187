// SPDX-License-Identifier: MIT
#include "inline/rtf_tables.h"

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

template <size_t N>
std::u16string_view Lookup(const Entry (&table)[N], std::u16string_view key) {
  for (const Entry& e : table) {
    if (e.first == key) return e.second;
  }
  return {};
}

}  // namespace

std::u16string_view ControlWordReplacement(std::u16string_view word) {
  // Every key is at least four characters long and begins with a backslash.
  if (word.size() < 4 || word.size() > 10) return {};
  return Lookup(kControlWords, word);
}

std::u16string_view SymbolTagReplacement(std::u16string_view name) {
  if (name.empty() || name.size() > 3) return {};
  return Lookup(kSymbolTags, name);
}
