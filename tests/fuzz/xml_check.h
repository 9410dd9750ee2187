// SPDX-License-Identifier: MIT
// Checks of the fuzz targets' output with libxml2: a document that is not well-formed, or not
// valid against the TMX 1.4 DTD when the DTD is at hand, aborts the process like a crash.
#pragma once

#include <string_view>

namespace fuzz {

// Aborts unless document parses (no network, no entity substitution) and, when the DTD was
// found, validates against it. what names the check in the message on stderr.
void RequireValidTmx(std::string_view document, const char* what);

// True when the TMX 1.4 DTD was found (VELMAR_FUZZ_DTD in the environment, else the path
// compiled in).
bool HaveDtd();

}  // namespace fuzz
