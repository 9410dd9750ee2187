// SPDX-License-Identifier: MIT
#include "text/string_table.h"

#include <algorithm>
#include <array>

namespace {

// Sorted by id.
constexpr StringEntry kStrings[] = {
    {910, "2004 Build 14"},
    {1022,
     "Finished exporting.\r\nNumber of segments written to TMX : %i\r\nYour translation memory is "
     "now secure."},
};

}  // namespace

const char* LoadStringUtf8(int id) {
  const auto end = std::end(kStrings);
  const auto it = std::lower_bound(std::begin(kStrings), end, id,
                                   [](const StringEntry& e, int key) { return e.id < key; });
  if (it != end && it->id == id) return it->text;
  for (const StringEntry& e : CatalogueStrings()) {
    if (e.id == id) return e.text;
  }
  return nullptr;
}

std::string LoadStringText(int id) {
  const char* text = LoadStringUtf8(id);
  return text ? std::string(text) : std::string();
}
