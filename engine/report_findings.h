// SPDX-License-Identifier: MIT
// What the writing of a unit changes, noted in a report: characters that XML forbids (left out
// by the writer) and inline elements written as <it> for want of a partner.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/export_report.h"

// Notes each character of text that the writer leaves out.
void NoteForbiddenCharacters(ExportReport& report, std::u16string_view text, int64_t line);
// Notes each <it> element of a segment's inline content.
void NoteUnpairedElements(ExportReport& report, std::u16string_view content, int64_t line);
