// SPDX-License-Identifier: MIT
// How the code page catalogue is assembled from the static table.
#pragma once

#include <vector>

#include "text/language_catalogue.h"

// Inserts record into list (sorted by code page) unless the list already holds its code page:
// the first record of a code page wins.
void InsertFirstOfCodePage(std::vector<CodePageRecord>& list, CodePageRecord record);
