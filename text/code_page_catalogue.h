// SPDX-License-Identifier: MIT
// How the code page catalogue is assembled: the static table first, then the code pages that the
// system's multi-language service enumerates.
#pragma once

#include <span>
#include <vector>

#include "text/language_catalogue.h"

// Inserts record into list (sorted by code page) unless the list already holds its code page:
// the first record of a code page wins.
void InsertFirstOfCodePage(std::vector<CodePageRecord>& list, CodePageRecord record);

// Merges code pages enumerated by a multi-language service into list (sorted by code page): a code
// page already present takes the service's description as display name (and display string id 0);
// a new one is inserted in order. Code page 50000 is never taken.
void MergeCodePages(std::vector<CodePageRecord>& list, std::span<const CodePageRecord> enumerated);

// The code pages that the system's multi-language service enumerates. This platform has no such
// service: the list is empty and the catalogue is the static table.
std::vector<CodePageRecord> EnumerateSystemCodePages();

// MergeCodePages with the system's code pages.
void MergeSystemCodePages(std::vector<CodePageRecord>& list);
