// SPDX-License-Identifier: MIT
#include "ui/ui_strings.h"

#include <algorithm>
#include <iterator>

namespace {

// Sorted by id.
constexpr StringEntry kUiStrings[] = {
    {1, "Exit the application"},
    {101, "&About VELMAR\u00AE 2 TMX..."},
    {103, "Idle"},
    {104, "0%"},
    {1002, "Path to a VELMAR\u00AE Vovuzaduz text format file"},
    {1003, "Browse for a VELMAR\u00AE Vovuzaduz file"},
    {1004, "Path to a TMX file to create"},
    {1005, "Specify the TMX file to create"},
    {1006, "Export the VELMAR\u00AE Vovuzaduz file to TMX format"},
    {1008, "About VELMAR\u00AE 2 TMX..."},
    {1010, "Source language of the TMX file"},
    {1011, "Target language of the TMX file"},
    {1012, "Source encoding of the TMX file"},
    {1013, "Target encoding of the TMX file"},
    {1015, "Analyse the VELMAR\u00AE Vovuzaduz file for source and target languages"},
    {1016, "Are you sure you want to exit?"},
    {1017, "Please specify a VELMAR\u00AE Vovuzaduz text file"},
    {1018, "Please specify a TMX file to create"},
    {1019, "VELMAR\u00AE export files|*.txt|All files|*.*||"},
    {1020, "TMX files|*.tmx|All files|*.*||"},
    {1021, "Exporting..."},
    {1023,
     "No segments were exported to the TMX file. Please check the source and target languages. "
     "Use the \"Analyse\" button to retrieve the languages from the Velmar TXT file."},
    {57344, "VELMAR\u00AE 2 TMX"},
};

}  // namespace

std::string LoadUiText(int id) {
  const auto end = std::end(kUiStrings);
  const auto it = std::lower_bound(std::begin(kUiStrings), end, id,
                                   [](const StringEntry& e, int key) { return e.id < key; });
  if (it != end && it->id == id) return it->text;
  return LoadStringText(id);
}
