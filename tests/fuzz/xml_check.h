// SPDX-License-Identifier: MIT
// Checks of the fuzz targets' output with libxml2: a document that is not well-formed, or not
// valid against the TMX 1.4 DTD, aborts the process like a crash; so does a missing DTD.
#pragma once

#include <string_view>

namespace fuzz {

// Aborts unless document parses (no network, no entity substitution) and validates against the
// TMX 1.4 DTD (VELMAR_FUZZ_DTD in the environment, else the project's copy). what names the
// check in the message on stderr.
void RequireValidTmx(std::string_view document, const char* what);

}  // namespace fuzz
