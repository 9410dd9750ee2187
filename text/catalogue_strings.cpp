// SPDX-License-Identifier: MIT
// Display names of the catalogue's languages and code pages.
#include "text/string_table.h"

std::span<const StringEntry> CatalogueStrings() { return {}; }
